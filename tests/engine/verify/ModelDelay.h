// Model of the circular delay: the input of length − 1 calls ago; a new length clears the buffer.
#pragma once

#include <algorithm>
#include <vector>

namespace model {

class ModelDelay {
public:
  double Process(double input, int length) {
    if (position_ >= length) position_ = 0;
    if (length < 1) return input;
    if (length != length_) Resize(length);
    buffer_[position_] = input;
    position_ = position_ + 1 == length ? 0 : position_ + 1;
    return buffer_[position_];
  }

  // Zeroes the stored samples at the present size; position and length stay.
  void Zero() { std::fill(buffer_.begin(), buffer_.end(), 0.0); }

private:
  void Resize(int length) {
    buffer_.assign(static_cast<size_t>(length), 0.0);
    length_ = length;
  }

  std::vector<double> buffer_;
  int position_ = 0;
  int length_ = 0;
};

}  // namespace model
