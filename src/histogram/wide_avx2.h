// AVX2 forms of the wide kernels' two inner loops, chosen at run time.
//
// Routines: Avx2Extremes, Avx2Bins
#pragma once

#include <cstddef>
#include <cstdint>

#include "wide_types.h"

#if (defined(__x86_64__) || defined(__i386__)) && (defined(__GNUC__) || defined(__clang__))
#define QORCOLOR_HISTOGRAM_AVX2 1
#else
#define QORCOLOR_HISTOGRAM_AVX2 0
#endif

namespace qorcolor::histogram {

#if QORCOLOR_HISTOGRAM_AVX2
// As ScalarExtremes, except that a zero extreme may carry either sign.
template <class T>
Extremes<T> Avx2Extremes(const T* p, size_t n);

// As ScalarBins, for w > 0.
template <class T>
void Avx2Bins(const T* p, size_t n, T lo, double w, int nBins, int32_t* idx);
#endif

}  // namespace qorcolor::histogram
