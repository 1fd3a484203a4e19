#include "raster/BlitRows.h"

#include "raster/BlitPixels.h"

#if defined(__SSE2__)
#include <emmintrin.h>
#endif
#if defined(__SSE2__) && defined(__GNUC__)
// The add with source alpha is pure arithmetic on every pixel; on processors with AVX2 it takes
// eight pixels a step, chosen at run time.
#include <immintrin.h>
#define BREL_RASTER_AVX2_ADD 1
#endif

namespace BlitRows {

#if defined(__SSE2__)
namespace {

// Four pixels per step, two channels per 16-bit lane. A byte times a weight of at most 256 is at
// most 65280 and fits its lane; truncation toward zero of (D - S) x k / 256 is S plus or minus
// (|D - S| x k) >> 8, the sign and size taken from the two saturated differences (one is always 0).

const __m128i kAlphaBytes = _mm_set1_epi32(static_cast<int>(0xFF000000u));
const __m128i kEvenBytes = _mm_set1_epi32(0x00FF00FF);
const __m128i kOddBytes = _mm_set1_epi32(static_cast<int>(0xFF00FF00u));

inline __m128i Load(const LicePixel* p) { return _mm_loadu_si128(reinterpret_cast<const __m128i*>(p)); }
inline void Store(LicePixel* p, __m128i v) { _mm_storeu_si128(reinterpret_cast<__m128i*>(p), v); }

// A per-pixel factor (the low 16 bits of each 32-bit lane) in both 16-bit halves of its lane.
inline __m128i Spread(__m128i perPixel) { return _mm_or_si128(perPixel, _mm_slli_epi32(perPixel, 16)); }

// (byte x factor) >> 8 in every byte, the factor (0..256) spread as by Spread.
inline __m128i ScaleBytes(__m128i x, __m128i factor) {
  const __m128i even = _mm_srli_epi16(_mm_mullo_epi16(_mm_and_si128(x, kEvenBytes), factor), 8);
  const __m128i odd = _mm_and_si128(_mm_mullo_epi16(_mm_srli_epi16(x, 8), factor), kOddBytes);
  return _mm_or_si128(even, odd);
}

// S + trunc((D - S) x keep / 256) in every byte. The sum stays within S..D, so bytes never carry.
inline __m128i Toward(__m128i d, __m128i s, __m128i keep) {
  const __m128i rise = ScaleBytes(_mm_subs_epu8(d, s), keep);
  const __m128i fall = ScaleBytes(_mm_subs_epu8(s, d), keep);
  return _mm_sub_epi8(_mm_add_epi8(s, rise), fall);
}

// D + (S x n) >> 8 in every byte, saturated.
inline __m128i AddScaled(__m128i d, __m128i s, __m128i n) { return _mm_adds_epu8(d, ScaleBytes(s, n)); }

inline bool AllAlpha(__m128i s, __m128i alpha) {
  return _mm_movemask_epi8(_mm_cmpeq_epi32(_mm_and_si128(s, kAlphaBytes), alpha)) == 0xFFFF;
}

inline __m128i WithAlpha(__m128i colour, __m128i alpha) {
  return _mm_or_si128(_mm_andnot_si128(kAlphaBytes, colour), _mm_and_si128(kAlphaBytes, alpha));
}

// Where the source alpha is 0 the destination stays.
inline __m128i KeepTransparent(__m128i result, __m128i d, __m128i s) {
  const __m128i clear = _mm_cmpeq_epi32(_mm_and_si128(s, kAlphaBytes), _mm_setzero_si128());
  return _mm_or_si128(_mm_and_si128(clear, d), _mm_andnot_si128(clear, result));
}

}  // namespace

void OverFull(LicePixel* dst, const LicePixel* src, int count) {
  int i = 0;
  for (; i + 4 <= count; i += 4) {
    const __m128i s = Load(src + i);
    if (AllAlpha(s, kAlphaBytes)) {
      Store(dst + i, s);
      continue;
    }
    if (AllAlpha(s, _mm_setzero_si128())) continue;
    const __m128i d = Load(dst + i);
    const __m128i keep = Spread(_mm_sub_epi32(_mm_set1_epi32(255), _mm_srli_epi32(s, 24)));
    const __m128i mixed = WithAlpha(Toward(d, s, keep), _mm_adds_epu8(d, s));
    Store(dst + i, KeepTransparent(mixed, d, s));
  }
  for (; i < count; ++i) dst[i] = BlitPixels::OverFull(dst[i], src[i]);
}

void OverWeighted(LicePixel* dst, const LicePixel* src, int count, int w) {
  const __m128i weight = _mm_set1_epi32(w);
  int i = 0;
  for (; i + 4 <= count; i += 4) {
    const __m128i s = Load(src + i);
    if (_mm_movemask_epi8(_mm_cmpeq_epi32(_mm_and_si128(s, kAlphaBytes), _mm_setzero_si128())) == 0xFFFF)
      continue;
    const __m128i d = Load(dst + i);
    // p = w x (A + 1) >> 8, at most 255 for w below 256.
    const __m128i alphaPlusOne = _mm_add_epi32(_mm_srli_epi32(s, 24), _mm_set1_epi32(1));
    const __m128i p = _mm_srli_epi32(_mm_mullo_epi16(alphaPlusOne, weight), 8);
    const __m128i keep = Spread(_mm_sub_epi32(_mm_set1_epi32(256), p));
    const __m128i mixed = WithAlpha(Toward(d, s, keep), _mm_adds_epu8(d, _mm_slli_epi32(p, 24)));
    Store(dst + i, KeepTransparent(mixed, d, s));
  }
  for (; i < count; ++i) dst[i] = BlitPixels::OverWeighted(dst[i], src[i], w);
}

#if defined(BREL_RASTER_AVX2_ADD)
namespace {

// The eight-pixel form of AddScaled with n = w x (A + 1) >> 8 (A + 1 at w = 256); returns how many
// pixels it did.
__attribute__((target("avx2"))) int AddWithAlphaAvx2(LicePixel* dst, const LicePixel* src, int count, int w) {
  const __m256i one = _mm256_set1_epi32(1), weight = _mm256_set1_epi32(w);
  const __m256i even = _mm256_set1_epi32(0x00FF00FF), odd = _mm256_set1_epi32(static_cast<int>(0xFF00FF00u));
  int i = 0;
  for (; i + 8 <= count; i += 8) {
    const __m256i s = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(src + i));
    const __m256i d = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(dst + i));
    __m256i n = _mm256_add_epi32(_mm256_srli_epi32(s, 24), one);
    if (w != 256) n = _mm256_srli_epi32(_mm256_mullo_epi16(n, weight), 8);
    n = _mm256_or_si256(n, _mm256_slli_epi32(n, 16));
    const __m256i low = _mm256_srli_epi16(_mm256_mullo_epi16(_mm256_and_si256(s, even), n), 8);
    const __m256i high = _mm256_and_si256(_mm256_mullo_epi16(_mm256_srli_epi16(s, 8), n), odd);
    _mm256_storeu_si256(reinterpret_cast<__m256i*>(dst + i), _mm256_adds_epu8(d, _mm256_or_si256(low, high)));
  }
  return i;
}

