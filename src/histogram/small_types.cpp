// Histograms of 8- and 16-bit data: every voxel is read once into one counter
// per raw bit pattern; the range is the lowest and highest value seen, and
// each value's count goes to the bin that the exact rule gives that value.
#include <cstring>
#include <limits>
#include <type_traits>

#include "histogram_kernels.h"
#include "sub_counts.h"

namespace qorcolor::histogram {
namespace {

template <class T>
constexpr size_t kRawValues = size_t{1} << (8 * sizeof(T));

// Counters are indexed by the unsigned bit pattern, so the hot loop needs no
// sign handling; value - min is the pattern with its top bit flipped.
template <class T>
constexpr size_t kSignFlip = std::is_signed_v<T> ? kRawValues<T> / 2 : 0;

template <class T>
inline int ValueOf(size_t fromMin) {
    return static_cast<int>(fromMin) + std::numeric_limits<T>::min();
}

// Eight copies for bytes: their counters fit in the first-level cache, and
// narrow data repeats a byte often enough for four copies to stall.
template <class T>
using RawCounts = SubCountsOf<sizeof(T) == 1 ? 8 : 4>;

inline uint64_t Load8(const void* p) {
    uint64_t w;
    std::memcpy(&w, p, sizeof w);
    return w;
}

void CountRun(const uint8_t* p, size_t n, RawCounts<uint8_t>& raw) {
    static_assert(RawCounts<uint8_t>::kCopies == 8);
    uint32_t* c[8];
    for (int k = 0; k < 8; ++k) c[k] = raw.Copy(k);
    size_t i = 0;
    for (; i + 8 <= n; i += 8) {
        const uint64_t w = Load8(p + i);
        ++c[0][w & 0xFF];
        ++c[1][(w >> 8) & 0xFF];
        ++c[2][(w >> 16) & 0xFF];
        ++c[3][(w >> 24) & 0xFF];
        ++c[4][(w >> 32) & 0xFF];
        ++c[5][(w >> 40) & 0xFF];
        ++c[6][(w >> 48) & 0xFF];
        ++c[7][w >> 56];
    }
    for (; i < n; ++i) ++c[0][p[i]];
}

void CountRun(const uint16_t* p, size_t n, RawCounts<uint16_t>& raw) {
    static_assert(RawCounts<uint16_t>::kCopies == 4);
    uint32_t* c0 = raw.Copy(0);
    uint32_t* c1 = raw.Copy(1);
    uint32_t* c2 = raw.Copy(2);
    uint32_t* c3 = raw.Copy(3);
    size_t i = 0;
    for (; i + 4 <= n; i += 4) {
        const uint64_t w = Load8(p + i);
        ++c0[w & 0xFFFF];
        ++c1[(w >> 16) & 0xFFFF];
        ++c2[(w >> 32) & 0xFFFF];
        ++c3[w >> 48];
    }
    for (; i < n; ++i) ++c0[p[i]];
}

}  // namespace

template <class T>
KernelResult BuildSmallTypeHistogram(const VoxelRuns<T>& runs, int nBins, int32_t* counts) {
    using U = std::make_unsigned_t<T>;
    RawCounts<T> raw(kRawValues<T>);
    runs.ForEach([&](const T* p, size_t n) {
        raw.Reserve(n);
        CountRun(reinterpret_cast<const U*>(p), n, raw);
        return true;
    });

    // totals[r]: voxels whose value is min + r.
    std::vector<uint64_t> totals(kRawValues<T>);
    for (size_t pattern = 0; pattern < kRawValues<T>; ++pattern)
        totals[pattern ^ kSignFlip<T>] = raw.Total(pattern);
    size_t first = kRawValues<T>, last = 0;
    for (size_t r = 0; r < kRawValues<T>; ++r) {
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
