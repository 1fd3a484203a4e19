#pragma once
// What the VST3 module's factory says about its maker and its one plug-in class.

#include "BrelvaneRelease.h"

namespace vst3module {

constexpr const char* kVendor = release::kVendor;
constexpr const char* kUrl = release::kUrl;
constexpr const char* kEmail = release::kMailto;

constexpr char kCategory[] = "Audio Module Class";
constexpr const char* kName = release::kProduct;
constexpr char kSubCategories[] = "Fx|Dynamics";
constexpr const char* kVersion = release::kVersion;
// The interface version the class says it was written against, which hosts read as such; not
// the SDK the module is built with.
constexpr char kSdkVersion[] = "VST 3.6.6";

// The class id F2AEE70D-00DE-4F4E-4F72-726E5176656C: two words of its own, then the maker's code
// 'Orrn' and the plug-in's code 'Qvel', laid out as COM lays out an identifier (first word
// little-endian, second as two little-endian halves, the last two big-endian) on every platform.
constexpr unsigned char kClassId[16] = {
    0x0D, 0xE7, 0xAE, 0xF2, 0xDE, 0x00, 0x4E, 0x4F, 'O', 'r', 'r', 'n', 'Q', 'v', 'e', 'l',
};

}  // namespace vst3module
