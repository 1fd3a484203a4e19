#pragma once
// Texts between the core's 8-bit fields and the SDK's UTF-16 strings: one code unit per byte
// each way. Bytes above 0x7F widen to the code point of the same number (Latin-1), and narrowing
// keeps the low byte of each code unit.

#include "adapters/vst3/Vst3Sdk.h"

// Widens text (a missing text counts as empty) into out, a buffer of size code units, cut to
// size - 1 units and always terminated.
void WidenText(const char* text, Steinberg::Vst::TChar* out, int size);

// Narrows text into out, a buffer of size bytes, cut to size - 1 bytes and always terminated.
void NarrowText(const Steinberg::Vst::TChar* text, char* out, int size);

template <int N>
void WidenText(const char* text, Steinberg::Vst::TChar (&out)[N]) {
  WidenText(text, out, N);
}
