// Element rules of the 32-bit and floating kernels, shared by the portable
// and the AVX2 code.
//
// Records: WideType<T> (difference, counted test), Extremes<T>, BinGrid<T>
// Routines: ScalarExtremes, MakeBinGrid, ScalarBins
#pragma once

#include <cmath>
#include <cstddef>
#include <cstdint>

#include "histogram_kernels.h"

namespace qorcolor::histogram {

// d = v - lo as the element type forms it, widened to double; also R = hi - lo.
// Counted: floating voxels that are not finite are left out of range and counts.
template <class T>
struct WideType;

template <>
struct WideType<int32_t> {
    static double Diff(int32_t v, int32_t lo) { return double(int64_t{v} - lo); }
    static bool Counted(int32_t) { return true; }
};
template <>
struct WideType<uint32_t> {
    static double Diff(uint32_t v, uint32_t lo) { return double(uint32_t(v - lo)); }
    static bool Counted(uint32_t) { return true; }
};
template <>
struct WideType<float> {
    static double Diff(float v, float lo) { return double(float(v - lo)); }
    static bool Counted(float v) { return std::isfinite(v); }
};
template <>
struct WideType<double> {
    static double Diff(double v, double lo) { return v - lo; }
    static bool Counted(double v) { return std::isfinite(v); }
};

// Smallest and largest counted value, with the element type's own comparisons.
template <class T>
struct Extremes {
    bool any = false;
    T lo{}, hi{};

    void Add(T v) {
        if (!WideType<T>::Counted(v)) return;
        if (!any) {
            any = true;
            lo = hi = v;
            return;
        }
        if (v > hi) hi = v;
        if (v < lo) lo = v;
    }
    void Merge(const Extremes& o) {
        if (!o.any) return;
        if (!any) {
            *this = o;
            return;
        }
        if (o.hi > hi) hi = o.hi;
        if (o.lo < lo) lo = o.lo;
    }
};

template <class T>
Extremes<T> ScalarExtremes(const T* p, size_t n) {
    Extremes<T> e;
    for (size_t i = 0; i < n; ++i) e.Add(p[i]);
    return e;
}

// The bins of one histogram: nBins bins of width w, counted from lo; inv,
// 1 / w, serves the vector forms, worked out once rather than per block.
template <class T>
struct BinGrid {
    T lo;
    double w, inv;
    int nBins;
};

template <class T>
BinGrid<T> MakeBinGrid(T lo, double w, int nBins) {
    return {lo, w, 1.0 / w, nBins};
}

// Bin of each of the n voxels into idx; voxels not counted get nBins.
template <class T>
void ScalarBins(const T* p, size_t n, const BinGrid<T>& g, int32_t* idx) {
    for (size_t i = 0; i < n; ++i)
        idx[i] = WideType<T>::Counted(p[i]) ? BinOf(WideType<T>::Diff(p[i], g.lo), g.w, g.nBins) : g.nBins;
}

}  // namespace qorcolor::histogram
