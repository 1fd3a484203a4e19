#pragma once
// Which host runs the plug-in, recognised from the product text the host reports.

#include <cstdint>

enum class HostId : std::int32_t {
  NotAsked = -1,  // the host has not been identified yet
  Unknown = 0,
  Reaper = 1,
  ProTools = 2,
  Cubase = 3,
  Nuendo = 4,
  Cakewalk = 5,
  Fruity = 7,
  Samplitude = 8,
  Live = 9,
  Melodyne = 12,
  VstManLib = 13,
  AULab = 14,
  Forte = 15,
  Chainer = 16,
  Audition = 17,
  Orion = 18,
  SawStudio = 20,
  Logic = 21,
  GarageBand = 22,
  Digital = 23,
  Standalone = 24,
  AudioMulch = 25,
  Presonus = 26,
  Vst3PluginTestHost = 27,
  Ardour = 28,
};

// Looks for the known host names in the product text (case-insensitive, first 255 characters);
// the first one found in a fixed order decides. A missing or empty text gives Unknown.
HostId IdentifyHost(const char* productText);

// Packs a host's decimal version number (major * 10000 + minor * 100 + patch) like the
// plug-in's own version word: major in bits 16..31, minor in 8..15, patch in 0..7.
std::int32_t PackHostVersion(std::int32_t decimalVersion);
