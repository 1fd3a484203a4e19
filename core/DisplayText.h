#pragma once
// A text shown instead of the number for one integer value of a parameter ("on", "A").

#include <cstdint>

struct DisplayText {
  std::int32_t value;
  char text[32];
};
