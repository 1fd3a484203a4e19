// Circular delay: returns the input of length − 1 calls ago (length 1 passes the input through).
// Capacity for kReservedLength samples is reserved up front, so length changes within it never allocate.
#pragma once

#include <cstddef>
#include <vector>

class DelayLine {
public:
  // 4096 samples hold 1.5 ms of look-ahead at rates up to 2.7 MHz. A longer length grows the buffer
  // (one allocation, on the call that first needs it).
  static constexpr int kReservedLength = 4096;

  DelayLine();

  double Process(double input, int length) {
    SetLength(length);
    return Step(input, length);
  }

  // Process in two halves, for a caller that runs many samples at one length: SetLength once, then
  // Step for each sample with that same length. After the first Step the position is below the
  // length, so repeating SetLength would change nothing; the split saves its checks per sample.
  void SetLength(int length) {
    if (mPosition >= length) mPosition = 0;
    if (length >= 1 && length != mLength) Resize(length);
  }
  double Step(double input, int length) {
    if (length < 1) return input;
    mBuffer[mPosition] = input;
    if (++mPosition == length) mPosition = 0;
    return mBuffer[mPosition];
  }

  // Zeroes the stored samples at the buffer's present size; length and position stay.
  void Clear();

  int Length() const { return mLength; }
  int Position() const { return mPosition; }
  int Size() const { return static_cast<int>(mBuffer.size()); }
  int Capacity() const { return static_cast<int>(mBuffer.capacity()); }
  double At(int index) const { return mBuffer[static_cast<std::size_t>(index)]; }

private:
  void Resize(int length);

  std::vector<double> mBuffer;
  int mPosition = 0;
  int mLength = 0;
};
