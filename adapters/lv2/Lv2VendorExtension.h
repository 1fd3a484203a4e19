#pragma once
// What only our own hosts and our own editor ask a Brelvane LV2 instance, beyond what LV2 offers,
// as the VST2 vendor opcodes and the CLAP extension of ours do for those modules: the processed
// signal's delay, the display texts of values, the program chunk the other formats save, and the
// meters as the engine leaves them. The plug-in's `extension_data` hands the table out for
// kLv2PrivateUri (BrelvaneRelease.h); the editor reaches it through LV2's data-access feature, a
// host through lilv. Plain C types only: the table crosses from one binary of the bundle to another.

#include <cstdint>

#include <lv2/core/lv2.h>

// A meter as the engine left it: the needle's level (1 is the clip threshold), its lamp, the mode
// its LEDs show.
struct Lv2MeterReading {
  double level;
  std::int32_t lamp;
  std::int32_t mode;
};

struct Lv2BrelvanePrivate {
  // Samples, or -1 when the plug-in cannot tell.
  std::int32_t (*processedDelay)(LV2_Handle instance);
  // The text the plug-in shows for a plain value of a parameter (its display text or its number),
  // and its label; false for an index that is none. Both always terminated within `size`.
  bool (*formatValue)(LV2_Handle instance, std::uint32_t param, double value, char* text, char* label,
                      std::uint32_t size);
  // A value typed as text, read as every other format reads it; false when refused.
  bool (*parseValue)(LV2_Handle instance, std::uint32_t param, const char* text, double* value);
  // The value the parameter holds now (after a chunk was loaded, say).
  double (*paramValue)(LV2_Handle instance, std::uint32_t param);
  // The program chunk: the bytes written into `out` (at most `capacity`), or the size it needs
  // when `out` is null; 0 on failure.
  std::uint32_t (*saveChunk)(LV2_Handle instance, std::uint8_t* out, std::uint32_t capacity);
  // Applies a program chunk; false when it was cut short or damaged (what was read stays applied).
  bool (*loadChunk)(LV2_Handle instance, const std::uint8_t* data, std::uint32_t size);
  // One meter; false for an index that is none. Safe on any thread, at any time.
  bool (*readMeter)(LV2_Handle instance, std::uint32_t meter, Lv2MeterReading* reading);
};
