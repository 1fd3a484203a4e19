#include "tools/brelvane/ParamTablePrinter.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace brel::cmd {
namespace {

std::string TextFor(const ParamInfo& p, long value) {
  for (const DisplayText& d : p.texts)
    if (d.value == value) return d.text;
  return std::string();
}

std::string RangeColumn(const ParamInfo& p) {
  if (!p.rangeKnown) return p.minText + " to " + p.maxText;
  if (p.real) return p.minText + " to " + p.maxText;
  return std::to_string(std::lround(p.min)) + " to " + std::to_string(std::lround(p.max));
}

void PrintRow(const std::vector<std::string>& cells, const std::vector<std::size_t>& widths,
              std::ostream& out) {
  std::string line;
  for (std::size_t c = 0; c < cells.size(); ++c) {
    std::string cell = cells[c];
    bool last = c + 1 == cells.size();
    if (c == 0)
      cell = std::string(widths[c] - cell.size(), ' ') + cell;  // right-aligned index
    else if (!last)
      cell += std::string(widths[c] - cell.size(), ' ');
    line += cell;
    if (!last) line += "  ";
  }
  while (!line.empty() && line.back() == ' ') line.pop_back();
  out << line << '\n';
}

}  // namespace

std::string DescribeDefault(const ParamInfo& p) {
  if (p.real || !p.rangeKnown) return p.defaultText;
  long v = std::lround(p.defaultValue);
  std::string text = TextFor(p, v);
  return text.empty() ? std::to_string(v) : std::to_string(v) + " (" + text + ")";
}

std::string DescribeTexts(const ParamInfo& p) {
  std::string list;
  for (const DisplayText& d : p.texts) {
    if (!list.empty()) list += ", ";
    list += std::to_string(d.value) + " " + d.text;
  }
  return list;
}

void PrintParamTable(const ParamTable& table, std::ostream& out) {
  std::vector<std::vector<std::string>> rows = {{"#", "name", "range", "default", "unit", "display texts"}};
  for (const ParamInfo& p : table.Params())
    rows.push_back(
        {std::to_string(p.index), p.name, RangeColumn(p), DescribeDefault(p), p.label, DescribeTexts(p)});
  std::vector<std::size_t> widths(rows[0].size(), 0);
  for (const auto& row : rows)
    for (std::size_t c = 0; c < row.size(); ++c) widths[c] = std::max(widths[c], row[c].size());
  for (const auto& row : rows) PrintRow(row, widths, out);
}

}  // namespace brel::cmd
