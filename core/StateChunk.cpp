#include "core/StateChunk.h"

#include <algorithm>
#include <climits>
#include <cstring>

#include "core/TextBuffer.h"

namespace {

void PutLittleEndian(std::uint8_t* out, std::uint64_t value, int width) {
  for (int i = 0; i < width; ++i) out[i] = static_cast<std::uint8_t>(value >> (8 * i));
}

std::uint64_t GetLittleEndian(const std::uint8_t* in, int width) {
  std::uint64_t value = 0;
  for (int i = 0; i < width; ++i) value |= std::uint64_t(in[i]) << (8 * i);
  return value;
}

std::uint64_t DoubleBits(double value) {
  std::uint64_t bits;
  std::memcpy(&bits, &value, sizeof bits);
  return bits;
}

double DoubleFromBits(std::uint64_t bits) {
  double value;
  std::memcpy(&value, &bits, sizeof value);
  return value;
}

}  // namespace

int StateChunk::Resize(int size) {
  const int oldSize = GetSize();
  if (size > oldSize) {
    if (!mBuffer.Resize(size, true)) return GetSize();
    std::memset(GetData() + oldSize, 0, static_cast<std::size_t>(size - oldSize));
  } else {
    mBuffer.Resize(size, true);
  }
  return GetSize();
}

int StateChunk::AppendBytes(const void* bytes, int count) {
  if (count < 0 || (count > 0 && !bytes)) return -1;
  const int oldSize = GetSize();
  if (count == 0) return oldSize;
  if (std::int64_t(oldSize) + count > INT_MAX) return -1;
  // The bytes may come from this chunk itself; find them again if the block moves.
  const std::uint8_t* source = static_cast<const std::uint8_t*>(bytes);
  const std::uint8_t* oldData = GetData();
  const bool fromInside = oldData && source >= oldData && source < oldData + oldSize;
  const std::ptrdiff_t insideOffset = fromInside ? source - oldData : 0;
  if (!mBuffer.Resize(oldSize + count, true)) return -1;
  if (fromInside) source = GetData() + insideOffset;
  std::memmove(GetData() + oldSize, source, static_cast<std::size_t>(count));
  return GetSize();
}

int StateChunk::AppendInt32(std::int32_t value) {
  std::uint8_t bytes[4];
  PutLittleEndian(bytes, static_cast<std::uint32_t>(value), 4);
  return AppendBytes(bytes, 4);
}

int StateChunk::AppendDouble(double value) {
  std::uint8_t bytes[8];
  PutLittleEndian(bytes, DoubleBits(value), 8);
  return AppendBytes(bytes, 8);
}

int StateChunk::AppendBool(bool value) {
  const std::uint8_t byte = value ? 1 : 0;
  return AppendBytes(&byte, 1);
}

int StateChunk::AppendString(const char* text) {
  const std::size_t length = text ? std::strlen(text) : 0;
  if (length > std::size_t(INT_MAX) - 4) return -1;
  const int oldSize = GetSize();
  // Length and bytes go in with one growth, so a refusal leaves no half-written string.
  if (std::int64_t(oldSize) + 4 + std::int64_t(length) > INT_MAX) return -1;
  if (!mBuffer.Resize(oldSize + 4 + static_cast<int>(length), true)) return -1;
  PutLittleEndian(GetData() + oldSize, static_cast<std::uint32_t>(length), 4);
  if (length > 0) std::memcpy(GetData() + oldSize + 4, text, length);
  return GetSize();
}

int StateChunk::AppendChunk(const StateChunk& other) { return AppendBytes(other.GetData(), other.GetSize()); }

bool StateChunk::HasBytes(int position, int count) const {
  return position >= 0 && std::int64_t(position) + count <= GetSize();
}

int StateChunk::ReadInt32(std::int32_t& value, int position) const {
  if (!HasBytes(position, 4)) return -1;
  value = static_cast<std::int32_t>(static_cast<std::uint32_t>(GetLittleEndian(GetData() + position, 4)));
  return position + 4;
}

int StateChunk::ReadDouble(double& value, int position) const {
  if (!HasBytes(position, 8)) return -1;
  value = DoubleFromBits(GetLittleEndian(GetData() + position, 8));
  return position + 8;
}

int StateChunk::ReadBool(bool& value, int position) const {
  if (!HasBytes(position, 1)) return -1;
  value = GetData()[position] != 0;
  return position + 1;
}

int StateChunk::ReadString(TextBuffer& text, int position) const {
  std::int32_t length = 0;
  const int afterLength = ReadInt32(length, position);
  if (afterLength < 0) return -1;
  if (length < 0) return INT_MAX;
  const std::int64_t end = std::int64_t(afterLength) + length;
  if (end > GetSize()) return static_cast<int>(std::min<std::int64_t>(end, INT_MAX));
  if (length > 0) text.SetAt(0, reinterpret_cast<const char*>(GetData() + afterLength), length);
  return static_cast<int>(end);
}
