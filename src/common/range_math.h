// Arithmetic on the data range that cannot overflow. Each routine computes
// its rule as written while the result is finite, so ordinary ranges get the
// exact same doubles; only a range or product beyond the largest double is
// taken in another order (through the range's halves when the range itself
// overflows), and a result that still cannot be represented saturates at
// the largest double.
//
// Routines: RangePart, ValueAt, PercentAt
#pragma once

#include <cfloat>
#include <cmath>

namespace range_math_detail {

inline double Saturated(double v) { return std::isfinite(v) ? v : std::copysign(DBL_MAX, v); }

// hi - lo as half of itself, which is finite for any finite hi and lo.
inline double HalfRange(double lo, double hi) { return hi * 0.5 - lo * 0.5; }

}  // namespace range_math_detail

// (hi - lo) * num / den for 0 <= num / den.
inline double RangePart(double lo, double hi, double num, double den) {
    using namespace range_math_detail;
    const double v = (hi - lo) * num / den;
    if (std::isfinite(v)) return v;
    return Saturated(2.0 * (HalfRange(lo, hi) * (num / den)));
}

// The value at `pct` percent of the range: range * pct / 100 + lo, with the
// range as the data's own arithmetic gave it (hi - lo unless said otherwise).
inline double ValueAt(double lo, double hi, double pct, double range) {
    using namespace range_math_detail;
    const double v = range * pct / 100 + lo;
    if (std::isfinite(v)) return v;
    return Saturated(2.0 * (HalfRange(lo, hi) * (pct / 100) + lo * 0.5));
}

// The percentage of the range at `v`: (v - lo) * 100 / (hi - lo).
inline double PercentAt(double lo, double hi, double v) {
    using namespace range_math_detail;
    const double p = (v - lo) * 100 / (hi - lo);
    if (std::isfinite(p) || !std::isfinite(v)) return p;
    return (v * 0.5 - lo * 0.5) / HalfRange(lo, hi) * 100;
}
