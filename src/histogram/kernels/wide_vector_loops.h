// The two loops around every vector form of the bins: StoreBins writes bins
// out, CountAhead counts them. Each vector file includes this header with
// QC_VECTOR_TARGET set to its target attribute; the anonymous namespace
// keeps each copy in the file that compiled it for its instructions.
//
// Routines: StoreBins, CountAhead
#pragma once

#include <cstddef>
#include <cstdint>

#include "histogram_kernels.h"
#include "sub_counts.h"
#include "wide_types.h"

#ifndef QC_VECTOR_TARGET
#error "define QC_VECTOR_TARGET before including wide_vector_loops.h"
#endif

namespace qorcolor::histogram {
namespace {

// binner(q, out) writes the bins of the Binner::kVoxels voxels at q.
template <class Binner, class T>
QC_VECTOR_TARGET void StoreBins(const Binner& binner, const T* p, size_t n, const BinGrid<T>& g,
                                int32_t* idx) {
    size_t i = 0;
    for (; i + Binner::kVoxels <= n; i += Binner::kVoxels) binner(p + i, idx + i);
    ScalarBins(p + i, n - i, g, idx + i);
}

// Counts the bins of every voxel of the runs, working each step's bins out
// kAhead steps before counting them: the counter updates then read bins
// stored long before, never a store still in flight, and the processor
// overlaps one step's arithmetic with another step's updates. A step is
// Binner::kVoxels voxels. (Carrying pending steps over from one run to the
// next costs more bookkeeping than short rows lose.)
template <class Binner, class T>
QC_VECTOR_TARGET void CountAhead(const Binner& binner, const VoxelRuns<T>& runs, const BinGrid<T>& g,
                                 SubCounts& sub) {
    runs.ForEach([&](const T* p, size_t n) QC_VECTOR_TARGET {
        // A copy of its own keeps the binner's constants in registers: the
        // counter updates could otherwise write over the caller's.
        const Binner local = binner;
        constexpr size_t kStep = Binner::kVoxels, kAhead = 8;
        alignas(64) int32_t ring[kAhead][kStep];
        sub.Reserve(n);
        const size_t steps = n / kStep;
        for (size_t s = 0; s < steps + kAhead; ++s) {
            int32_t* slot = ring[s % kAhead];
            if (s >= kAhead) AddBins(slot, kStep, sub);
            if (s < steps) local(p + s * kStep, slot);
        }
        const size_t done = steps * kStep;
        ScalarBins(p + done, n - done, g, ring[0]);
        AddBins(ring[0], n - done, sub);
        return true;
    });
}

}  // namespace
}  // namespace qorcolor::histogram
