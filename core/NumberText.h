#pragma once
// Numbers to and from text without the C locale: a host that switches its process to a locale
// with a decimal comma must still see "12.50" and be able to type "12.5".

// "%.*f"-style fixed notation with the given number of decimals. Returns the length written
// (the text is cut to fit size - 1 characters and always terminated when size > 0).
int FormatFixed(double value, int decimals, char* out, int size);
// "%d"-style text of value truncated toward zero (saturated to the 32-bit range, NaN as 0).
int FormatTruncatedInt(double value, char* out, int size);
// The 32-bit integer that value truncates to toward zero, saturated; NaN gives 0.
int TruncateToInt(double value);

// Reads the decimal number at the start of text: blanks skipped, optional sign, digits, optional
// fraction and exponent. Text that does not start with a number gives 0.0. The number of
// characters consumed (0 when none) goes to consumed when it is given.
double ParseLeadingDecimal(const char* text, int* consumed = nullptr);
