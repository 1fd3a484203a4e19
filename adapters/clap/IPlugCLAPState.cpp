// IPlugCLAP: the state stream. It holds the VST2 module's program chunk as it is, header
// included, so one stored state serves every format.

#include <cstdint>

#include "adapters/clap/ClapAbi.h"
#include "core/StateChunk.h"

namespace {

constexpr std::int64_t kReadStep = 512;

// Whether the stream took every byte: a write may take fewer than offered, and one that takes
// none or fails ends the save.
bool WriteWhole(const clap_ostream_t& stream, const std::uint8_t* data, std::int64_t size) {
  while (size > 0) {
    const std::int64_t written = stream.write(&stream, data, static_cast<std::uint64_t>(size));
    if (written <= 0 || written > size) return false;
    data += written;
    size -= written;
  }
  return true;
}

// Reads until the stream ends (a read of 0); false for a stream error or more bytes than any
// state of ours, which would only be a host's mistake.
bool ReadWhole(const clap_istream_t& stream, StateChunk& chunk, std::int64_t limit) {
  std::uint8_t buffer[kReadStep];
  for (;;) {
    const std::int64_t read = stream.read(&stream, buffer, sizeof buffer);
    if (read == 0) return true;
    if (read < 0 || read > kReadStep || chunk.GetSize() + read > limit) return false;
    if (chunk.AppendBytes(buffer, static_cast<int>(read)) < 0) return false;
  }
}

}  // namespace

struct ClapStateAbi {
  static bool CLAP_ABI Save(const clap_plugin_t* plugin, const clap_ostream_t* stream) noexcept {
    if (!stream || !stream->write) return false;
    return Guarded(plugin, false, [&](IPlugCLAP& plug) { return plug.SaveStateTo(*stream); });
  }
  static bool CLAP_ABI Load(const clap_plugin_t* plugin, const clap_istream_t* stream) noexcept {
    if (!stream || !stream->read) return false;
    return Guarded(plugin, false, [&](IPlugCLAP& plug) { return plug.LoadStateFrom(*stream); });
  }
};

const clap_plugin_state_t kClapState = {ClapStateAbi::Save, ClapStateAbi::Load};

bool IPlugCLAP::SaveStateTo(const clap_ostream_t& stream) {
  ExpectThread(ClapThread::Main, "state.save");
  StateChunk chunk;
  {
    ScopedLock lock(*this);
    if (!SaveProgramChunk(chunk)) return false;
  }
  // A host told of success keeps the project as saved: every byte must have gone in.
  return WriteWhole(stream, chunk.GetData(), chunk.GetSize());
}

// Bytes without the chunk's header are no state of this plug-in and change nothing; a state
// cut short keeps what the core applied of it, and the host hears that the load failed.
bool IPlugCLAP::LoadStateFrom(const clap_istream_t& stream) {
  ExpectThread(ClapThread::Main, "state.load");
  StateChunk chunk;
  if (!ReadWhole(stream, chunk, kMaxStateBytes)) return false;
  int position = 0;
  ReadChunkHeader(chunk, position);
  if (position <= 0) return false;
  const bool loaded = LoadStateFromHost(chunk, false) >= 0;
  // The values changed either way: the host reads them again.
  RequestOnMainThread(kRescanValues);
  return loaded;
}
