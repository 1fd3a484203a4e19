// The status lamp's fade: the share of the lamp's last kFrames − 1 drawn frames in which it was
// lit, so a change of the flag fades over kFrames − 1 frames.
#pragma once

class LampFader {
public:
  static constexpr int kFrames = 60;

  double Step(bool lit) {
    mLitFrames += (lit ? 1 : 0) - (mHistory[mPosition] ? 1 : 0);
    mHistory[mPosition] = lit;
    mPosition = (mPosition + 1) % kHistory;
    return mLitFrames / static_cast<double>(kHistory);
  }

private:
  static constexpr int kHistory = kFrames - 1;
  bool mHistory[kHistory] = {};
  int mPosition = 0;
  int mLitFrames = 0;
};
