#include "tools/brelvane/ParamTable.h"

#include <cctype>
#include <cmath>
#include <cstdlib>

namespace brel::cmd {

bool EqualsIgnoringCase(const std::string& a, const std::string& b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i)
    if (std::tolower(static_cast<unsigned char>(a[i])) != std::tolower(static_cast<unsigned char>(b[i])))
      return false;
  return true;
}

std::string Trimmed(const std::string& s) {
  std::string::size_type b = 0, e = s.size();
  while (b < e && std::isspace(static_cast<unsigned char>(s[b]))) ++b;
  while (e > b && std::isspace(static_cast<unsigned char>(s[e - 1]))) --e;
  return s.substr(b, e - b);
}

bool ParseNumber(const std::string& text, double& out) {
  std::string t = Trimmed(text);
  if (t.empty()) return false;
  // Decimal notation only: strtod would also take hex, "inf" and "nan".
  for (char c : t)
    if (!std::isdigit(static_cast<unsigned char>(c)) && c != '.' && c != '-' && c != '+' && c != 'e' &&
        c != 'E')
      return false;
  char* end = nullptr;
  double v = std::strtod(t.c_str(), &end);
  if (end != t.c_str() + t.size() || !std::isfinite(v)) return false;
  out = v;
  return true;
}

std::string DescribeRange(const ParamInfo& p) {
  if (!p.rangeKnown) return "range unknown";
  std::string r = p.real ? p.minText + " to " + p.maxText
                         : std::to_string(std::lround(p.min)) + " to " + std::to_string(std::lround(p.max));
  if (!p.label.empty()) r += " " + p.label;
  return r;
}

float NormalizedForWhole(const ParamInfo& p, long k) {
  double span = p.max - p.min;
  if (!(span > 0.0)) return 0.0f;
  float x = static_cast<float>((k - p.min) / span);
  for (int i = 0; i < 4; ++i) {
    double mapped = p.min + static_cast<double>(x) * span;
    if (k > 0 && mapped < k)
      x = std::nextafter(x, 2.0f);
    else if (k < 0 && mapped > k)
      x = std::nextafter(x, -2.0f);
    else
      break;
  }
  return x;
}

const ParamInfo* ParamTable::Find(const std::string& nameOrIndex, std::string& error) const {
  std::string wanted = Trimmed(nameOrIndex);
  for (const ParamInfo& p : mParams)
    if (p.name == wanted) return &p;
  const ParamInfo* match = nullptr;
  int matches = 0;
  for (const ParamInfo& p : mParams)
    if (EqualsIgnoringCase(p.name, wanted)) {
      match = &p;
      ++matches;
    }
  if (matches == 1) return match;
  if (matches > 1) {
    error = "parameter name '" + wanted + "' is ambiguous; use the exact name or the index";
    return nullptr;
  }
  bool digits = !wanted.empty();
  for (char c : wanted) digits = digits && std::isdigit(static_cast<unsigned char>(c));
  if (digits && wanted.size() < 10) {
    int index = std::atoi(wanted.c_str());
    if (index < Size()) return &mParams[index];
    error = "parameter index " + wanted + " is out of range (the plug-in has " + std::to_string(Size()) +
            " parameters)";
    return nullptr;
  }
  error = "unknown parameter '" + wanted + "' (see 'brelvane params')";
  return nullptr;
}

}  // namespace brel::cmd