const bool kHasAvx2 = __builtin_cpu_supports("avx2");

}  // namespace
#endif

void AddWithAlpha(LicePixel* dst, const LicePixel* src, int count, int w) {
  // n = w x (A + 1) >> 8, which at w = 256 is A + 1 (whose product with 256 would not fit). The
  // alpha byte, D.a + (A x n) >> 8, follows the colour's formula, as S's alpha byte is A; A = 0
  // adds nothing, its n being at most 1.
  int i = 0;
#if defined(BREL_RASTER_AVX2_ADD)
  if (kHasAvx2) i = AddWithAlphaAvx2(dst, src, count, w);
#endif
  const __m128i one = _mm_set1_epi32(1), weight = _mm_set1_epi32(w);
  for (; i + 4 <= count; i += 4) {
    const __m128i s = Load(src + i);
    __m128i n = _mm_add_epi32(_mm_srli_epi32(s, 24), one);
    if (w != 256) n = _mm_srli_epi32(_mm_mullo_epi16(n, weight), 8);
    Store(dst + i, AddScaled(Load(dst + i), s, Spread(n)));
  }
  for (; i < count; ++i) dst[i] = BlitPixels::AddWithAlpha(dst[i], src[i], w);
}

void Add(LicePixel* dst, const LicePixel* src, int count, int w) {
  int i = 0;
  if (w == 256) {
    for (; i + 4 <= count; i += 4) Store(dst + i, _mm_adds_epu8(Load(dst + i), Load(src + i)));
  } else {
    const __m128i n = Spread(_mm_set1_epi32(w));
    for (; i + 4 <= count; i += 4) Store(dst + i, AddScaled(Load(dst + i), Load(src + i), n));
  }
  for (; i < count; ++i) dst[i] = PixelOps::Apply(BlitAdd, dst[i], PixelOps::Split(src[i]), w);
}

#else

void OverFull(LicePixel* dst, const LicePixel* src, int count) {
  for (int i = 0; i < count; ++i) dst[i] = BlitPixels::OverFull(dst[i], src[i]);
}
void OverWeighted(LicePixel* dst, const LicePixel* src, int count, int w) {
  for (int i = 0; i < count; ++i) dst[i] = BlitPixels::OverWeighted(dst[i], src[i], w);
}
void AddWithAlpha(LicePixel* dst, const LicePixel* src, int count, int w) {
  for (int i = 0; i < count; ++i) dst[i] = BlitPixels::AddWithAlpha(dst[i], src[i], w);
}
void Add(LicePixel* dst, const LicePixel* src, int count, int w) {
  for (int i = 0; i < count; ++i) dst[i] = PixelOps::Apply(BlitAdd, dst[i], PixelOps::Split(src[i]), w);
}

#endif

}  // namespace BlitRows
