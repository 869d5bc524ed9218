// Exact percentiles of the host's voxels, the thresholds of auto contrast.
// Pure: any thread may call it.
//
// Enums: PercentileStatus
// Records: PercentilePair, KnownHistogram
// Routines: ValidFractions, ExactPercentiles
#pragma once

#include <cstdint>

#include "histogram_kernels.h"

namespace qorcolor::histogram {

enum class PercentileStatus { kOk, kBadArgument, kNothingToDo };

// low and high are set only with kOk.
struct PercentilePair {
    PercentileStatus status = PercentileStatus::kNothingToDo;
    double low = 0.0, high = 0.0;
};

// A histogram already built from the same voxels (BuildWideTypeHistogram's
// counts of the finite voxels, its range and BinWidth), which spares the
// wide types a build of their own.
struct KnownHistogram {
    const int32_t* counts = nullptr;
    int nBins = 0;
    double lo = 0.0, hi = 0.0, w = 0.0;
};

// 0 <= pLow < pHigh <= 1, neither NaN.
bool ValidFractions(double pLow, double pHigh);

// With the N voxels that are not NaN sorted ascending as s[0..N-1], the pair
// s[floor(p * (N - 1))] for p = pLow and pHigh; infinities take part.
// kNothingToDo when N is 0 or the N voxels are all equal. 8- and 16-bit types
// count every value in one pass. Wider types find each rank's bin in `known`
// (or in a histogram of their own) and read once more for that bin's values;
// infinities that move a rank to another bin cost one more read, as does a
// `known` that does not match the voxels (then a histogram of their own).
template <class T>
PercentilePair ExactPercentiles(const VoxelRuns<T>& runs, double pLow, double pHigh,
                                const KnownHistogram* known = nullptr);

}  // namespace qorcolor::histogram
