#pragma once
// The command's commands and options, each written once: the parser takes its arguments from
// these tables, and the help texts and the manual page describe them from the same entries.
#include <cstdint>
#include <string>

#include "tools/brelvane/CommandLine.h"

namespace brel::cmd {

// The commands an option belongs to, as a set.
using CommandSet = std::uint8_t;
constexpr CommandSet Of(Command command) { return static_cast<CommandSet>(1u << static_cast<int>(command)); }

struct Option;
// Takes the option's value into the command line; false with a one-line error when it is no value
// of the option.
using OptionHandler = bool (*)(const Option& option, const std::string& value, CommandLine& out,
                               std::string& error);

struct Option {
  const char* name;
  const char* argument;  // as the help shows it; nullptr for a flag, which takes no value
  const char* help;      // one or more lines
  CommandSet commands;   // which commands take it
  OptionHandler take;
};

struct CommandInfo {
  Command command;
  const char* name;      // as typed: "render"
  const char* operands;  // what follows the name before the options: "IN OUT"
  const char* summary;   // one line, for the list of commands
  const char* about;     // a paragraph for the command's own help and the manual
};

// In the order the help lists them.
const Option* OptionsBegin();
const Option* OptionsEnd();
const CommandInfo* CommandsBegin();
const CommandInfo* CommandsEnd();

const CommandInfo* FindCommand(const std::string& name);
const CommandInfo& InfoOf(Command command);
bool TakesOptions(Command command);
// "brelvane render IN OUT [options]"
std::string Synopsis(const CommandInfo& info);

}  // namespace brel::cmd
