#include "ReferenceChain.h"

#include <xmmintrin.h>

#include <algorithm>
#include <cmath>

namespace {
double coef(double ms, int rate) { return ms < 1e-10 ? 0.0 : std::exp(-1.0 / (rate * ms * 0.001)); }
bool differs(double a, double b) { return std::fabs(a - b) >= 1e-10; }
bool tiny(double x) { return x == 0.0 || std::fpclassify(x) == FP_SUBNORMAL; }
double gainOf(double db) { return db > -200 ? std::pow(10.0, db / 20) : 0.0; }
}  // namespace

ReferenceChain::ReferenceChain() = default;

void ReferenceChain::param(int index, double v) {
  if (index == 0) target_[0] = gainOf(v);
  if (index == 1) target_[1] = v;
  if (index == 2) target_[2] = 4.3 * v + 20;
  if (index == 3) target_[3] = gainOf(v);
  if (index == 4) {
    const double b = v / 6;
    target_[4] = (((1 - b) * 0 + b * 0.05) * (1 - b) + ((1 - b) * 0.05 + b * 1) * b) * 6 * 0.083;
  }
  if (index == 5) target_[5] = gainOf(v);
  if (index == 6) target_[6] = gainOf(v);
  if (index == 8) {
    const int mode = static_cast<int>(v);
    const double table[4][5] = {
        {1.5, 1.5, 250, 200, 280}, {1.0, 1.0, 50, 30, 20}, {0.2, 0.2, 50, 30, 5}, {0, 0, 320, 300, 2}};
    if (mode >= 1 && mode <= 4) std::copy(table[mode - 1], table[mode - 1] + 5, timing_);
  }
  if (index == 9) bandAttack_ = v >= 0.5 ? 0 : 1;
  if (index == 10) finalAttack_ = v >= 0.5 ? 0 : 1;
}

double ReferenceChain::smooth(Smooth& s, double target, int rate, double ms, double lo, double hi) {
  if (differs(ms, s.time) || rate != s.rate) {
    s.c = coef(ms, rate);
    s.time = ms;
    s.rate = rate;
  }
  const double range = hi - lo;
  const double t = (target - lo) / range;
  if (0.01 / range > std::fabs(t - s.s)) return target;
  s.s = (s.s - t) * s.c + t;
  if (tiny(s.s)) {
    s.s = 0;
    return lo;
  }
  return s.s * range + lo;
}

double ReferenceChain::follow(Follow& f, double in, int rate, double riseMs, double fallMs) {
  const double x = std::fabs(in);
  if (differs(riseMs, f.riseMs) || differs(fallMs, f.fallMs) || rate != f.rate) {
    f.up = coef(riseMs, rate);
    f.down = coef(fallMs, rate);
    f.riseMs = riseMs;
    f.fallMs = fallMs;
    f.rate = rate;
  }
  f.v = (f.v - x) * (x > f.v ? f.up : f.down) + x;
  return f.v;
}

double ReferenceChain::delay(Delay& d, double in, int len) {
  if (d.pos >= len) d.pos = 0;
  if (len < 1) return in;
  if (len != d.len) {
    d.buf.assign(len, 0.0);
    d.len = len;
  }
  d.buf[d.pos] = in;
  d.pos = (d.pos + 1) % len;
  return d.buf[d.pos];
}

double ReferenceChain::average(Limiter& l, double in, int window) {
  if (window != l.avgWindow) {
    l.avgWindow = window;
    std::fill(l.avgDelay.buf.begin(), l.avgDelay.buf.end(), 0.0);
    l.sum = 0;
  }
  if (window <= 1) return in;
  const double old = delay(l.avgDelay, in, window);
  l.sum = in + l.sum - old;
  const double r = l.sum / (window - 1);
  return tiny(r) ? 0.0 : r;
}

// The peak over the window is taken by a plain scan of the whole window every sample.
void ReferenceChain::limit(Limiter& l, double inL, double inR, double attackMs, double recoveryMs,
                           double aheadMs, int rate) {
  const int n = aheadMs < 1e-10 ? 0 : static_cast<int>(rate * aheadMs * 0.001);
  double m = std::max(std::fabs(inL), std::fabs(inR));
  if (l.pos >= n) l.pos = 0;
  if (n > 0) {
    if (n != l.peakLen) {
      l.peaks.assign(n, 0.0);
      l.peakLen = n;
    }
    l.peaks[l.pos] = m;
    m = *std::max_element(l.peaks.begin(), l.peaks.end());
    l.pos = (l.pos + 1) % n;
  }
  const double target = m > 1.0 ? 1.0 / m : 1.0;
  l.gain = follow(l.f, average(l, target, n), rate, recoveryMs, attackMs);
  l.outL = delay(l.dl, inL, n) * l.gain;
  l.outR = delay(l.dr, inR, n) * l.gain;
}

