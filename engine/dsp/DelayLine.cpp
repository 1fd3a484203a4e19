#include "engine/dsp/DelayLine.h"

#include <algorithm>

DelayLine::DelayLine() { buffer_.reserve(kReservedLength); }

void DelayLine::clear() { std::fill(buffer_.begin(), buffer_.end(), 0.0); }

// A new length starts from silence: the old contents belong to a different delay.
void DelayLine::resize(int length) {
  buffer_.assign(static_cast<std::size_t>(length), 0.0);
  length_ = length;
}
