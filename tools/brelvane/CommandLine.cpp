#include "tools/brelvane/CommandLine.h"

#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <utility>

#include "tools/brelvane/ParamTable.h"

namespace brel::cmd {
namespace {

constexpr char kRenderSynopsis[] = "brelvane render IN OUT [options]";

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

struct Option;
// Takes the option's value into the command line; false with a one-line error when it is no value
// of the option.
using OptionHandler = bool (*)(const Option& option, const std::string& value, CommandLine& out,
                               std::string& error);

// One option, written once for the parser and for `help`.
struct Option {
  const char* name;
  const char* argument;  // as `help` shows it; nullptr for a flag, which takes no value
  const char* help;      // one or more lines
  bool ofParams;         // `params` takes it too; every option is one of `render`
  OptionHandler take;
};

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
  if (value != "vst2" && value != "vst3")
    return Refuse(error, option, " must be vst2 or vst3, got '" + value + "'");
  out.api = value == "vst3" ? PluginApi::Vst3 : PluginApi::Vst2;
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

constexpr Option kOptions[] = {
    {"--param", "NAME=VALUE",
     "set a parameter before rendering (NAME or index;\nVALUE a number in range or a display text)", false,
     TakeParam},
    {"--at", "FRAME:NAME=VALUE", "change a parameter before sample frame FRAME", false, TakeChange},
    {"--load-state", "FILE", "restore a saved program state before rendering", false,
     TakeFileName<&CommandLine::loadState>},
    {"--save-state", "FILE", "save the program state after rendering", false,
     TakeFileName<&CommandLine::saveState>},
    {"--block", "N", "frames per processing call (default 512)", false, TakeBlock},
    {"--preroll", "SECONDS",
     "run the plug-in on this much silence first and\ndiscard it, as a host that was already playing\n"
     "(default 1; 0 starts the plug-in cold)",
     false, TakePreroll},
    {"--align", nullptr,
     "shift the output earlier by the processed\nsignal's delay, so it lines up with the input", false,
     TakeAlign},
    {"--format", "float|double|pcm16|pcm24", "output sample format (default: the input's)", false,
     TakeFormat},
    {"--plugin", "PATH", "the plug-in to use: a VST2 module, or a VST3\nbundle (a folder NAME.vst3)", true,
     TakeFileName<&CommandLine::plugin>},
    {"--api", "vst2|vst3",
     "the plug-in interface; without --plugin, the\nbuild tree's module of that kind (default vst2)", true,
     TakeApi},
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
  if (out.command != Command::Render && !option->ofParams)
    return Refuse(error, arg.name + " is not an option of '" + args[0] + "'");
  if (!option->argument) {
    if (arg.inlineValue) return Refuse(error, arg.name + " takes no value");
    return option->take(*option, "", out, error);
  }
  if (arg.inlineValue) return option->take(*option, arg.value, out, error);
  if (i + 1 >= args.size()) return Refuse(error, arg.name + " needs a value");
  return option->take(*option, args[++i], out, error);
}

bool TakeFiles(const std::vector<std::string>& positional, CommandLine& out, std::string& error) {
  const std::size_t wanted = out.command == Command::Render ? 2 : 0;
  if (positional.size() < wanted)
    return Refuse(error, std::string("render needs an input and an output file: ") + kRenderSynopsis);
  if (positional.size() > wanted) return Refuse(error, "unexpected argument '" + positional[wanted] + "'");
  if (out.command != Command::Render) return true;
  out.input = positional[0];
  out.output = positional[1];
  if (!out.saveState.empty() && out.saveState == out.output)
    return Refuse(error, "--save-state would overwrite the audio output '" + out.output + "'");
  return true;
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

// Appends "  SYNOPSIS   first line of help" and the help's further lines, each starting at
// `column`; a synopsis too wide to leave a space before it has a line of its own.
void AddUsageEntry(std::string& text, const std::string& synopsis, const std::string& help,
                   std::size_t column) {
  std::string lead = "  " + synopsis;
  if (lead.size() + 1 > column) {
    text += lead + "\n";
    lead.clear();
  }
  lead.resize(column, ' ');
  for (std::string::size_type start = 0;;) {
    const std::string::size_type end = help.find('\n', start);
    text += lead + help.substr(start, end - start) + "\n";
    if (end == std::string::npos) return;
    start = end + 1;
    lead.assign(column, ' ');
  }
}

std::string OptionSynopsis(const Option& option) {
  return option.argument ? std::string(option.name) + " " + option.argument : option.name;
}

}  // namespace

bool SplitAssignment(const std::string& text, ParamAssignment& out) {
  std::string::size_type eq = text.find('=');
  if (eq == std::string::npos || eq == 0 || eq + 1 == text.size()) return false;
  out.name = text.substr(0, eq);
  out.value = text.substr(eq + 1);
  return true;
}

bool ParseCommandLine(const std::vector<std::string>& args, CommandLine& out, std::string& error) {
  out = CommandLine{};
  if (args.empty()) {
    error = "no command given; try 'brelvane help'";
    return false;
  }
  const std::string& name = args[0];
  if (name == "help" || name == "--help" || name == "-h") {
    out.command = Command::Help;
    return true;
  }
  if (name == "render") {
    out.command = Command::Render;
  } else if (name == "params") {
    out.command = Command::Params;
  } else {
    error = "unknown command '" + name + "'; try 'brelvane help'";
    return false;
  }
  return ParseRest(args, out, error);
}

std::string UsageText() {
  constexpr std::size_t kCommandColumn = 37, kOptionColumn = 29;
  std::string params = "brelvane params";
  for (const Option& option : kOptions)
    if (option.ofParams) params += " [" + OptionSynopsis(option) + "]";
  std::string text = "usage:\n";
  AddUsageEntry(text, kRenderSynopsis, "process an audio file through the plug-in", kCommandColumn);
  AddUsageEntry(text, params, "list the plug-in's parameters", kCommandColumn);
  AddUsageEntry(text, "brelvane help", "show this text", kCommandColumn);
  text += "\nrender options:\n";
  for (const Option& option : kOptions)
    AddUsageEntry(text, OptionSynopsis(option), option.help, kOptionColumn);
  return text +
         "\n"
         "Audio files: WAV, AIFF or FLAC, mono or stereo, any sample rate; the output\n"
         "container follows OUT's extension (.wav, .aif/.aiff, .flac).\n";
}

}  // namespace brel::cmd
