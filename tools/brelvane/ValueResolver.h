#pragma once
// Turns a user's VALUE for a parameter into the exact way to hand it to the plug-in, or into a
// one-line error. Real values go through the plug-in's text parser, which keeps the double the
// user typed; whole-number values are exact as normalized floats.
#include <string>

#include "tools/brelvane/CommandLine.h"
#include "tools/brelvane/ParamTable.h"
#include "tools/brelvane/PluginPort.h"

namespace brel::cmd {

struct ParamSetting {
  enum class Route { Normalized, Text };
  int index = 0;
  Route route = Route::Normalized;
  float normalized = 0.0f;  // Route::Normalized
  std::string text;         // Route::Text: parsed by the plug-in itself
  std::string shown;        // how the setting reads in messages: "Mode = 1 (A)"
};

// A whole-number or display-text VALUE: a display text shared by several values selects the
// highest of them; a number must be whole and within the range. A real VALUE must be within
// the range; it may carry the parameter's unit ("-3 dB").
bool ResolveValue(const ParamInfo& param, const std::string& value, ParamSetting& out, std::string& error);

bool ResolveAssignment(const ParamTable& table, const ParamAssignment& assignment, ParamSetting& out,
                       std::string& error);

// Hands one resolved setting to the plug-in; false with an error when the plug-in rejects it.
bool ApplySetting(ParamPort& port, const ParamSetting& setting, std::string& error);

// The shortest decimal text that reads back as exactly `v`.
std::string ExactDecimal(double v);

}  // namespace brel::cmd
