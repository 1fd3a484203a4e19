#include "tools/brelvane/CommandLine.h"

#include <cerrno>
#include <cmath>
#include <cstdlib>

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

bool TakesValue(const std::string& option) {
  return option == "--param" || option == "--at" || option == "--load-state" || option == "--save-state" ||
         option == "--block" || option == "--format" || option == "--plugin" || option == "--api" ||
         option == "--preroll";
}

bool IsFlag(const std::string& option) { return option == "--align"; }

bool ApplyOption(const std::string& option, const std::string& value, CommandLine& out, std::string& error) {
  if (option == "--param") {
    ParamAssignment a;
    if (!SplitAssignment(value, a)) {
      error = "--param needs NAME=VALUE, got '" + value + "'";
      return false;
    }
    out.params.push_back(a);
  } else if (option == "--at") {
    std::string::size_type colon = value.find(':');
    TimedAssignment t;
    if (colon == std::string::npos || !ParseUnsigned(value.substr(0, colon), t.frame) ||
        !SplitAssignment(value.substr(colon + 1), t.assignment)) {
      error = "--at needs FRAME:NAME=VALUE with FRAME a sample frame number, got '" + value + "'";
      return false;
    }
    out.changes.push_back(t);
  } else if (option == "--block") {
    std::uint64_t n = 0;
    if (!ParseUnsigned(value, n) || n < 1 || n > kMaxBlockSize) {
      error = "--block needs a whole number of frames from 1 to " + std::to_string(kMaxBlockSize) +
              ", got '" + value + "'";
      return false;
    }
    out.blockSize = static_cast<int>(n);
  } else if (option == "--preroll") {
    double seconds = 0.0;
    if (!ParseNumber(value, seconds) || seconds < 0.0 || seconds > kMaxPrerollSeconds) {
      error = "--preroll needs a number of seconds from 0 to " + std::to_string(int(kMaxPrerollSeconds)) +
              ", got '" + value + "'";
      return false;
    }
    out.prerollSeconds = seconds;
  } else if (option == "--format") {
    out.format = SampleFormatFromName(value);
    if (!out.format) {
      error = "--format must be float, double, pcm16 or pcm24, got '" + value + "'";
      return false;
    }
  } else if (option == "--api") {
    if (value != "vst2" && value != "vst3") {
      error = "--api must be vst2 or vst3, got '" + value + "'";
      return false;
    }
    out.api = value == "vst3" ? PluginApi::Vst3 : PluginApi::Vst2;
  } else if (value.empty()) {
    error = option + " needs a file name";
    return false;
  } else if (option == "--load-state") {
    out.loadState = value;
  } else if (option == "--save-state") {
    out.saveState = value;
  } else {
    out.plugin = value;
  }
  return true;
}

// Only `render` takes the audio options; `params` takes the plug-in options alone.
bool OptionAllowed(Command command, const std::string& option) {
  return command == Command::Render || option == "--plugin" || option == "--api";
}

bool ParseRest(const std::vector<std::string>& args, CommandLine& out, std::string& error) {
  std::vector<std::string> positional;
  bool optionsEnded = false;
  for (std::size_t i = 1; i < args.size(); ++i) {
    const std::string& arg = args[i];
    if (optionsEnded || arg.size() < 2 || arg[0] != '-') {
      positional.push_back(arg);
      continue;
    }
    if (arg == "--") {
      optionsEnded = true;
      continue;
    }
    std::string option = arg;
    std::string value;
    bool inlineValue = false;
    std::string::size_type eq = arg.find('=');
    if (arg.compare(0, 2, "--") == 0 && eq != std::string::npos) {
      option = arg.substr(0, eq);
      value = arg.substr(eq + 1);
      inlineValue = true;
    }
    if (!TakesValue(option) && !IsFlag(option)) {
      error = "unknown option '" + option + "'";
      return false;
    }
    if (!OptionAllowed(out.command, option)) {
      error = option + " is not an option of '" + args[0] + "'";
      return false;
    }
    if (IsFlag(option)) {
      if (inlineValue) {
        error = option + " takes no value";
        return false;
      }
      out.align = true;
      continue;
    }
    if (!inlineValue) {
      if (i + 1 >= args.size()) {
        error = option + " needs a value";
        return false;
      }
      value = args[++i];
    }
    if (!ApplyOption(option, value, out, error)) return false;
  }
  std::size_t wanted = out.command == Command::Render ? 2 : 0;
  if (positional.size() < wanted) {
    error = "render needs an input and an output file: brelvane render IN OUT [options]";
    return false;
  }
  if (positional.size() > wanted) {
    error = "unexpected argument '" + positional[wanted] + "'";
    return false;
  }
  if (out.command == Command::Render) {
    out.input = positional[0];
    out.output = positional[1];
    if (!out.saveState.empty() && out.saveState == out.output) {
      error = "--save-state would overwrite the audio output '" + out.output + "'";
      return false;
    }
  }
  return true;
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
  return "usage:\n"
         "  brelvane render IN OUT [options]   process an audio file through the plug-in\n"
         "  brelvane params [--plugin PATH] [--api vst2|vst3]\n"
         "                                     list the plug-in's parameters\n"
         "  brelvane help                      show this text\n"
         "\n"
         "render options:\n"
         "  --param NAME=VALUE         set a parameter before rendering (NAME or index;\n"
         "                             VALUE a number in range or a display text)\n"
         "  --at FRAME:NAME=VALUE      change a parameter before sample frame FRAME\n"
         "  --load-state FILE          restore a saved program state before rendering\n"
         "  --save-state FILE          save the program state after rendering\n"
         "  --block N                  frames per processing call (default 512)\n"
         "  --preroll SECONDS          run the plug-in on this much silence first and\n"
         "                             discard it, as a host that was already playing\n"
         "                             (default 1; 0 starts the plug-in cold)\n"
         "  --align                    shift the output earlier by the processed\n"
         "                             signal's delay, so it lines up with the input\n"
         "  --format float|double|pcm16|pcm24\n"
         "                             output sample format (default: the input's)\n"
         "  --plugin PATH              the plug-in to use: a VST2 module, or a VST3\n"
         "                             bundle (a folder NAME.vst3)\n"
         "  --api vst2|vst3            the plug-in interface; without --plugin, the\n"
         "                             build tree's module of that kind (default vst2)\n"
         "\n"
         "Audio files: WAV, AIFF or FLAC, mono or stereo, any sample rate; the output\n"
         "container follows OUT's extension (.wav, .aif/.aiff, .flac).\n";
}

}  // namespace brel::cmd
