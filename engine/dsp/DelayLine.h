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

  double process(double input, int length) {
    if (position_ >= length) position_ = 0;
    if (length < 1) return input;
    if (length != length_) resize(length);
    buffer_[position_] = input;
    if (++position_ == length) position_ = 0;
    return buffer_[position_];
  }

  // Zeroes the stored samples at the buffer's present size; length and position stay.
  void clear();

  int length() const { return length_; }
  int position() const { return position_; }
  int size() const { return static_cast<int>(buffer_.size()); }
  int capacity() const { return static_cast<int>(buffer_.capacity()); }
  double at(int index) const { return buffer_[static_cast<std::size_t>(index)]; }

private:
  void resize(int length);

  std::vector<double> buffer_;
  int position_ = 0;
  int length_ = 0;
};
