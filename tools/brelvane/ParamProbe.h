#pragma once
// Reconstructs the parameter table a host can see: the plug-in only exchanges normalized values
// and display strings, so ranges, defaults and display texts are read off the strings it shows
// for chosen normalized values.
#include <vector>

#include "tools/brelvane/ParamTable.h"
#include "tools/brelvane/PluginPort.h"

namespace brel::cmd {

// Whole-number parameters with more values than this are not searched for display texts.
constexpr long kMaxProbedValues = 1024;

// Reads the current normalized value of every parameter: right after creation, the defaults.
std::vector<float> ReadNormalizedValues(ParamPort& port);

// `defaults` holds normalized defaults from readNormalizedValues; without them the current
// values stand in for the defaults.
ParamTable ProbeParams(ParamPort& port, const std::vector<float>* defaults = nullptr);

}  // namespace brel::cmd
