#pragma once
// One NUL-terminated text in a HeapBuffer (granularity 128); the empty buffer reads as "".

#include "core/HeapBuffer.h"

class TextBuffer {
public:
  TextBuffer() : mBuffer(128) {}

  // Replaces the text. The length is the characters before the first NUL, at most
  // maxLength when that is above 0; a missing text sets the empty text.
  void Set(const char* text, int maxLength = 0);
  // Writes length characters of text at position and ends the text after them.
  void SetAt(int position, const char* text, int length);
  const char* Get() const;
  // Characters before the terminator.
  int GetLength() const;

private:
  HeapBuffer mBuffer;
};
