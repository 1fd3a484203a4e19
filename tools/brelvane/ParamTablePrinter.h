#pragma once
// Prints the parameter table of `brelvane params` as aligned columns.
#include <ostream>
#include <string>

#include "tools/brelvane/ParamTable.h"

namespace brel::cmd {

void PrintParamTable(const ParamTable& table, std::ostream& out);

// The default as shown in the table: "12.50" for a real parameter, "1 (A)" for a whole one.
std::string DescribeDefault(const ParamInfo& param);

// "0 off, 1 on" for the values that show a text; empty when none does.
std::string DescribeTexts(const ParamInfo& param);

}  // namespace brel::cmd
