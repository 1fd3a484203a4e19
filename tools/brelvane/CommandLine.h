#pragma once
// What the user asked the brelvane command to do, parsed from its arguments without touching
// any file or the plug-in; every check that needs the files or the plug-in comes later.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "tools/brelvane/SampleFormat.h"

namespace brel::cmd {

enum class Command { Help, Version, Render, Params, Snapshot };

// The plug-in interface the command hosts: the VST2 module, the VST3 bundle, the CLAP module or
// the LV2 bundle.
enum class PluginApi { Vst2, Vst3, Clap, Lv2 };

// NAME=VALUE exactly as typed; NAME is resolved against the plug-in's parameters later.
struct ParamAssignment {
  std::string name;
  std::string value;
};

// --at FRAME:NAME=VALUE: the assignment takes effect before the sample at `frame`.
struct TimedAssignment {
  std::uint64_t frame = 0;
  ParamAssignment assignment;
};

// --meters PRES,FINAL: the two needles' linear levels for a snapshot.
struct MeterLevels {
  double pres = 0.0;
  double final = 0.0;
};

struct CommandLine {
  Command command = Command::Help;
  std::optional<Command> helpTopic;  // help: the command asked about (`help render`, `render --help`)
  std::string input;
  std::string output;
  std::vector<ParamAssignment> params;   // in command-line order; a later one wins
  std::vector<TimedAssignment> changes;  // in command-line order
  std::string loadState;
  std::string saveState;
  int blockSize = 512;
  std::optional<SampleFormat> format;
  std::string plugin;
  std::optional<PluginApi> api;       // --api; without it the --plugin path decides
  double prerollSeconds = 1.0;        // silence run through the plug-in, and discarded, before the input
  bool align = false;                 // shift the output earlier by the processed path's delay
  std::optional<MeterLevels> meters;  // snapshot: levels shown at once; otherwise the needles rest
  double scale = 1.0;                 // snapshot: the editor's scale factor
};

constexpr int kMaxBlockSize = 65536;
constexpr double kMaxPrerollSeconds = 600.0;
// Audio outside these rates is not a vocal recording but a damaged or mistaken header.
constexpr int kMinSampleRate = 8000;
constexpr int kMaxSampleRate = 768000;
// The editor's scale factors.
constexpr double kMinEditorScale = 1.0;
constexpr double kMaxEditorScale = 3.0;
// --meters levels beyond this are no reading of the meter at all.
constexpr double kMaxMeterLevel = 1000.0;

// NAME=VALUE, split at the first '='; false when either side is missing. Every command that
// takes --param reads it so.
bool SplitAssignment(const std::string& text, ParamAssignment& out);

// Parses the arguments after the program name. On failure returns false and sets `error`
// to one line naming the offending argument.
bool ParseCommandLine(const std::vector<std::string>& args, CommandLine& out, std::string& error);

}  // namespace brel::cmd
