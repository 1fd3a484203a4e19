// Feeds arbitrary bytes as a CLAP state stream to the Brelvane plug-in built on the CLAP adapter,
// through its state extension, the first byte choosing how many bytes each read hands over. Any
// crash, out-of-bounds access, a parameter left outside its range (or not a number), or a saved
// state that does not restore to itself is a finding.

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "adapters/clap/IPlugCLAP.h"

namespace {

struct Bytes {
  const std::uint8_t* data;
  std::size_t size;
  std::size_t step;
  std::size_t at = 0;
};

std::int64_t CLAP_ABI Read(const clap_istream_t* stream, void* buffer, std::uint64_t size) {
  auto& in = *static_cast<Bytes*>(stream->ctx);
  const std::size_t take = std::min({static_cast<std::size_t>(size), in.size - in.at, in.step});
  std::memcpy(buffer, in.data + in.at, take);
  in.at += take;
  return static_cast<std::int64_t>(take);
}

std::int64_t CLAP_ABI Write(const clap_ostream_t* stream, const void* buffer, std::uint64_t size) {
  auto& out = *static_cast<std::vector<std::uint8_t>*>(stream->ctx);
  const auto* bytes = static_cast<const std::uint8_t*>(buffer);
  out.insert(out.end(), bytes, bytes + size);
  return static_cast<std::int64_t>(size);
}

const void* CLAP_ABI NoExtension(const clap_host_t*, const char*) { return nullptr; }
void CLAP_ABI NoRequest(const clap_host_t*) {}

const clap_host_t kHost = {CLAP_VERSION, nullptr,     "fuzz",    "",        "",
                           "",           NoExtension, NoRequest, NoRequest, NoRequest};

const clap_plugin_t& Plugin() {
  static const clap_plugin_t* plugin = [] {
    const clap_plugin_t* made = MakePlug(IPlugCLAPInstanceInfo{&kHost, nullptr})->ClapPlugin();
    made->init(made);
    return made;
  }();
  return *plugin;
}

const clap_plugin_state_t& State() {
  return *static_cast<const clap_plugin_state_t*>(Plugin().get_extension(&Plugin(), CLAP_EXT_STATE));
}

void CheckRanges() {
  const IPlugBase& plug = *static_cast<const IPlugBase*>(static_cast<IPlugCLAP*>(Plugin().plugin_data));
  for (int i = 0; i < plug.NParams(); ++i) {
    const IParamDef* param = plug.GetParam(i);
    const double v = param->GetValue();
    if (std::isnan(v) || v < param->GetMin() || v > param->GetMax()) std::abort();
  }
}

bool Load(const std::uint8_t* data, std::size_t size, std::size_t step) {
  Bytes bytes{data, size, step};
  const clap_istream_t stream{&bytes, Read};
  return State().load(&Plugin(), &stream);
}

std::vector<std::uint8_t> Save() {
  std::vector<std::uint8_t> bytes;
  const clap_ostream_t stream{&bytes, Write};
  if (!State().save(&Plugin(), &stream)) std::abort();
  return bytes;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  Load(data + 1, size - 1, 1 + data[0] % 64);
  CheckRanges();
  const std::vector<std::uint8_t> saved = Save();
  if (!Load(saved.data(), saved.size(), saved.size()) || Save() != saved) std::abort();
  return 0;
}
