// AVX2 forms of the wide kernels' two inner loops, chosen at run time.
//
// Routines: Avx2Usable, Avx2Extremes, Avx2Bins
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
// True when the processor and the system support AVX2.
bool Avx2Usable();

// As ScalarExtremes, except that a zero extreme may carry either sign.
template <class T>
Extremes<T> Avx2Extremes(const T* p, size_t n);

// As ScalarBins, with the division replaced by a multiplication by inv =
// 1 / w; quotients that come close enough to a whole number for the two to
// differ are redone with the division. Needs w and inv finite and normal.
template <class T>
void Avx2Bins(const T* p, size_t n, T lo, double w, double inv, int nBins, int32_t* idx);
#endif

}  // namespace qorcolor::histogram
