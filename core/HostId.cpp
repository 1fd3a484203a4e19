#include "core/HostId.h"

#include <cstring>

namespace {

struct KnownHost {
  const char* text;
  HostId id;
};

// Tested in this order: a text naming two hosts belongs to the earlier one.
const KnownHost kKnownHosts[] = {
    {"cubase", HostId::Cubase},
    {"reaper", HostId::Reaper},
    {"nuendo", HostId::Nuendo},
    {"cakewalk", HostId::Cakewalk},
    {"samplitude", HostId::Samplitude},
    {"fruity", HostId::Fruity},
    {"live", HostId::Live},
    {"melodyne", HostId::Melodyne},
    {"vstmanlib", HostId::VstManLib},
    {"aulab", HostId::AULab},
    {"garageband", HostId::GarageBand},
    {"forte", HostId::Forte},
    {"chainer", HostId::Chainer},
    {"audition", HostId::Audition},
    {"orion", HostId::Orion},
    {"sawstudio", HostId::SawStudio},
    {"logic", HostId::Logic},
    {"digital", HostId::Digital},
    {"audiomulch", HostId::AudioMulch},
    {"presonus", HostId::Presonus},
    {"vst3plugintesthost", HostId::Vst3PluginTestHost},
    {"protools", HostId::ProTools},
    {"ardour", HostId::Ardour},
    {"standalone", HostId::Standalone},
};

}  // namespace

HostId IdentifyHost(const char* productText) {
  if (!productText) return HostId::Unknown;
  char lower[256];
  int n = 0;
  for (; n < 255 && productText[n]; ++n) {
    const char c = productText[n];
    lower[n] = (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
  }
  lower[n] = 0;
  for (const KnownHost& host : kKnownHosts) {
    if (std::strstr(lower, host.text)) return host.id;
  }
  return HostId::Unknown;
}

std::int32_t PackHostVersion(std::int32_t decimalVersion) {
  const std::int32_t v = decimalVersion;
  return static_cast<std::int32_t>((static_cast<std::uint32_t>(v / 10000) << 16) +
                                   (static_cast<std::uint32_t>((v % 10000) / 100) << 8) +
                                   static_cast<std::uint32_t>(v % 100));
}
