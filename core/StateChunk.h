#pragma once
// A byte chunk that carries state to and from a host: appenders grow it, readers walk it by
// position. Numbers are little-endian, doubles IEEE-754. A reader returns the position after
// what it read, or -1 when it could not read (the value out is then left unchanged).

#include <cstdint>

#include "core/HeapBuffer.h"

class TextBuffer;

class StateChunk {
public:
  StateChunk() : mBuffer(4096) {}

  // Empties the chunk and releases its block.
  void Clear() { mBuffer.Resize(0, true); }
  // Sets the size; bytes that become part of the chunk read as zero. Returns the new size.
  int Resize(int size);
  int GetSize() const { return mBuffer.GetSize(); }
  std::uint8_t* GetData() const { return static_cast<std::uint8_t*>(mBuffer.GetData()); }

  // Appenders return the new size, or -1 (chunk unchanged) when it could not grow.
  int AppendBytes(const void* bytes, int count);
  int AppendInt32(std::int32_t value);
  int AppendDouble(double value);
  int AppendBool(bool value);
  // 32-bit length, then the bytes without terminator; a missing text is stored as length 0.
  int AppendString(const char* text);
  int AppendChunk(const StateChunk& other);

  int ReadInt32(std::int32_t& value, int position) const;
  int ReadDouble(double& value, int position) const;
  int ReadBool(bool& value, int position) const;
  // Reads a 32-bit length L and the L bytes after it. The text changes only when L > 0 and the
  // bytes lie inside the chunk. Returns the position after the bytes even when they run past
  // the end (a negative or overflowing length counts as running past the end), so the next
  // read fails; -1 when not even the length could be read.
  int ReadString(TextBuffer& text, int position) const;

private:
  bool HasBytes(int position, int count) const;

  HeapBuffer mBuffer;
};
