#include "editor/linux/XResourceScale.h"

#include <cstring>

namespace {

constexpr char kDpiName[] = "Xft.dpi:";
constexpr double kBaseDpi = 96.0;

bool IsBlank(char c) { return c == ' ' || c == '\t'; }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// A decimal number at the start of `text` (digits, optionally a point and more digits), up to
// the end of the line; -1 when the line holds anything else.
double NumberOnLine(const char* text) {
  while (IsBlank(*text)) ++text;
  double value = 0.0;
  bool digits = false;
  for (; IsDigit(*text); ++text, digits = true) value = value * 10.0 + (*text - '0');
  if (*text == '.') {
    double place = 0.1;
    for (++text; IsDigit(*text); ++text, place /= 10.0, digits = true) value += (*text - '0') * place;
  }
  while (IsBlank(*text) || *text == '\r') ++text;
  return digits && (*text == '\n' || *text == '\0') ? value : -1.0;
}

}  // namespace

double ScaleFromXResources(const char* resources) {
  if (!resources) return 1.0;
  for (const char* line = resources; *line;) {
    if (std::strncmp(line, kDpiName, sizeof(kDpiName) - 1) == 0) {
      const double dpi = NumberOnLine(line + sizeof(kDpiName) - 1);
      return dpi > 0.0 ? dpi / kBaseDpi : 1.0;
    }
    const char* end = std::strchr(line, '\n');
    if (!end) break;
    line = end + 1;
  }
  return 1.0;
}
