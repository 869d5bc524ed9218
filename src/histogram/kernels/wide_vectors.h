// Vector forms of the wide kernels' inner loops, chosen at run time: AVX2
// for the range pass, AVX2 or AVX-512 for the bins.
//
// Routines: Avx2Extremes, VectorBinsExact, Avx2Bins, Avx2CountBins,
//           Avx512Bins, Avx512CountBins
#pragma once

#include <cstddef>
#include <cstdint>

#include "../../common/cpu_features.h"
#include "histogram_kernels.h"
#include "sub_counts.h"
#include "wide_types.h"

namespace qorcolor::histogram {

#if QC_X86_KERNELS
// 2^31: an unsigned 32-bit voxel read as signed after its top bit is flipped
// is this much below its own value.
inline constexpr double kUnsignedBias = 2147483648.0;

// As ScalarExtremes, except that a zero extreme may carry either sign.
// Needs AVX2.
template <class T>
Extremes<T> Avx2Extremes(const T* p, size_t n);

// True when the vector bins are exactly ScalarBins' bins for the width w:
// a positive width far enough from the ends of the double range.
bool VectorBinsExact(double w);

// For a grid whose width VectorBinsExact accepts: *CountBins adds the bins
// of all voxels of the runs to sub; *Bins writes the bins of n voxels as
// ScalarBins does, through the same arithmetic, so that it can be checked
// against the division directly. The Avx2 forms need AVX2 and FMA, the Avx512 forms AVX-512F.
template <class T>
void Avx2Bins(const T* p, size_t n, const BinGrid<T>& g, int32_t* idx);
template <class T>
void Avx2CountBins(const VoxelRuns<T>& runs, const BinGrid<T>& g, SubCounts& sub);
template <class T>
void Avx512Bins(const T* p, size_t n, const BinGrid<T>& g, int32_t* idx);
template <class T>
void Avx512CountBins(const VoxelRuns<T>& runs, const BinGrid<T>& g, SubCounts& sub);
#endif

}  // namespace qorcolor::histogram
