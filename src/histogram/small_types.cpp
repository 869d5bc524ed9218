// Histograms of 8- and 16-bit data: every voxel is read once into one counter
// per raw value; the range is the lowest and highest value seen, and each raw
// value's count goes to the bin that the exact rule gives that value.
#include <limits>

#include "histogram_kernels.h"
#include "sub_counts.h"

namespace qorcolor::histogram {
namespace {

template <class T>
constexpr size_t kRawValues = size_t{1} << (8 * sizeof(T));

template <class T>
inline size_t RawOf(T v) {
    return static_cast<size_t>(static_cast<int>(v) - std::numeric_limits<T>::min());
}

template <class T>
inline int ValueOf(size_t raw) {
    return static_cast<int>(raw) + std::numeric_limits<T>::min();
}

template <class T>
void CountRun(const T* p, size_t n, SubCounts& raw) {
    uint32_t* c0 = raw.Copy(0);
    uint32_t* c1 = raw.Copy(1);
    uint32_t* c2 = raw.Copy(2);
    uint32_t* c3 = raw.Copy(3);
    size_t i = 0;
    for (; i + 4 <= n; i += 4) {
        ++c0[RawOf(p[i])];
        ++c1[RawOf(p[i + 1])];
        ++c2[RawOf(p[i + 2])];
        ++c3[RawOf(p[i + 3])];
    }
    for (; i < n; ++i) ++c0[RawOf(p[i])];
}

}  // namespace

template <class T>
KernelResult BuildSmallTypeHistogram(const VoxelRuns<T>& runs, int nBins, int32_t* counts) {
    static_assert(SubCounts::kCopies == 4);
    SubCounts raw(kRawValues<T>);
    runs.ForEach([&](const T* p, size_t n) {
        raw.Reserve(n);
        CountRun(p, n, raw);
        return true;
    });

    std::vector<uint64_t> totals(kRawValues<T>);
    size_t first = kRawValues<T>, last = 0;
    for (size_t r = 0; r < kRawValues<T>; ++r) {
        totals[r] = raw.Total(r);
        if (totals[r] == 0) continue;
        if (first == kRawValues<T>) first = r;
        last = r;
    }

    std::vector<uint64_t> bins(static_cast<size_t>(nBins), 0);
    KernelResult result;
    if (first != kRawValues<T>) {
        const int lo = ValueOf<T>(first), hi = ValueOf<T>(last);
        result = {true, double(lo), double(hi), double(hi - lo)};
        const double w = BinWidth(result.lo, result.hi, nBins);
        for (size_t r = first; r <= last; ++r)
            if (totals[r]) bins[size_t(BinOf(double(ValueOf<T>(r) - lo), w, nBins))] += totals[r];
    }
    for (int b = 0; b < nBins; ++b) counts[b] = SaturatedCount(bins[size_t(b)]);
    return result;
}

template KernelResult BuildSmallTypeHistogram(const VoxelRuns<uint8_t>&, int, int32_t*);
template KernelResult BuildSmallTypeHistogram(const VoxelRuns<int8_t>&, int, int32_t*);
template KernelResult BuildSmallTypeHistogram(const VoxelRuns<uint16_t>&, int, int32_t*);
template KernelResult BuildSmallTypeHistogram(const VoxelRuns<int16_t>&, int, int32_t*);

}  // namespace qorcolor::histogram
