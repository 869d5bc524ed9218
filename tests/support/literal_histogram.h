// The histogram rule read literally, for comparing the kernels and any host
// data with it.
#pragma once

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <type_traits>
#include <vector>

inline constexpr int kLiteralBins = 1024;

// Two passes in storage order, exactly as written: the range with the type's
// own comparisons seeded by the first voxel, d = v - lo in the type's own
// arithmetic, bin = trunc(d / width) in double, clamped to the last bin.
// Where the rule leaves it open: non-finite voxels are skipped, a zero
// distance is bin 0, and a quotient that is not a number goes to the last bin.

struct LiteralResult {
    std::vector<int32_t> counts;
    double lo = 0, hi = 0, width = 0, maxThr = 0, minThr = 0;
    bool rangeOverflows = false;  // then the thresholds are only near the line through lo and hi
};

template <class T>
double LiteralDiff(T v, T lo) {
    if constexpr (std::is_same_v<T, float>)
        return double(float(v - lo));
    else if constexpr (std::is_same_v<T, double>)
        return v - lo;
    else
        return double(int64_t(v) - int64_t(lo));
}

template <class T>
LiteralResult Literal(const std::vector<T>& voxels, double maxPct, double minPct) {
    LiteralResult r;
    r.counts.assign(kLiteralBins, 0);
    bool any = false;
    T lo{}, hi{};
    for (T v : voxels) {
        if (!std::isfinite(double(v))) continue;
        if (!any) lo = hi = v, any = true;
        if (v > hi) hi = v;
        if (v < lo) lo = v;
    }
    if (any) {
        r.lo = double(lo), r.hi = double(hi);
        r.width = (r.hi - r.lo) / kLiteralBins;
        for (T v : voxels) {
            if (!std::isfinite(double(v))) continue;  // integers always are
            const double d = LiteralDiff(v, lo);
            const double q = d / r.width;
            ++r.counts[d == 0 ? 0 : !(q < kLiteralBins) ? kLiteralBins - 1 : size_t(q)];
        }
    }
    const double range = any ? LiteralDiff(hi, lo) : 0.0;
    r.maxThr = range * maxPct / 100.0 + r.lo;
    r.minThr = range * minPct / 100.0 + r.lo;
    // The range, or the range times a percentage, beyond double: the library
    // then works in a wider form, so only nearness to that line is asked.
    r.rangeOverflows = !std::isfinite(r.maxThr) || !std::isfinite(r.minThr);
    if (r.rangeOverflows) {
        const long double span = (long double)r.hi - r.lo;
        r.maxThr = double(span * maxPct / 100 + r.lo);
        r.minThr = double(span * minPct / 100 + r.lo);
    }
    return r;
}
