#pragma once
// One preset: whether it holds values yet, its name and the parameter block it stores.

#include "core/StateChunk.h"

struct PresetSlot {
  static constexpr int kNameSize = 256;  // 255 characters and the terminator

  bool initialized = false;
  char name[kNameSize] = "empty";
  StateChunk state;
};
