#include "tools/brelvane/ParamProbe.h"

#include <cmath>
#include <optional>

namespace brel::cmd {
namespace {

std::optional<double> NumericAt(ParamPort& port, int index, float normalized, std::string* text = nullptr) {
  std::string shown;
  if (!port.FormatNormalized(index, normalized, shown)) return std::nullopt;
  if (text) *text = shown;
  double v = 0.0;
  if (!ParseNumber(shown, v)) return std::nullopt;
  return v;
}

// The interface may tell the range. Otherwise, when the ends of the range show texts ("off",
// "A"), a VST2 plug-in still shows plain numbers for normalized values outside 0..1; two of them
// fix the linear map and so the range.
void ExtrapolateRange(ParamPort& port, ParamInfo& p, std::optional<double> min, std::optional<double> max) {
  double low = 0.0, high = 0.0;
  if (port.PlainRange(p.index, low, high)) {
    min = low;
    max = high;
  }
  const float probes[][2] = {{-1.0f, -2.0f}, {2.0f, 3.0f}, {-10.0f, -20.0f}, {10.0f, 20.0f}};
  for (const auto& pair : probes) {
    if (min && max) break;
    std::optional<double> a = NumericAt(port, p.index, pair[0]);
    std::optional<double> b = NumericAt(port, p.index, pair[1]);
    if (!a || !b) continue;
    double span = (*a - *b) / (pair[0] - pair[1]);
    if (!(span > 0.0) || !std::isfinite(span)) continue;
    double base = *a - pair[0] * span;
    if (!min) min = base;
    if (!max) max = base + span;
  }
  p.rangeKnown = min && max && *max >= *min;
  if (!p.rangeKnown) return;
  p.min = *min;
  p.max = *max;
  if (!p.real) {
    p.min = std::round(p.min);
    p.max = std::round(p.max);
  }
}

// Display texts belong to whole values, so the whole values of the range are all there is to try.
void ProbeTexts(ParamPort& port, ParamInfo& p) {
  long first = static_cast<long>(std::ceil(p.min)), last = static_cast<long>(std::floor(p.max));
  if (last - first + 1 > kMaxProbedValues || !(p.max > p.min)) return;
  for (long k = first; k <= last; ++k) {
    std::string text;
    std::optional<double> v = NumericAt(port, p.index, NormalizedForWhole(p, k), &text);
    if (text.empty() || (v && *v == static_cast<double>(k))) continue;
    p.texts.push_back({k, text});
  }
}

ParamInfo ProbeOne(ParamPort& port, int index, float current) {
  ParamInfo p;
  p.index = index;
  p.name = port.ParamName(index);
  p.label = port.ParamLabel(index);
  p.real = port.IsRealValued(index);
  std::optional<double> min = NumericAt(port, index, 0.0f, &p.minText);
  std::optional<double> max = NumericAt(port, index, 1.0f, &p.maxText);
  std::optional<double> def = NumericAt(port, index, current, &p.defaultText);
  ExtrapolateRange(port, p, min, max);
  if (!p.rangeKnown) return p;
  if (p.real)
    p.defaultValue = def ? *def : p.min + current * (p.max - p.min);
  else
    p.defaultValue = std::round(p.min + current * (p.max - p.min));
  ProbeTexts(port, p);
  return p;
}

}  // namespace

std::vector<float> ReadNormalizedValues(ParamPort& port) {
  std::vector<float> values;
  int count = port.ParamCount();
  for (int i = 0; i < count; ++i) values.push_back(port.GetParameter(i));
  return values;
}

ParamTable ProbeParams(ParamPort& port, const std::vector<float>* defaults) {
  std::vector<ParamInfo> params;
  int count = port.ParamCount();
  for (int i = 0; i < count; ++i) {
    bool known = defaults && i < static_cast<int>(defaults->size());
    params.push_back(ProbeOne(port, i, known ? (*defaults)[i] : port.GetParameter(i)));
  }
  return ParamTable(std::move(params));
}

}  // namespace brel::cmd
