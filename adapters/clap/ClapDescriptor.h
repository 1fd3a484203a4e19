#pragma once
// What the CLAP module's factory says about its one plug-in, from the one release version.

#include <clap/clap.h>

#include "BrelvaneRelease.h"

namespace clapmodule {

constexpr char kPluginId[] = "com.orrindale.brelvane";
constexpr const char* kName = release::kProduct;
constexpr const char* kVendor = release::kVendor;
constexpr const char* kUrl = release::kUrl;
constexpr const char* kVersion = release::kVersion;
constexpr const char* kDescription = release::kDescription;

inline constexpr const char* kFeatures[] = {
    CLAP_PLUGIN_FEATURE_AUDIO_EFFECT, CLAP_PLUGIN_FEATURE_COMPRESSOR, CLAP_PLUGIN_FEATURE_LIMITER,
    CLAP_PLUGIN_FEATURE_STEREO,       CLAP_PLUGIN_FEATURE_MONO,       nullptr,
};

}  // namespace clapmodule
