// Arithmetic on the data range that cannot overflow: a range of finite data
// may itself exceed the largest double (-DBL_MAX ... DBL_MAX), and is then
// taken through its halves.
//
// Routines: RangePart, ValueAt, PercentAt
#pragma once

#include <cfloat>
#include <cmath>

// (hi - lo) * num / den, saturating at the largest double.
inline double RangePart(double lo, double hi, double num, double den) {
    const double range = hi - lo;
    if (std::isfinite(range)) return range * num / den;
    const double v = 2.0 * ((hi * 0.5 - lo * 0.5) * num / den);
    return std::isfinite(v) ? v : std::copysign(DBL_MAX, v);
}

// The value at `pct` percent of the range: range * pct / 100 + lo, with the
// range as the data's own arithmetic gave it (hi - lo unless said otherwise).
inline double ValueAt(double lo, double hi, double pct, double range) {
    if (std::isfinite(range)) return range * pct / 100 + lo;
    return 2.0 * ((hi * 0.5 - lo * 0.5) * (pct / 100) + lo * 0.5);
}

// The percentage of the range at `v`: (v - lo) * 100 / (hi - lo).
inline double PercentAt(double lo, double hi, double v) {
    const double range = hi - lo;
    if (std::isfinite(range) && std::isfinite(v - lo)) return (v - lo) * 100 / range;
    return (v * 0.5 - lo * 0.5) * 100 / (hi * 0.5 - lo * 0.5);
}
