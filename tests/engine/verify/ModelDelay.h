// Model of the circular delay: the input of length − 1 calls ago; a new length clears the buffer.
#pragma once

#include <algorithm>
#include <vector>

namespace model {

class ModelDelay {
public:
  double Process(double input, int length) {
    if (mPosition >= length) mPosition = 0;
    if (length < 1) return input;
    if (length != mLength) Resize(length);
    mBuffer[mPosition] = input;
    mPosition = mPosition + 1 == length ? 0 : mPosition + 1;
    return mBuffer[mPosition];
  }

  // Zeroes the stored samples at the present size; position and length stay.
  void Zero() { std::fill(mBuffer.begin(), mBuffer.end(), 0.0); }

private:
  void Resize(int length) {
    mBuffer.assign(static_cast<size_t>(length), 0.0);
    mLength = length;
  }

  std::vector<double> mBuffer;
  int mPosition = 0;
  int mLength = 0;
};

}  // namespace model
