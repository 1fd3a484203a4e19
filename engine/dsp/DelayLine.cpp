#include "engine/dsp/DelayLine.h"

#include <algorithm>

DelayLine::DelayLine() { mBuffer.reserve(kReservedLength); }

void DelayLine::Clear() { std::fill(mBuffer.begin(), mBuffer.end(), 0.0); }

// A new length starts from silence: the old contents belong to a different delay.
void DelayLine::Resize(int length) {
  mBuffer.assign(static_cast<std::size_t>(length), 0.0);
  mLength = length;
}
