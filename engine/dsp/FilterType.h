// Response of a BiquadCascade section.
#pragma once

enum class FilterType : int { LowPass = 0, HighPass = 1 };
