#include "tools/brelvane/CommandLine.h"

#include "tools/brelvane/CommandTable.h"

#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <iterator>
#include <utility>

#include "tools/brelvane/ParamTable.h"

namespace brel::cmd {
namespace {

bool IsAllDigits(const std::string& s) {
  if (s.empty()) return false;
  for (char c : s)
    if (c < '0' || c > '9') return false;
  return true;
}

bool ParseUnsigned(const std::string& s, std::uint64_t& out) {
  if (!IsAllDigits(s)) return false;
  errno = 0;
  char* end = nullptr;
  unsigned long long v = std::strtoull(s.c_str(), &end, 10);
  if (errno == ERANGE || *end != '\0') return false;
  out = v;
  return true;
}

bool Refuse(std::string& error, std::string message) {
  error = std::move(message);
  return false;
}

// The option's name starts the message.
bool Refuse(std::string& error, const Option& option, const std::string& complaint) {
  return Refuse(error, option.name + complaint);
}

bool TakeParam(const Option& option, const std::string& value, CommandLine& out, std::string& error) {
  ParamAssignment a;
  if (!SplitAssignment(value, a)) return Refuse(error, option, " needs NAME=VALUE, got '" + value + "'");
  out.params.push_back(a);
  return true;
}

bool TakeChange(const Option& option, const std::string& value, CommandLine& out, std::string& error) {
  const std::string::size_type colon = value.find(':');
  TimedAssignment t;
  if (colon == std::string::npos || !ParseUnsigned(value.substr(0, colon), t.frame) ||
      !SplitAssignment(value.substr(colon + 1), t.assignment))
    return Refuse(error, option,
                  " needs FRAME:NAME=VALUE with FRAME a sample frame number, got '" + value + "'");
  out.changes.push_back(t);
  return true;
}

bool TakeBlock(const Option& option, const std::string& value, CommandLine& out, std::string& error) {
  std::uint64_t n = 0;
  if (!ParseUnsigned(value, n) || n < 1 || n > kMaxBlockSize)
    return Refuse(error, option,
                  " needs a whole number of frames from 1 to " + std::to_string(kMaxBlockSize) + ", got '" +
                      value + "'");
  out.blockSize = static_cast<int>(n);
  return true;
}

bool TakePreroll(const Option& option, const std::string& value, CommandLine& out, std::string& error) {
  double seconds = 0.0;
  if (!ParseNumber(value, seconds) || seconds < 0.0 || seconds > kMaxPrerollSeconds)
    return Refuse(error, option,
                  " needs a number of seconds from 0 to " + std::to_string(int(kMaxPrerollSeconds)) +
                      ", got '" + value + "'");
  out.prerollSeconds = seconds;
  return true;
}

bool TakeFormat(const Option& option, const std::string& value, CommandLine& out, std::string& error) {
  out.format = SampleFormatFromName(value);
  if (!out.format)
    return Refuse(error, option, " must be float, double, pcm16 or pcm24, got '" + value + "'");
  return true;
}

bool TakeApi(const Option& option, const std::string& value, CommandLine& out, std::string& error) {
  if (value == "vst2") {
    out.api = PluginApi::Vst2;
  } else if (value == "vst3") {
    out.api = PluginApi::Vst3;
  } else if (value == "clap") {
    out.api = PluginApi::Clap;
  } else if (value == "lv2") {
    out.api = PluginApi::Lv2;
  } else {
    return Refuse(error, option, " must be vst2, vst3, clap or lv2, got '" + value + "'");
  }
  return true;
}

template <std::string CommandLine::*kFile>
bool TakeFileName(const Option& option, const std::string& value, CommandLine& out, std::string& error) {
  if (value.empty()) return Refuse(error, option, " needs a file name");
  out.*kFile = value;
  return true;
}

bool TakeAlign(const Option&, const std::string&, CommandLine& out, std::string&) {
  out.align = true;
  return true;
}

bool ParseLevel(const std::string& text, double& level) {
  return ParseNumber(text, level) && level >= 0.0 && level <= kMaxMeterLevel;
}

bool TakeMeters(const Option& option, const std::string& value, CommandLine& out, std::string& error) {
  const std::string::size_type comma = value.find(',');
  MeterLevels levels;
  if (comma == std::string::npos || !ParseLevel(value.substr(0, comma), levels.pres) ||
      !ParseLevel(value.substr(comma + 1), levels.final))
    return Refuse(error, option,
                  " needs two linear levels PRES,FINAL from 0 to " + std::to_string(int(kMaxMeterLevel)) +
                      " (1.0 is the clip point), got '" + value + "'");
  out.meters = levels;
  return true;
}

bool TakeScale(const Option& option, const std::string& value, CommandLine& out, std::string& error) {
  double scale = 0.0;
  if (!ParseNumber(value, scale) || !(scale >= kMinEditorScale && scale <= kMaxEditorScale))
    return Refuse(error, option, " needs a factor from 1 to 3, got '" + value + "'");
  out.scale = scale;
  return true;
}

constexpr CommandSet kRender = Of(Command::Render), kParams = Of(Command::Params),
                     kSnapshot = Of(Command::Snapshot);

constexpr Option kOptions[] = {
    {"--param", "NAME=VALUE",
     "set a parameter first (NAME or index; VALUE a\nnumber in range or a display text)", kRender | kSnapshot,
     TakeParam},
    {"--at", "FRAME:NAME=VALUE", "change a parameter before sample frame FRAME", kRender, TakeChange},
    {"--load-state", "FILE", "restore a saved program state before rendering", kRender,
     TakeFileName<&CommandLine::loadState>},
    {"--save-state", "FILE", "save the program state after rendering", kRender,
     TakeFileName<&CommandLine::saveState>},
    {"--block", "N", "frames per processing call (default 512)", kRender, TakeBlock},
    {"--preroll", "SECONDS",
     "run the plug-in on this much silence first and\ndiscard it, as a host that was already playing\n"
     "(default 1; 0 starts the plug-in cold)",
     kRender, TakePreroll},
    {"--align", nullptr,
     "shift the output earlier by the processed\nsignal's delay, so it lines up with the input", kRender,
     TakeAlign},
    {"--format", "float|double|pcm16|pcm24", "output sample format (default: the input's)", kRender,
     TakeFormat},
    {"--plugin", "PATH",
     "the plug-in to use: a VST2 module, a VST3 bundle\n(a folder NAME.vst3), a CLAP module (NAME.clap)\nor "
     "an LV2 bundle (a folder NAME.lv2)",
     kRender | kParams, TakeFileName<&CommandLine::plugin>},
    {"--api", "vst2|vst3|clap|lv2",
     "the plug-in interface; without --plugin, the\ninstalled or built module of that kind\n(default vst2)",
     kRender | kParams, TakeApi},
    {"--meters", "PRES,FINAL",
     "show the two meters at these linear levels\n(1.0 lights the clip LED, 1.99526 is the end stop)",
     kSnapshot, TakeMeters},
    {"--scale", "F",
     "draw the editor at this factor of its size, as a\nscreen at F x 100% shows it (1 to 3, default 1)",
     kSnapshot, TakeScale},
};

constexpr CommandInfo kCommands[] = {
    {Command::Render, "render", "IN OUT", "process an audio file through the plug-in",
     "Renders the audio file IN through the plug-in into OUT, after running the plug-in on a second of "
     "silence as a host that was already playing would, and prints what it did: duration, sample rate, "
     "peak and integrated loudness of input and output, the processed signal's delay and the speed."},
    {Command::Params, "params", "", "list the plug-in's parameters",
     "Lists the plug-in's parameters as a host sees them: index, name, range, default, unit and display "
     "texts."},
    {Command::Snapshot, "snapshot", "OUT.png", "draw the plug-in's editor into a PNG picture",
     "Builds the plug-in and its editor in-process, applies the values, lets the status lamps settle "
     "and writes the editor's picture (904 by 416 pixels, or that times --scale) as a PNG file."},
    {Command::Help, "help", "[COMMAND]", "show this text, or a command's own",
     "Shows every command and its options; with a COMMAND, that command's own help, which "
     "'brelvane COMMAND --help' shows too."},
    {Command::Version, "--version", "", "show the version and what it was built with",
     "Shows the release, its maker and the plug-in interfaces the command hosts."},
};

const Option* FindOption(const std::string& name) {
  for (const Option& option : kOptions)
    if (name == option.name) return &option;
  return nullptr;
}

// "--NAME=VALUE" carries its value; any other option argument is a name alone.
struct OptionArgument {
  std::string name;
  std::string value;
  bool inlineValue = false;
};

OptionArgument SplitOptionArgument(const std::string& arg) {
  const std::string::size_type eq = arg.find('=');
  if (arg.compare(0, 2, "--") != 0 || eq == std::string::npos) return {arg, "", false};
  return {arg.substr(0, eq), arg.substr(eq + 1), true};
}

// The option at args[i], with its value from the next argument unless it carries one; i moves
// past what was taken.
bool TakeOption(const std::vector<std::string>& args, std::size_t& i, CommandLine& out, std::string& error) {
  const OptionArgument arg = SplitOptionArgument(args[i]);
  const Option* option = FindOption(arg.name);
  if (!option) return Refuse(error, "unknown option '" + arg.name + "'");
  if (!(option->commands & Of(out.command)))
    return Refuse(error, arg.name + " is not an option of '" + args[0] + "'");
  if (!option->argument) {
    if (arg.inlineValue) return Refuse(error, arg.name + " takes no value");
    return option->take(*option, "", out, error);
  }
  if (arg.inlineValue) return option->take(*option, arg.value, out, error);
  if (i + 1 >= args.size()) return Refuse(error, arg.name + " needs a value");
  return option->take(*option, args[++i], out, error);
}

bool TakeRenderFiles(const std::vector<std::string>& positional, CommandLine& out, std::string& error) {
  if (positional.size() < 2)
    return Refuse(error, "render needs an input and an output file: " + Synopsis(InfoOf(Command::Render)));
  if (positional.size() > 2) return Refuse(error, "unexpected argument '" + positional[2] + "'");
  out.input = positional[0];
  out.output = positional[1];
  if (!out.saveState.empty() && out.saveState == out.output)
    return Refuse(error, "--save-state would overwrite the audio output '" + out.output + "'");
  return true;
}

bool TakeSnapshotFile(const std::vector<std::string>& positional, CommandLine& out, std::string& error) {
  if (positional.empty())
    return Refuse(error, "snapshot needs an output file: " + Synopsis(InfoOf(Command::Snapshot)));
  if (positional.size() > 1)
    return Refuse(error, "snapshot takes one output file, got a second one: '" + positional[1] + "'");
  out.output = positional[0];
  return true;
}

bool TakeFiles(const std::vector<std::string>& positional, CommandLine& out, std::string& error) {
  switch (out.command) {
    case Command::Render: return TakeRenderFiles(positional, out, error);
    case Command::Snapshot: return TakeSnapshotFile(positional, out, error);
    default:
      if (!positional.empty()) return Refuse(error, "unexpected argument '" + positional[0] + "'");
      return true;
  }
}

bool IsHelpRequest(const std::string& arg) { return arg == "--help" || arg == "-h"; }

// A command's own help, asked as `COMMAND --help` anywhere before "--": the rest is not looked at.
bool AsksForHelp(const std::vector<std::string>& args) {
  for (std::size_t i = 1; i < args.size() && args[i] != "--"; ++i)
    if (IsHelpRequest(args[i])) return true;
  return false;
}

bool ParseRest(const std::vector<std::string>& args, CommandLine& out, std::string& error) {
  std::vector<std::string> positional;
  bool optionsEnded = false;
  for (std::size_t i = 1; i < args.size(); ++i) {
    const std::string& arg = args[i];
    if (optionsEnded || arg.size() < 2 || arg[0] != '-')
      positional.push_back(arg);
    else if (arg == "--")
      optionsEnded = true;
    else if (!TakeOption(args, i, out, error))
      return false;
  }
  return TakeFiles(positional, out, error);
}

// `help`, `help COMMAND`, `--help`.
bool ParseHelp(const std::vector<std::string>& args, CommandLine& out, std::string& error) {
  out.command = Command::Help;
  if (args.size() < 2) return true;
  if (AsksForHelp(args)) {
    out.helpTopic = Command::Help;
    return true;
  }
  const CommandInfo* topic = FindCommand(args[1]);
  if (!topic && args[1].rfind("-", 0) == 0) return Refuse(error, "unknown option '" + args[1] + "'");
  if (!topic) return Refuse(error, "no command '" + args[1] + "' to help with; try 'brelvane help'");
  if (args.size() > 2) return Refuse(error, "unexpected argument '" + args[2] + "'");
  out.helpTopic = topic->command;
  return true;
}

}  // namespace

const Option* OptionsBegin() { return std::begin(kOptions); }
const Option* OptionsEnd() { return std::end(kOptions); }
const CommandInfo* CommandsBegin() { return std::begin(kCommands); }
const CommandInfo* CommandsEnd() { return std::end(kCommands); }

const CommandInfo* FindCommand(const std::string& name) {
  for (const CommandInfo& info : kCommands)
    if (name == info.name) return &info;
  return nullptr;
}

const CommandInfo& InfoOf(Command command) {
  for (const CommandInfo& info : kCommands)
    if (info.command == command) return info;
  return kCommands[0];
}

std::string Synopsis(const CommandInfo& info) {
  std::string text = std::string("brelvane ") + info.name;
  if (info.operands[0]) text += std::string(" ") + info.operands;
  return TakesOptions(info.command) ? text + " [options]" : text;
}

bool TakesOptions(Command command) {
  for (const Option& option : kOptions)
    if (option.commands & Of(command)) return true;
  return false;
}

bool SplitAssignment(const std::string& text, ParamAssignment& out) {
  std::string::size_type eq = text.find('=');
  if (eq == std::string::npos || eq == 0 || eq + 1 == text.size()) return false;
  out.name = text.substr(0, eq);
  out.value = text.substr(eq + 1);
  return true;
}

bool ParseCommandLine(const std::vector<std::string>& args, CommandLine& out, std::string& error) {
  out = CommandLine{};
  if (args.empty()) return Refuse(error, "no command given; try 'brelvane help'");
  const std::string& name = args[0];
  if (name == "help" || IsHelpRequest(name)) return ParseHelp(args, out, error);
  const CommandInfo* command = FindCommand(name);
  if (!command) return Refuse(error, "unknown command '" + name + "'; try 'brelvane help'");
  if (AsksForHelp(args)) {
    out.command = Command::Help;
    out.helpTopic = command->command;
    return true;
  }
  out.command = command->command;
  return ParseRest(args, out, error);
}

}  // namespace brel::cmd
