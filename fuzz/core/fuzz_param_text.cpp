// Feeds arbitrary bytes, as the text a host or user types, to the parameter model: parsed by
// every kind of parameter, stored, shown again and parsed back; also used as a display text and
// as a value to show. Any crash, out-of-bounds access, undefined arithmetic, a stored value
// outside its range (or not a number), an unterminated display text or a display that does not
// read back as the value it shows is a finding.

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <vector>

#include "core/IParamDef.h"
#include "core/NumberText.h"
#include "engine/DeclareParam.h"

namespace {

// A broken rule names itself before stopping the run, so a finding reads without a debugger.
#define Check(condition) ((condition) ? (void)0 : Fail(__LINE__, #condition))
[[noreturn]] void Fail(int line, const char* rule) {
  std::fprintf(stderr, "fuzz_param_text.cpp:%d: broken: %s\n", line, rule);
  std::abort();
}

// The kinds of parameter the product and its hosts meet: decimal knobs of each precision, a
// curved knob, whole numbers, switches, choices with names, and negated displays.
struct ParamSet {
  ParamSet() {
    DeclareParam(fine, kBrelvaneParams[BrelvaneParamIndex::kPresComp]);
    tenth.DefineDouble("Tenth", 1.5, -3.0, 48.0, 0.1, "ms");
    whole.DefineDouble("Whole", 100.0, 20.0, 20000.0, 1.0, "Hz");
    curved.DefineDouble("Curved", 2.0, 0.0, 100.0, 0.001, "%", 2.5);
    counted.DefineInt("Count", 3, -8, 64, "st");
    DeclareParam(power, kBrelvaneParams[BrelvaneParamIndex::kPower]);
    DeclareParam(mode, kBrelvaneParams[BrelvaneParamIndex::kMode]);
    shape.DefineEnum("Shape", 0, 4, "");
    shape.AddDisplayText(0, "sine");
    shape.AddDisplayText(1, "tri");
    shape.AddDisplayText(2, "");  // shown as its number
    shape.AddDisplayText(3, "square wave with a name far longer than a field");
    negated.DefineDouble("Reduction", 3.0, 0.0, 24.0, 0.01, "dB");
    negated.SetNegateDisplay(true);
    negatedInt.DefineInt("Offset", 0, -12, 12, "");
    negatedInt.SetNegateDisplay(true);
  }
  IParamDef fine, tenth, whole, curved, counted, power, mode, shape, negated, negatedInt;
  IParamDef* all[10] = {&fine,  &tenth, &whole, &curved,  &counted,
                        &power, &mode,  &shape, &negated, &negatedInt};
};

// Output sizes a caller may pass, the parameter field size among them.
const int kSizes[] = {1, 2, 3, 5, 8, 13, IParamDef::kTextSize, 64};

// Formats into a heap block of exactly size bytes, so the sanitizer sees any write past it, and
// checks that the text ends inside the block. Returns the text (in a field-sized copy).
struct Shown {
  char text[IParamDef::kTextSize + 64];
};
Shown Format(const IParamDef& param, double value, bool isNormalized, int size) {
  std::unique_ptr<char[]> out(new char[static_cast<std::size_t>(size)]);
  std::memset(out.get(), 0x5A, static_cast<std::size_t>(size));
  param.FormatValue(value, isNormalized, out.get(), size);
  Check(std::memchr(out.get(), 0, static_cast<std::size_t>(size)) != nullptr);
  Shown shown;
  std::memcpy(shown.text, out.get(), std::strlen(out.get()) + 1);
  return shown;
}

bool InRange(const IParamDef& param) {
  const double v = param.GetValue();
  return !std::isnan(v) && v >= param.GetMin() && v <= param.GetMax();
}

// Reading back what a parameter shows lands on the value it showed: within half a display step,
// or, for a display cut to whole numbers, within one. A named value reads back as a value with
// the same name. A number shown by a parameter with names is not read back (names only).
void CheckReadsBack(IParamDef& param) {
  const double value = param.GetValue();
  const Shown shown = Format(param, value, false, IParamDef::kTextSize);
  double parsed = std::nan("");
  const bool named = param.DisplayTextFor(value) && param.DisplayTextFor(value)[0];
  if (param.GetDisplayTextCount() > 0 && !named) return;
  Check(param.ValueFromText(shown.text, parsed));
  if (named) {
    Check(std::strcmp(Format(param, parsed, false, IParamDef::kTextSize).text, shown.text) == 0);
    return;
  }
  const double tolerance =
      param.GetDisplayPrecision() == 0 ? 1.0 : 0.5 * std::pow(10.0, -param.GetDisplayPrecision()) * 1.000001;
  Check(std::fabs(parsed - value) <= tolerance);
}

void ExerciseParam(IParamDef& param, const char* text) {
  const double untouched = -12345.678;
  double value = untouched;
  const bool accepted = param.ValueFromText(text, value);
  if (param.GetDisplayTextCount() == 0) {
    // Without names a text that starts with a number reads as it; any other is a typing mistake,
    // refused without touching the value.
    int consumed = 0;
    ParseLeadingDecimal(text, &consumed);
    Check(accepted == (consumed > 0));
    Check(accepted ? !std::isnan(value) : value == untouched);
  } else {
    // Names are matched whole and exactly; of the values sharing the text the highest is taken,
    // and a text that names nothing is refused without touching the value.
    bool named = false;
    double highest = 0.0;
    for (int i = 0; i < param.GetDisplayTextCount(); ++i) {
      const DisplayText* entry = param.GetDisplayText(i);
      if (std::strcmp(entry->text, text) != 0) continue;
      if (!named || entry->value > highest) highest = entry->value;
      named = true;
    }
    Check(accepted == named);
    Check(named ? value == highest : value == untouched);
  }

  for (int size : kSizes) {
    Format(param, value, false, size);
    Format(param, value, true, size);  // whatever the number, also as a normalized one
  }

  if (accepted) {
    param.SetValue(value);
    Check(InRange(param));
    CheckReadsBack(param);
  }
  // A normalized value from a host is taken at the nearest end of 0..1, and no number changes nothing.
  const double before = param.GetValue();
  param.SetFromNormalized(value);
  Check(InRange(param));
  if (std::isnan(value) || std::isnan(param.FromNormalized(std::clamp(value, 0.0, 1.0))))
    Check(param.GetValue() == before);
  param.SetValue(param.GetValue());
  Check(InRange(param));
  Format(param, param.GetValue(), false, IParamDef::kTextSize);
}

// The bytes as a display text of their own: stored cut to the field, shown cut to the caller's
// room, and found again by the exact text when it fitted.
void ExerciseDisplayText(const char* text) {
  IParamDef param;
  param.DefineEnum("Named", 0, 8, "");
  param.AddDisplayText(0, "zero");
  Check(param.AddDisplayText(7, text));
  const std::size_t length = std::strlen(text);
  const std::size_t kept = length < IParamDef::kTextSize - 1 ? length : IParamDef::kTextSize - 1;
  const DisplayText* entry = param.GetDisplayText(1);
  Check(std::strlen(entry->text) == kept && std::memcmp(entry->text, text, kept) == 0);
  for (int size : kSizes) {
    const Shown shown = Format(param, 7.0, false, size);
    if (kept == 0) {
      Check(std::strncmp(shown.text, "7", static_cast<std::size_t>(size - 1)) == 0);
    } else {
      const std::size_t room = static_cast<std::size_t>(size - 1);
      Check(std::strlen(shown.text) == (kept < room ? kept : room));
      Check(std::memcmp(shown.text, text, std::strlen(shown.text)) == 0);
    }
  }
  // A text longer than the field was stored cut, so the whole text no longer matches it.
  double value = -1.0;
  const bool accepted = param.ValueFromText(text, value);
  if (length > kept) {
    Check(!accepted && value == -1.0);
  } else {
    Check(accepted && value == 7.0);  // also for "zero": the higher of the two values named so
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size > 4096) return 0;
  std::vector<char> text(data, data + size);
  text.push_back(0);
  ParamSet params;
  for (IParamDef* param : params.all) ExerciseParam(*param, text.data());
  ExerciseDisplayText(text.data());
  return 0;
}
