#pragma once
// The kind of a parameter: decides step rounding and how hosts and editors present it.

#include <cstdint>

enum class ParamType : std::int32_t { None = 0, Bool = 1, Int = 2, Enum = 3, Double = 4 };
