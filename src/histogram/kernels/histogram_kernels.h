// Typed histogram kernels on plain data, shared by the sixteen BuildHistogram
// members. Nothing here touches the dialog.
//
// Records: VoxelRuns (the host's voxels as runs of contiguous elements),
//          KernelResult (range of the counted voxels)
// Routines: BinOf, BuildSmallTypeHistogram, ReleaseThreadCounters,
//           BuildWideTypeHistogram, SetWideVectorLimit
#pragma once

#include <cstddef>
#include <cstdint>
#include <type_traits>

#include "../../common/cpu_features.h"

namespace qorcolor::histogram {

// Bin of a voxel whose distance from the smallest value is d: trunc(d / w),
// clamped to the last bin. d is never negative. A zero distance is bin 0 even
// when w is 0 (all voxels equal); a quotient that is not a number (infinite d
// over infinite w) or too large goes to the last bin, so the conversion to int
// is always defined.
inline int BinOf(double d, double w, int nBins) {
    if (d == 0.0) return 0;
    const double q = d / w;
    if (!(q < nBins)) return nBins - 1;
    if (q < 1.0) return 0;
    return static_cast<int>(q);
}

// The host's voxels in storage order, as runs of contiguous elements: one
// buffer cut into chunks, or the rows of the slice pointers, where rows that
// follow each other in memory (as when a host cuts its slices from one
// block) make one run.
template <class T>
struct VoxelRuns {
    const T* flat = nullptr;  // used when set
    T*** slices = nullptr;
    int nx = 0, ny = 0, nz = 0;

    static constexpr size_t kMaxRun = size_t{1} << 30;

    // Calls f(run, length) for each run in order until f returns false.
    // A dimension of 0 or less, or a flat volume too large to address, has
    // no runs: nothing is read. A null slice or row has nothing to read and
    // is passed over.
    template <class F>
    void ForEach(F&& f) const {
        if (nx <= 0 || ny <= 0 || nz <= 0) return;
        if (flat) {
            size_t n = 0;
            if (__builtin_mul_overflow(size_t(nx), size_t(ny), &n) ||
                __builtin_mul_overflow(n, size_t(nz), &n) || n > SIZE_MAX / sizeof(T))
                return;
            for (size_t at = 0; at < n; at += kMaxRun)
                if (!f(flat + at, n - at < kMaxRun ? n - at : kMaxRun)) return;
            return;
        }
        const T* run = nullptr;  // none open yet
        size_t length = 0;
        for (int z = 0; z < nz; ++z) {
            if (!slices[z]) continue;
            for (int y = 0; y < ny; ++y) {
                const T* row = slices[z][y];
                if (!row) continue;
                if (run && row == run + length && length <= kMaxRun && size_t(nx) <= kMaxRun - length) {
                    length += size_t(nx);
                    continue;
                }
                if (run && !f(run, length)) return;
                run = row;
                length = size_t(nx);
            }
        }
        if (run) f(run, length);
    }
};

// Smallest and largest counted voxel; any is false when none was counted
// (empty volume, or floating data without a finite value).
struct KernelResult {
    bool any = false;
    double lo = 0.0, hi = 0.0;
    double range = 0.0;  // hi - lo formed in the element type's own arithmetic
};

// 8- and 16-bit types: one pass over raw values, folded into nBins counts.
// Its counters are kept for the next build, one set per thread, and freed
// when the thread ends.
template <class T>
KernelResult BuildSmallTypeHistogram(const VoxelRuns<T>& runs, int nBins, int32_t* counts);

// Frees the calling thread's counters now; its next build allocates them again.
void ReleaseThreadCounters();

// 32-bit and floating types: a range pass and a counting pass.
template <class T>
KernelResult BuildWideTypeHistogram(const VoxelRuns<T>& runs, int nBins, int32_t* counts);

// The widest instruction set the wide kernels may use. They use the widest
// the processor has up to this limit (by default the widest of all); tests lower
// it so that every form is checked against the portable code.
void SetWideVectorLimit(InstructionSet limit);

}  // namespace qorcolor::histogram
