#pragma once
// The host interface a module speaks; the editor asks it to choose parameter menus.

#include <cstdint>

enum class ApiId : std::int32_t { Vst2 = 0, Vst3 = 1, Clap = 2, Lv2 = 3 };
