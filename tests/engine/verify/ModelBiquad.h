// Model of the filter cascade: one to four identical low- or high-pass sections in transposed
// direct form II, coefficients from the rational tangent approximation (corner held at or below
// half the rate), a periodic sweep of non-finite memories, and flush-to-zero with
// denormals-are-zero for the duration of each call.
#pragma once

namespace model {

enum class ModelFilter : int { LowPass = 0, HighPass = 1 };

class ModelBiquad {
public:
  double Process(double input, double frequency, double q, double rate, ModelFilter type,
                 int sectionsSelector);

  static double PadeTan(double w);

  double lastOutput() const { return lastOutput_; }
  double memory(int index) const { return memory_[index]; }
  double b0() const { return b0_; }
  double b1() const { return b1_; }
  double b2() const { return b2_; }
  double a1() const { return a1_; }
  double a2() const { return a2_; }

private:
  void SweepNonFinite();
  bool SettingsChanged(double frequency, double q, double rate, ModelFilter type) const;
  void Recompute(double frequency, double q, double rate, ModelFilter type);
  double RunSections(double input, int sections);

  double lastOutput_ = 0.0;
  double cachedRate_ = 0.0;
  double cachedFrequency_ = 0.0;
  double cachedQ_ = 0.0;
  double memory_[8] = {};
  double b0_ = 0.0, b1_ = 0.0, b2_ = 0.0, a1_ = 0.0, a2_ = 0.0;
  int checkCounter_ = 1;
  int cachedType_ = 0;
};

}  // namespace model
