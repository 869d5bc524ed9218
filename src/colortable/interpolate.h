// Reading a stretch of a colour table: the entries between two colour
// indices, interpolated linearly on all four bytes of each entry.
//
// Records: Stretch
// Routines: TruncClamped, TruncByte, MakeStretch, Locate, Mix
#pragma once

#include <qorcolor/qorcolor.h>

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
// stretch's last entry nothing is read: b is a then.
struct Neighbours {
    unsigned int a;
    unsigned int b;
    double f;
};

inline Neighbours Locate(const Stretch& s, double p) {
    const int k = TruncClamped(p, s.minStep, s.maxStep);
    const unsigned int a = s.table[s.low + k];
    const unsigned int b = k >= s.span ? a : s.table[s.low + k + 1];
    return {a, b, p - k};
}

inline unsigned int MixByte(unsigned int a, unsigned int b, int shift, double f) {
    return TruncByte(((a >> shift) & 0xFFu) * (1.0 - f) + ((b >> shift) & 0xFFu) * f) << shift;
}

// a's bytes weighted by 1 - f plus b's weighted by f, each truncated.
inline unsigned int Mix(const Neighbours& n) {
    return MixByte(n.a, n.b, 0, n.f) | MixByte(n.a, n.b, 8, n.f) | MixByte(n.a, n.b, 16, n.f) |
           MixByte(n.a, n.b, 24, n.f);
}

}  // namespace qorcolor::colortable
