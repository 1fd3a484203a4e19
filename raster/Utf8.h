#pragma once
// UTF-8 decoding for the text routines. A byte that does not start a valid sequence stands for
// itself, so any byte string can be drawn.

namespace Utf8 {

// Decodes the character at `*p` (before `end`) and moves `*p` past it. `*multiByte` (when given) says
// whether a multi-byte sequence was decoded.
inline unsigned int Next(const unsigned char** p, const unsigned char* end, bool* multiByte = nullptr) {
  const unsigned int lead = *(*p)++;
  if (multiByte) *multiByte = false;
  if (lead < 0x80) return lead;
  int extra;
  unsigned int code, least;
  if ((lead & 0xE0) == 0xC0) {
    extra = 1, code = lead & 0x1F, least = 0x80;
  } else if ((lead & 0xF0) == 0xE0) {
    extra = 2, code = lead & 0x0F, least = 0x800;
  } else if ((lead & 0xF8) == 0xF0) {
    extra = 3, code = lead & 0x07, least = 0x10000;
  } else {
    return lead;
  }
  if (end - *p < extra) return lead;
  for (int i = 0; i < extra; ++i) {
    const unsigned int next = (*p)[i];
    if ((next & 0xC0) != 0x80) return lead;
    code = (code << 6) | (next & 0x3F);
  }
  if (code < least || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) return lead;
  *p += extra;
  if (multiByte) *multiByte = true;
  return code;
}

}  // namespace Utf8