double ReferenceChain::biquad(Biquad& f, double in, double hz, double rate, int type, int sections) {
  const unsigned mode = _mm_getcsr();
  _mm_setcsr(mode | 0x8040);
  if (f.check-- < 0) {
    f.check = 10;
    for (double& z : f.z) z = std::isfinite(z) ? z : 0.0;
    f.last = std::isfinite(f.last) ? f.last : 0.0;
  }
  if (differs(rate, f.rate) || type != f.type || differs(hz, f.freq) || differs(0.7, f.q)) {
    f.rate = rate;
    f.type = type;
    f.freq = hz;
    f.q = 0.7;
    const double q = std::max(0.1, 0.7);
    const double w = 3.141592653589793 * hz / rate;
    const double k = -(5 * (2 * (w * w * w) - 21 * w)) / (105 - 45 * (w * w) + (w * w) * (w * w));
    const double n = 1 / (1 + k / q + k * k);
    f.a1 = 2 * (k * k - 1) * n;
    f.a2 = (1 - k / q + k * k) * n;
    f.b0 = type == 0 ? k * k * n : n;
    f.b1 = type == 0 ? 2 * f.b0 : -2 * n;
    f.b2 = f.b0;
  }
  double x = in;
  for (int s = 0; s < sections; ++s) {
    const double y = f.b0 * x + f.z[2 * s];
    f.z[2 * s] = f.b1 * x + f.z[2 * s + 1] - f.a1 * y;
    f.z[2 * s + 1] = f.b2 * x - f.a2 * y;
    x = y;
  }
  f.last = x;
  _mm_setcsr(mode);
  return x;
}

void ReferenceChain::meter(Meter& m, double level, int rate) {
  const double x = std::min(level, 1.99526);
  m.needle = follow(m.rise, follow(m.peak, x, rate, 0, 300), rate, 300, 0);
}

void ReferenceChain::frame(double inL, double inR, double power, double& outL, double& outR) {
  const int r = rate_;
  const double ps = smooth(sm_[0], power, r, 25, 0, 1);
  const double xL = ps * inL, xR = ps * inR;
  const double gp = smooth(sm_[1], target_[0], r, 40, 1.0, 17.7828);
  const double fc = smooth(sm_[2], target_[1], r, 40, 20, 300);
  const double ft = smooth(sm_[3], target_[2], r, 40, 120, 400);
  const double gb = smooth(sm_[4], target_[3], r, 40, 0.316228, 3.16228);
  const double ac = smooth(sm_[5], target_[4], r, 40, 0, 7.8);
  const double gf = smooth(sm_[6], target_[5], r, 40, 1.0, 17.7828);
  const double gt = smooth(sm_[7], target_[6], r, 40, 0.1, 10);

  const double hL = biquad(lowCut_[0], gp * xL, fc, r, 1, 2);
  const double hR = biquad(lowCut_[1], gp * xR, fc, r, 1, 2);
  const double lowL = biquad(tightLow_[0], hL, ft, r, 0, 2);
  const double lowR = biquad(tightLow_[1], hR, ft, r, 0, 2);
  const double highL = biquad(tightHigh_[0], hL, ft, r, 1, 2);
  const double highR = biquad(tightHigh_[1], hR, ft, r, 1, 2);

  Limiter& bass = limiters_[0];
  limit(bass, lowL * 17.7827941, lowR * 17.7827941, bandAttack_, timing_[2], timing_[0], r);
  const double bassL = bass.outL * 0.1 * gb, bassR = bass.outR * 0.1 * gb;

  meter(meters_[0], std::max(std::fabs(highL * 1.6), std::fabs(highR * 1.6)), r);
  Limiter& pres = limiters_[1];
  limit(pres, highL, highR, bandAttack_, timing_[3], timing_[0], r);

  const double aL = biquad(air_[0], pres.outL, 10000, r, 1, 1) * 5.62341 * 2.2;
  const double aR = biquad(air_[1], pres.outR, 10000, r, 1, 1) * 5.62341 * 2.2;
  const double sL = std::tanh(aL);
  const double s = ((std::sqrt((aR + 0.5) * (aR + 0.5) + 0.002) - 0.04472136124968529) -
                    (std::sqrt((aR - 0.5) * (aR - 0.5) + 0.002) - 0.04472136124968529)) *
                   0.5;
  const double sR = (s * 0.07970000058412552 + 0.09446000307798386) * s + s;

  const double mL = (pres.outL + bassL + ac * sL) * gf;
  const double mR = (pres.outR + bassR + ac * sR) * gf;
  meter(meters_[1], std::max(std::fabs(mL * 1.6), std::fabs(mR * 1.6)), r);
  Limiter& fin = limiters_[2];
  limit(fin, mL, mR, finalAttack_, timing_[4], timing_[1], r);

  outL = (1 - ps) * inL + ps * (gt * fin.outL);
  outR = (1 - ps) * inR + ps * (gt * fin.outR);
}
