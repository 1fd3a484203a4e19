#include "core/NumberText.h"

#include <charconv>
#include <climits>
#include <cmath>
#include <cstring>

namespace {

int CopyOut(const char* text, int length, char* out, int size) {
  if (!out || size <= 0) return 0;
  const int n = length < size - 1 ? length : size - 1;
  std::memcpy(out, text, static_cast<std::size_t>(n));
  out[n] = 0;
  return n;
}

bool IsDigit(char c) { return c >= '0' && c <= '9'; }
bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f' || c == '\v'; }

// Length of the digit run at text.
int Digits(const char* text) {
  int n = 0;
  while (IsDigit(text[n])) ++n;
  return n;
}

// Power of ten of the first significant digit of a number that has one (exponent included).
long DecimalMagnitude(const char* number, int whole, int fraction) {
  long magnitude = 0;
  int i = 0;
  while (i < whole && number[i] == '0') ++i;
  if (i < whole) {
    magnitude = whole - i - 1;
  } else {
    const char* digits = number + whole + 1;
    int j = 0;
    while (j < fraction && digits[j] == '0') ++j;
    magnitude = -(j + 1);
  }
  const char* exponent = number + whole + (fraction > 0 || number[whole] == '.' ? fraction + 1 : 0);
  if (*exponent == 'e' || *exponent == 'E') {
    ++exponent;
    const bool negative = *exponent == '-';
    if (*exponent == '+' || *exponent == '-') ++exponent;
    long value = 0;
    for (; IsDigit(*exponent); ++exponent) value = value < 100000000 ? value * 10 + (*exponent - '0') : value;
    magnitude += negative ? -value : value;
  }
  return magnitude;
}

}  // namespace

int FormatFixed(double value, int decimals, char* out, int size) {
  char text[400];  // the widest finite double with 6 decimals needs about 316
  if (decimals < 0) decimals = 0;
  if (decimals > 17) decimals = 17;
  const auto result = std::to_chars(text, text + sizeof text, value, std::chars_format::fixed, decimals);
  const int length = result.ec == std::errc() ? static_cast<int>(result.ptr - text) : 0;
  return CopyOut(text, length, out, size);
}

int TruncateToInt(double value) {
  if (std::isnan(value)) return 0;
  if (value >= 2147483647.0) return INT_MAX;
  if (value <= -2147483648.0) return INT_MIN;
  return static_cast<int>(value);
}

int FormatTruncatedInt(double value, char* out, int size) {
  char text[16];
  const auto result = std::to_chars(text, text + sizeof text, TruncateToInt(value));
  return CopyOut(text, static_cast<int>(result.ptr - text), out, size);
}

double ParseLeadingDecimal(const char* text, int* consumed) {
  if (consumed) *consumed = 0;
  if (!text) return 0.0;
  int start = 0;
  while (IsBlank(text[start])) ++start;
  int end = start;
  bool negative = false;
  if (text[end] == '+' || text[end] == '-') negative = text[end++] == '-';
  const int numberStart = end;
  const int whole = Digits(text + end);
  end += whole;
  int fraction = 0;
  if (text[end] == '.') {
    fraction = Digits(text + end + 1);
    if (whole > 0 || fraction > 0) end += 1 + fraction;
  }
  if (whole == 0 && fraction == 0) return 0.0;
  if (text[end] == 'e' || text[end] == 'E') {
    int exponent = end + 1;
    if (text[exponent] == '+' || text[exponent] == '-') ++exponent;
    const int exponentDigits = Digits(text + exponent);
    if (exponentDigits > 0) end = exponent + exponentDigits;
  }
  // from_chars takes no '+' and no leading blanks; the sign is applied here instead.
  double value = 0.0;
  const auto result = std::from_chars(text + numberStart, text + end, value, std::chars_format::general);
  if (result.ec == std::errc::result_out_of_range) {
    // Beyond a double: the largest magnitude for huge numbers, zero for tiny ones.
    value = DecimalMagnitude(text + numberStart, whole, fraction) < 0 ? 0.0 : HUGE_VAL;
  } else if (result.ec != std::errc()) {
    return 0.0;
  }
  if (consumed) *consumed = end;
  return negative ? -value : value;
}
