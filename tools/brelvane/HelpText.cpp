#include "tools/brelvane/HelpText.h"

#include <string>
#include <vector>

#include <clap/version.h>

#include "BrelvaneRelease.h"
#include "adapters/vst2/VstInterface.h"
#include "tools/brelvane/CommandTable.h"

namespace brel::cmd {
namespace {

constexpr std::size_t kCommandColumn = 37, kOptionColumn = 29, kWidth = 78;

std::string Kilohertz(int hertz) { return std::to_string(hertz / 1000) + " kHz"; }

std::string AudioFilesNote() {
  return "Audio files: WAV, AIFF or FLAC, mono or stereo, " + Kilohertz(kMinSampleRate) + " to " +
         Kilohertz(kMaxSampleRate) +
         "; the output container follows OUT's extension (.wav, .aif/.aiff, "
         ".flac).";
}

std::string OptionSynopsis(const Option& option) {
  return option.argument ? std::string(option.name) + " " + option.argument : option.name;
}

std::vector<std::string> LinesOf(const std::string& text) {
  std::vector<std::string> lines;
  for (std::string::size_type start = 0;;) {
    const std::string::size_type end = text.find('\n', start);
    lines.push_back(text.substr(start, end - start));
    if (end == std::string::npos) return lines;
    start = end + 1;
  }
}

// The words of `text` in lines of at most `width` characters, each starting with `indent`.
std::string Wrapped(const std::string& text, const std::string& indent, std::size_t width = kWidth) {
  std::string out, line;
  std::string::size_type start = 0;
  while (start < text.size()) {
    std::string::size_type end = text.find(' ', start);
    if (end == std::string::npos) end = text.size();
    const std::string word = text.substr(start, end - start);
    if (!line.empty() && indent.size() + line.size() + 1 + word.size() > width) {
      out += indent + line + "\n";
      line.clear();
    }
    line += (line.empty() ? "" : " ") + word;
    start = end + 1;
  }
  return line.empty() ? out : out + indent + line + "\n";
}

// "  SYNOPSIS   first line of help" and the help's further lines, each starting at `column`; a
// synopsis too wide to leave a space before it has a line of its own.
void AddEntry(std::string& text, const std::string& synopsis, const std::string& help, std::size_t column) {
  std::string lead = "  " + synopsis;
  if (lead.size() + 1 > column) {
    text += lead + "\n";
    lead.clear();
  }
  lead.resize(column, ' ');
  for (const std::string& line : LinesOf(help)) {
    text += lead + line + "\n";
    lead.assign(column, ' ');
  }
}

void AddOptions(std::string& text, Command command) {
  for (const Option* option = OptionsBegin(); option != OptionsEnd(); ++option)
    if (option->commands & Of(command)) AddEntry(text, OptionSynopsis(*option), option->help, kOptionColumn);
}

// ---- The manual page, in the man macros.

// Text as roff prints it: backslashes and hyphens escaped, no line taken for a request.
std::string Roff(const std::string& text) {
  std::string out;
  for (char c : text) {
    if (c == '\\')
      out += "\\e";
    else if (c == '-')
      out += "\\-";
    else
      out += c;
  }
  if (!out.empty() && (out[0] == '.' || out[0] == '\'')) out = "\\&" + out;
  return out;
}

std::string Joined(const std::string& help) {
  std::string out;
  for (const std::string& line : LinesOf(help)) out += (out.empty() ? "" : " ") + line;
  return out;
}

void AddManSynopsis(std::string& page) {
  page += ".SH SYNOPSIS\n";
  for (const CommandInfo* info = CommandsBegin(); info != CommandsEnd(); ++info) {
    page += ".B brelvane " + Roff(info->name) + "\n";
    if (info->operands[0]) page += ".I " + Roff(info->operands) + "\n";
    if (TakesOptions(info->command)) page += ".RI [ options ]\n";
    page += ".br\n";
  }
}

void AddManCommands(std::string& page) {
  page += ".SH COMMANDS\n";
  for (const CommandInfo* info = CommandsBegin(); info != CommandsEnd(); ++info) {
    page += ".TP\n.B " + Roff(info->name) +
            (info->operands[0] ? " \\fI" + Roff(info->operands) + "\\fR" : "") + "\n" +
            Roff(info->about ? info->about : info->summary) + "\n";
    if (info->command == Command::Render) page += ".IP\n" + Roff(AudioFilesNote()) + "\n";
  }
}

void AddManOptions(std::string& page) {
  page += ".SH OPTIONS\n";
  for (const CommandInfo* info = CommandsBegin(); info != CommandsEnd(); ++info) {
    if (!TakesOptions(info->command)) continue;
    page += ".SS " + Roff(info->name) + "\n";
    for (const Option* option = OptionsBegin(); option != OptionsEnd(); ++option) {
      if (!(option->commands & Of(info->command))) continue;
      page += ".TP\n.B " + Roff(option->name) +
              (option->argument ? " \\fI" + Roff(option->argument) + "\\fR" : "") + "\n" +
              Roff(Joined(option->help)) + "\n";
    }
  }
}

}  // namespace

std::string UsageText() {
  std::string text = "usage:\n";
  for (const CommandInfo* info = CommandsBegin(); info != CommandsEnd(); ++info)
    AddEntry(text, Synopsis(*info), info->summary, kCommandColumn);
  for (const CommandInfo* info = CommandsBegin(); info != CommandsEnd(); ++info) {
    if (!TakesOptions(info->command)) continue;
    text += std::string("\n") + info->name + " options:\n";
    AddOptions(text, info->command);
  }
  return text + "\n" + Wrapped(AudioFilesNote(), "");
}

std::string CommandHelp(Command command) {
  const CommandInfo& info = InfoOf(command);
  std::string text = "usage: " + Synopsis(info) + "\n\n";
  text += Wrapped(info.about ? info.about : info.summary, "");
  if (TakesOptions(command)) {
    text += "\noptions:\n";
    AddOptions(text, command);
  }
  if (command == Command::Render) text += "\n" + Wrapped(AudioFilesNote(), "");
  if (command == Command::Help) text += "\n" + UsageText();
  return text;
}

// The LV2 bundle is hosted where the command was built with the LV2 host library (Linux).
std::string Lv2Hosting() {
#ifdef BREL_CMD_LILV_VERSION
  return std::string(" and as an LV2 bundle (LV2 ") + BREL_CMD_LV2_VERSION + ", lilv " +
         BREL_CMD_LILV_VERSION + ")";
#else
  return "";
#endif
}

std::string VersionText() {
  const std::string clap = std::string("a CLAP module (CLAP ") + std::to_string(CLAP_VERSION_MAJOR) + "." +
                           std::to_string(CLAP_VERSION_MINOR) + "." + std::to_string(CLAP_VERSION_REVISION) +
                           ")";
  const std::string lv2 = Lv2Hosting();
  return std::string("brelvane ") + release::kVersion + " (" + release::kProduct + " by " + release::kVendor +
         ", " + release::kUrl + ")\nhosts the plug-in as a VST " + std::to_string(kVstVersion / 1000) + "." +
         std::to_string(kVstVersion / 100 % 10) + " module, as a VST 3 bundle (VST 3 SDK " +
         release::kVst3SdkVersion + ")" + (lv2.empty() ? " and" : ",") + " as " + clap + lv2 + "\n";
}

std::string ManPage() {
  std::string page = std::string(".TH BRELVANE 1 \"\" \"") + release::kProduct + " " + release::kVersion +
                     "\" \"User Commands\"\n";
  page += ".SH NAME\nbrelvane \\- render audio files through the " + Roff(release::kProduct) +
          " vocal processor\n";
  AddManSynopsis(page);
  page += ".SH DESCRIPTION\n.B brelvane\n" +
          Roff("is a host of the " + std::string(release::kProduct) +
               " plug-in for batch work: it loads the plug-in's VST2 module, its VST3 bundle, its "
               "CLAP module or (on Linux) its LV2 bundle as a "
               "digital audio workstation does, renders audio files through it, lists its parameters "
               "and draws its editor.") +
          "\n";
  AddManCommands(page);
  AddManOptions(page);
  page += ".SH FILES\n" +
          Roff(
              "Without --plugin the command loads Brelvane.so (with --api vst3, the bundle "
              "Brelvane.vst3; with --api clap, Brelvane.clap; with --api lv2, the bundle "
              "Brelvane.lv2) found next to itself, in lib/vst (lib/vst3, lib/clap, lib/lv2) beside "
              "the folder it is installed in, in ~/.vst (~/.vst3, ~/.clap, ~/.lv2), or in the build "
              "tree it was built in.") +
          "\n";
  page += ".SH EXIT STATUS\n" +
          Roff(
              "0 when the command did what it was asked, 2 on any error (one line on standard error, "
              "and no output file is left half written), 130 when it was interrupted.") +
          "\n";
  return page;
}

}  // namespace brel::cmd
