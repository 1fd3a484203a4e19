#include "core/TextBuffer.h"

#include <cstdint>
#include <cstring>

void TextBuffer::Set(const char* text, int maxLength) {
  int length = 0;
  if (text) {
    if (maxLength <= 0) {
      length = static_cast<int>(std::strlen(text));
    } else {
      const void* nul = std::memchr(text, 0, static_cast<std::size_t>(maxLength));
      length = nul ? static_cast<int>(static_cast<const char*>(nul) - text) : maxLength;
    }
  }
  SetAt(0, text, length);
}

void TextBuffer::SetAt(int position, const char* text, int length) {
  if (length == 0) {
    if (position == 0 && mBuffer.Resize(1, false)) static_cast<char*>(mBuffer.GetData())[0] = 0;
    return;
  }
  if (length < 0 || position < 0 || !text) return;
  const std::int64_t needed64 = std::int64_t(position) + length + 1;
  if (needed64 > INT32_MAX) return;
  const int needed = static_cast<int>(needed64);
  const int previousUsed = mBuffer.GetSize();

  char* oldBlock = static_cast<char*>(mBuffer.GetData());
  // The text may be a piece of this very buffer; remember where, in case the block moves.
  const bool fromInside = oldBlock && text >= oldBlock && text < oldBlock + previousUsed;
  const std::ptrdiff_t insideOffset = fromInside ? text - oldBlock : 0;
  if (previousUsed < needed) {
    if (!mBuffer.Resize(needed, false)) return;
    char* block = static_cast<char*>(mBuffer.GetData());
    if (fromInside) text = block + insideOffset;
    // A write that starts past the old end leaves no stray bytes behind.
    if (position > previousUsed) std::memset(block + previousUsed, 0, position - previousUsed);
  }
  char* block = static_cast<char*>(mBuffer.GetData());
  std::memmove(block + position, text, static_cast<std::size_t>(length));
  block[position + length] = 0;
  if (needed < previousUsed) mBuffer.Resize(needed, false);
}

const char* TextBuffer::Get() const {
  const char* block = static_cast<const char*>(mBuffer.GetData());
  return block ? block : "";
}

int TextBuffer::GetLength() const { return static_cast<int>(std::strlen(Get())); }
