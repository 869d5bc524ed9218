// Reading a stretch of a colour table: the entries between two colour
// indices, interpolated linearly on all four bytes of each entry.
//
// Records: Stretch, Neighbours, BytePairs
// Routines: TruncClamped, TruncByte, MakeStretch, Locate, MixByte, MixScalar, Mix
#pragma once

#include <qorcolor/qorcolor.h>

#include <algorithm>
#include <cmath>

#if defined(__SSE2__) || defined(_M_X64)
#include <emmintrin.h>
#define QORCOLOR_COLORTABLE_SSE2 1
#else
#define QORCOLOR_COLORTABLE_SSE2 0
#endif

namespace qorcolor::colortable {

// trunc(v) for v between lo and hi; the nearer bound outside them and lo for
// NaN, so no value that an int cannot hold is ever converted.
inline int TruncClamped(double v, int lo, int hi) {
    if (v >= hi) return hi;
    if (v > lo) return static_cast<int>(v);
    return lo;
}

// A byte truncated toward zero: NaN and anything below 1 give 0, anything
// from 255 on gives 255.
inline unsigned int TruncByte(double v) {
    if (!(v > 0.0)) return 0;
    if (v >= 255.0) return 255;
    return static_cast<unsigned int>(v);
}

// The entries from `low` to `high` of a table of maxIndex + 1 entries. Both
// indices lie in 0..maxIndex; span = high - low is negative when the stretch
// runs backwards, and positions p along it lie in [minStep, maxStep].
struct Stretch {
    const unsigned int* table;
    int low;
    int high;
    int span;
    int minStep;
    int maxStep;
};

// The stretch that the parameter record selects, with its colour indices
// clamped into the table. Without a table it is a single entry of 0.
Stretch MakeStretch(const ColorTabParam& param);

// The two entries around position p and the fraction between them. Past the
// stretch's last entry nothing is read: b is a then. The fraction is kept
// inside (-1, 1) (0 for a position that is not a number).
struct Neighbours {
    unsigned int a;
    unsigned int b;
    double f;
};

inline Neighbours Locate(const Stretch& s, double p) {
    const int k = TruncClamped(p, s.minStep, s.maxStep);
    const unsigned int a = s.table[s.low + k];
    const unsigned int b = k >= s.span ? a : s.table[s.low + k + 1];
    const double f = p - k;
    return {a, b, std::fabs(f) < 1.0 ? f : 0.0};
}

// With |f| < 1 the weighted sum lies within (-255, 510), so converting it to
// int is defined; the clamp only matters for positions outside the stretch.
inline unsigned int MixByte(unsigned int a, unsigned int b, int shift, double f) {
    const double v = ((a >> shift) & 0xFFu) * (1.0 - f) + ((b >> shift) & 0xFFu) * f;
    return static_cast<unsigned int>(std::clamp(static_cast<int>(v), 0, 255)) << shift;
}

// a's bytes weighted by 1 - f plus b's weighted by f, each truncated.
inline unsigned int MixScalar(const Neighbours& n) {
    return MixByte(n.a, n.b, 0, n.f) | MixByte(n.a, n.b, 8, n.f) | MixByte(n.a, n.b, 16, n.f) |
           MixByte(n.a, n.b, 24, n.f);
}

#if QORCOLOR_COLORTABLE_SSE2
// The four bytes of an entry as doubles, two per register.
struct BytePairs {
    __m128d low;
    __m128d high;
};

inline BytePairs SplitBytes(unsigned int entry) {
    const __m128i zero = _mm_setzero_si128();
    const __m128i bytes = _mm_cvtsi32_si128(static_cast<int>(entry));
    const __m128i lanes = _mm_unpacklo_epi16(_mm_unpacklo_epi8(bytes, zero), zero);
    return {_mm_cvtepi32_pd(lanes), _mm_cvtepi32_pd(_mm_srli_si128(lanes, 8))};
}

// MixScalar two bytes at a time: the same multiplications, additions and
// truncations per byte; the packs saturate into 0..255 as the clamp does.
inline unsigned int Mix(const Neighbours& n) {
    const BytePairs a = SplitBytes(n.a);
    const BytePairs b = SplitBytes(n.b);
    const __m128d g = _mm_set1_pd(1.0 - n.f);
    const __m128d f = _mm_set1_pd(n.f);
    const __m128i low = _mm_cvttpd_epi32(_mm_add_pd(_mm_mul_pd(a.low, g), _mm_mul_pd(b.low, f)));
    const __m128i high = _mm_cvttpd_epi32(_mm_add_pd(_mm_mul_pd(a.high, g), _mm_mul_pd(b.high, f)));
    const __m128i words = _mm_packs_epi32(_mm_unpacklo_epi64(low, high), _mm_setzero_si128());
    return static_cast<unsigned int>(_mm_cvtsi128_si32(_mm_packus_epi16(words, words)));
}
#else
inline unsigned int Mix(const Neighbours& n) { return MixScalar(n); }
#endif

}  // namespace qorcolor::colortable
