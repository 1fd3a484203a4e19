// IPlugVST3: the state stream. It holds the core's parameter block as it is, without a header,
// followed by the bypass flag as a little-endian 32-bit integer. The component and the
// controller hand out and take the same stream.

#include <cstdint>

#include "adapters/vst3/IPlugVST3.h"
#include "core/StateChunk.h"

using namespace Steinberg;

namespace {

constexpr int32 kFlagBytes = 4;

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
  const std::uint8_t flagBytes[kFlagBytes] = {static_cast<std::uint8_t>(flag), 0, 0, 0};
  // What the stream makes of the bytes is the host's business.
  if (chunk.GetSize() > 0) stream->write(chunk.GetData(), chunk.GetSize(), nullptr);
  stream->write(const_cast<std::uint8_t*>(flagBytes), kFlagBytes, nullptr);
  return kResultOk;
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
