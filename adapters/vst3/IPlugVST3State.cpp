// IPlugVST3: the state stream. It holds the core's parameter block as it is, without a header,
// followed by the bypass flag as a little-endian 32-bit integer. The component and the
// controller hand out and take the same stream.

#include <cstdint>

#include "adapters/vst3/IPlugVST3.h"
#include "core/StateChunk.h"

using namespace Steinberg;

namespace {

constexpr int32 kFlagBytes = 4;

// Whether the stream took all `size` bytes: a write that fails, or reports fewer, did not.
bool WriteWhole(IBStream& stream, void* data, int32 size) {
  if (size <= 0) return true;
  int32 written = 0;
  return stream.write(data, size, &written) == kResultOk && written == size;
}

}  // namespace

tresult PLUGIN_API IPlugVST3::getState(IBStream* state) noexcept { return WriteState(state); }
tresult PLUGIN_API IPlugVST3::setState(IBStream* state) noexcept { return ReadState(state); }
tresult PLUGIN_API IPlugVST3::getEditorState(IBStream* state) noexcept { return WriteState(state); }
tresult PLUGIN_API IPlugVST3::setEditorState(IBStream* state) noexcept { return ReadState(state); }

tresult IPlugVST3::WriteState(IBStream* stream) {
  if (!stream) return kResultFalse;
  ScopedLock lock(*this);
  StateChunk chunk;
  if (!SaveState(chunk)) return kResultFalse;
  const std::uint32_t flag = mBypassed.load(std::memory_order_relaxed) ? 1 : 0;
  std::uint8_t flagBytes[kFlagBytes] = {static_cast<std::uint8_t>(flag), 0, 0, 0};
  // A host told of success keeps the project as saved: every byte must have gone in.
  const bool written =
      WriteWhole(*stream, chunk.GetData(), chunk.GetSize()) && WriteWhole(*stream, flagBytes, kFlagBytes);
  return written ? kResultOk : kResultFalse;
}

tresult IPlugVST3::ReadState(IBStream* stream) {
  if (!stream) return kResultFalse;
  ScopedLock lock(*this);
  // The chunk starts as the current state, so a stream that ends early changes only the
  // parameters whose bytes it brought.
  StateChunk chunk;
  if (!SaveState(chunk) || chunk.GetSize() == 0) return kResultFalse;
  int32 read = 0;
  stream->read(chunk.GetData(), chunk.GetSize(), &read);
  LoadState(chunk, 0);
  // The editor shows what was applied, whether or not the flag follows.
  RefreshEditorParams();
  std::uint8_t flagBytes[kFlagBytes] = {};
  read = 0;
  if (stream->read(flagBytes, kFlagBytes, &read) != kResultOk || read != kFlagBytes) return kResultFalse;
  const std::uint32_t flag = flagBytes[0] | (flagBytes[1] << 8) | (flagBytes[2] << 16) |
                             (static_cast<std::uint32_t>(flagBytes[3]) << 24);
  mBypassed.store(flag != 0, std::memory_order_relaxed);
  return kResultOk;
}
