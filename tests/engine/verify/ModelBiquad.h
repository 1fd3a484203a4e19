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

  double LastOutput() const { return mLastOutput; }
  double Memory(int index) const { return mMemory[index]; }
  double B0() const { return mB0; }
  double B1() const { return mB1; }
  double B2() const { return mB2; }
  double A1() const { return mA1; }
  double A2() const { return mA2; }

private:
  void SweepNonFinite();
  bool SettingsChanged(double frequency, double q, double rate, ModelFilter type) const;
  void Recompute(double frequency, double q, double rate, ModelFilter type);
  double RunSections(double input, int sections);

  double mLastOutput = 0.0;
  double mCachedRate = 0.0;
  double mCachedFrequency = 0.0;
  double mCachedQ = 0.0;
  double mMemory[8] = {};
  double mB0 = 0.0, mB1 = 0.0, mB2 = 0.0, mA1 = 0.0, mA2 = 0.0;
  int mCheckCounter = 1;
  int mCachedType = 0;
};

}  // namespace model
