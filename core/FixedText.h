#pragma once
// Copying into the core's fixed text fields (names, labels, display texts, identity, presets):
// the text is cut to what the field holds and always terminated.

#include <cstring>

// Copies at most size - 1 characters of text (a missing text copies as "") into out.
inline void CopyFixedText(char* out, int size, const char* text) {
  if (!out || size <= 0) return;
  std::size_t n = 0;
  if (text) {
    const void* nul = std::memchr(text, 0, static_cast<std::size_t>(size - 1));
    n = nul ? static_cast<std::size_t>(static_cast<const char*>(nul) - text)
            : static_cast<std::size_t>(size - 1);
    std::memcpy(out, text, n);
  }
  out[n] = 0;
}

template <int N>
inline void CopyFixedText(char (&out)[N], const char* text) {
  CopyFixedText(out, N, text);
}
