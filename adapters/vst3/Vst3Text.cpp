#include "adapters/vst3/Vst3Text.h"

void WidenText(const char* text, Steinberg::Vst::TChar* out, int size) {
  if (!out || size <= 0) return;
  int n = 0;
  for (; text && text[n] && n < size - 1; ++n) {
    out[n] = static_cast<Steinberg::Vst::TChar>(static_cast<unsigned char>(text[n]));
  }
  out[n] = 0;
}

void NarrowText(const Steinberg::Vst::TChar* text, char* out, int size) {
  if (!out || size <= 0) return;
  int n = 0;
  for (; text && text[n] && n < size - 1; ++n) out[n] = static_cast<char>(text[n] & 0xFF);
  out[n] = 0;
}
