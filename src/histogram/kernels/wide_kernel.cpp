// Histograms of 32-bit integer and floating data: a pass for the range, then
// a pass that works out the bins and counts them.
#include <algorithm>
#include <type_traits>

#include "../../common/cpu_features.h"
#include "histogram_kernels.h"
#include "sub_counts.h"
#include "wide_types.h"
#include "wide_vectors.h"

namespace qorcolor::histogram {
namespace {

InstructionSet g_limit = InstructionSet::Avx512;

// The portable form of Avx2CountBins: a block of bins worked out, then counted.
template <class T>
void ScalarCountBins(const VoxelRuns<T>& runs, const BinGrid<T>& g, SubCounts& sub) {
    constexpr size_t kBlock = 256;
    int32_t idx[kBlock];
    runs.ForEach([&](const T* p, size_t n) {
        sub.Reserve(n);
        for (size_t at = 0; at < n; at += kBlock) {
            const size_t m = std::min(n - at, kBlock);
            ScalarBins(p + at, m, g, idx);
            AddBins(idx, m, sub);
        }
        return true;
    });
}

// The vector range pass gives a zero extreme an arbitrary sign; the
// sequential rule keeps the first voxel that equals the extreme.
template <class T>
T FirstZero(const VoxelRuns<T>& runs) {
    T found{};
    runs.ForEach([&](const T* p, size_t n) {
        for (size_t i = 0; i < n; ++i) {
            if (p[i] == T{}) {
                found = p[i];
                return false;
            }
        }
        return true;
    });
    return found;
}

// The range pass runs at the memory's pace with AVX2 already.
template <class T>
Extremes<T> FindExtremes(const VoxelRuns<T>& runs, InstructionSet limit) {
    const auto runExtremes = PickKernel(limit, &ScalarExtremes<T>, QC_X86_KERNEL(&Avx2Extremes<T>));
    Extremes<T> e;
    runs.ForEach([&](const T* p, size_t n) {
        e.Merge(runExtremes(p, n));
        return true;
    });
    if constexpr (std::is_floating_point_v<T>) {
        if (e.any && e.lo == T{}) e.lo = FirstZero(runs);
        if (e.any && e.hi == T{}) e.hi = FirstZero(runs);
    }
    return e;
}

}  // namespace

void SetWideVectorLimit(InstructionSet limit) { g_limit = limit; }

template <class T>
KernelResult BuildWideTypeHistogram(const VoxelRuns<T>& runs, int nBins, int32_t* counts) {
    InstructionSet limit = g_limit;
    const Extremes<T> e = FindExtremes(runs, limit);
    for (int b = 0; b < nBins; ++b) counts[b] = 0;
    if (!e.any) return {};

    const KernelResult result{true, double(e.lo), double(e.hi), WideType<T>::Diff(e.hi, e.lo)};
    const double w = BinWidth(result.lo, result.hi, nBins);
    // A zero width (all voxels equal) is left to BinOf, which puts a zero
    // distance in bin 0 where the division would give 0 / 0; so are widths
    // at the ends of the double range.
#if QC_X86_KERNELS
    if (!VectorBinsExact(w)) limit = InstructionSet::Baseline;
#endif

    // Slot nBins collects the voxels that are left out.
    SubCounts sub(size_t(nBins) + 1);
    const BinGrid<T> grid = MakeBinGrid(e.lo, w, nBins);
    // The bins of all voxels by the widest exact means at hand.
    PickKernel(limit, &ScalarCountBins<T>, QC_X86_KERNEL(&Avx2CountBins<T>),
               QC_X86_KERNEL(&Avx512CountBins<T>))(runs, grid, sub);
    for (int b = 0; b < nBins; ++b) counts[b] = SaturatedCount(sub.Total(size_t(b)));
    return result;
}

template KernelResult BuildWideTypeHistogram(const VoxelRuns<int32_t>&, int, int32_t*);
template KernelResult BuildWideTypeHistogram(const VoxelRuns<uint32_t>&, int, int32_t*);
template KernelResult BuildWideTypeHistogram(const VoxelRuns<float>&, int, int32_t*);
template KernelResult BuildWideTypeHistogram(const VoxelRuns<double>&, int, int32_t*);

}  // namespace qorcolor::histogram
