#include "tools/brelvane/ValueResolver.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace brel::cmd {
namespace {

// A number, optionally followed by the parameter's unit label.
bool ParseValueNumber(const ParamInfo& param, const std::string& value, double& out) {
  if (ParseNumber(value, out)) return true;
  std::string t = Trimmed(value);
  const std::string& unit = param.label;
  if (unit.empty() || t.size() <= unit.size()) return false;
  std::string tail = t.substr(t.size() - unit.size());
  return EqualsIgnoringCase(tail, unit) && ParseNumber(t.substr(0, t.size() - unit.size()), out);
}

std::string ListOfTexts(const ParamInfo& p) {
  std::string list;
  for (std::size_t i = 0; i < p.texts.size(); ++i) {
    bool repeated = false;
    for (std::size_t j = 0; j < i; ++j) repeated = repeated || p.texts[j].text == p.texts[i].text;
    if (repeated) continue;
    if (!list.empty()) list += ", ";
    list += p.texts[i].text;
  }
  return list;
}

// The highest value showing exactly `text`, else the highest showing it in another case
// when that spelling is unambiguous; `spelling` is the text as the plug-in shows it. Returns
// false when no text matches.
bool FindText(const ParamInfo& p, const std::string& text, long& value, std::string& spelling,
              std::string& error) {
  bool found = false;
  for (const DisplayText& d : p.texts)
    if (d.text == text && (!found || d.value > value)) {
      value = d.value;
      spelling = d.text;
      found = true;
    }
  if (found) return true;
  for (const DisplayText& d : p.texts) {
    if (!EqualsIgnoringCase(d.text, text)) continue;
    if (found && spelling != d.text) {
      error = "'" + text + "' is ambiguous for '" + p.name + "' (values: " + ListOfTexts(p) + ")";
      return false;
    }
    spelling = d.text;
    if (!found || d.value > value) value = d.value;
    found = true;
  }
  return found;
}

int ValuesShowing(const ParamInfo& p, const std::string& spelling) {
  int n = 0;
  for (const DisplayText& d : p.texts) n += d.text == spelling;
  return n;
}

std::string TextOf(const ParamInfo& p, long v) {
  for (const DisplayText& d : p.texts)
    if (d.value == v) return d.text;
  return std::string();
}

bool ResolveWhole(const ParamInfo& p, const std::string& value, ParamSetting& out, std::string& error) {
  std::string t = Trimmed(value);
  long v = 0;
  std::string spelling, textError;
  bool byText = FindText(p, t, v, spelling, textError);
  if (!textError.empty()) {
    error = textError;
    return false;
  }
  double number = 0.0;
  if (!byText) {
    if (!ParseValueNumber(p, t, number)) {
      error = "'" + t + "' is not a value of '" + p.name + "'";
      if (!p.texts.empty()) error += " (values: " + ListOfTexts(p) + ")";
      return false;
    }
    if (!p.rangeKnown) {
      error = "'" + p.name + "' only takes its display texts (" + ListOfTexts(p) + ")";
      return false;
    }
    if (number < p.min || number > p.max) {
      error = t + " is outside the range of '" + p.name + "' (" + DescribeRange(p) + ")";
      return false;
    }
    if (number != std::floor(number)) {
      error = "'" + p.name + "' takes whole numbers, got " + t;
      return false;
    }
    v = static_cast<long>(number);
  }
  if (!p.rangeKnown) {
    error = "the range of '" + p.name + "' is unknown, so '" + t + "' cannot be set";
    return false;
  }
  double span = p.max - p.min;
  out.route = ParamSetting::Route::Normalized;
  out.normalized = span > 0.0 ? static_cast<float>((v - p.min) / span) : 0.0f;
  out.shown = p.name + " = " + std::to_string(v);
  std::string text = TextOf(p, v);
  if (!text.empty()) out.shown += " (" + text + ")";
  return true;
}

bool ResolveReal(const ParamInfo& p, const std::string& value, ParamSetting& out, std::string& error) {
  std::string t = Trimmed(value);
  long v = 0;
  std::string spelling;
  if (FindText(p, t, v, spelling, error)) {
    // The plug-in's parser takes the first value showing a text, so a shared text is set
    // by its highest value directly.
    out.shown = p.name + " = " + spelling;
    if (ValuesShowing(p, spelling) == 1) {
      out.route = ParamSetting::Route::Text;
      out.text = spelling;
    } else {
      out.route = ParamSetting::Route::Normalized;
      out.normalized = NormalizedForWhole(p, v);
    }
    return true;
  }
  if (!error.empty()) return false;
  double number = 0.0;
  if (!ParseValueNumber(p, t, number)) {
    error = "'" + t + "' is not a value of '" + p.name + "' (a number from " + DescribeRange(p);
    if (!p.texts.empty()) error += ", or " + ListOfTexts(p);
    error += ")";
    return false;
  }
  if (p.rangeKnown && (number < p.min || number > p.max)) {
    error = t + " is outside the range of '" + p.name + "' (" + DescribeRange(p) + ")";
    return false;
  }
  // The plug-in parses the text into a double and stores it as it is: no float rounding.
  out.route = ParamSetting::Route::Text;
  out.text = ExactDecimal(number);
  out.shown = p.name + " = " + out.text;
  if (!p.label.empty()) out.shown += " " + p.label;
  return true;
}

}  // namespace

std::string ExactDecimal(double v) {
  char buf[40];
  for (int precision = 1; precision <= 17; ++precision) {
    std::snprintf(buf, sizeof buf, "%.*g", precision, v);
    if (std::strtod(buf, nullptr) == v) break;
  }
  return buf;
}

bool ResolveValue(const ParamInfo& param, const std::string& value, ParamSetting& out, std::string& error) {
  out = ParamSetting{};
  out.index = param.index;
  return param.real ? ResolveReal(param, value, out, error) : ResolveWhole(param, value, out, error);
}

bool ResolveAssignment(const ParamTable& table, const ParamAssignment& assignment, ParamSetting& out,
                       std::string& error) {
  const ParamInfo* param = table.Find(assignment.name, error);
  return param && ResolveValue(*param, assignment.value, out, error);
}

bool ApplySetting(ParamPort& port, const ParamSetting& setting, std::string& error) {
  if (setting.route == ParamSetting::Route::Normalized) {
    port.SetParameter(setting.index, setting.normalized);
    return true;
  }
  if (port.SetParameterText(setting.index, setting.text)) return true;
  error = "the plug-in rejected " + setting.shown;
  return false;
}

}  // namespace brel::cmd
