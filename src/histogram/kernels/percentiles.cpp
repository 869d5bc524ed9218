// Exact percentiles: value counts for the 8- and 16-bit types, for the wider
// ones the bins of a histogram narrowed down to the values of two bins.
#include "percentiles.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <type_traits>
#include <utility>
#include <vector>

#include "sub_counts.h"
#include "wide_types.h"

namespace qorcolor::histogram {
namespace {

constexpr int kOwnBins = 1024;

// Rank floor(p * (n - 1)) of n > 0 sorted voxels, as numpy's "lower" method.
uint64_t RankOf(double p, uint64_t n) {
    const double r = std::floor(p * double(n - 1));
    return r >= double(n - 1) ? n - 1 : uint64_t(r);
}

template <class T>
PercentilePair SmallPercentiles(const VoxelRuns<T>& runs, double pLow, double pHigh) {
    constexpr size_t kValues = size_t{1} << (8 * sizeof(T));
    using U = std::make_unsigned_t<T>;
    // 32-bit counters, folded into 64-bit totals before any could overflow.
    std::vector<uint32_t> counts(kValues);
    std::vector<uint64_t> totals(kValues);
    uint64_t pending = 0;
    auto fold = [&] {
        for (size_t v = 0; v < kValues; ++v) totals[v] += std::exchange(counts[v], 0);
        pending = 0;
    };
    runs.ForEach([&](const T* p, size_t n) {
        if (pending + n > UINT32_MAX) fold();
        for (size_t i = 0; i < n; ++i) ++counts[U(p[i])];
        pending += n;
        return true;
    });
    fold();
    // Index order is value order once the signed half is moved below the other.
    const size_t start = std::is_signed_v<T> ? kValues / 2 : 0;
    uint64_t n = 0;
    size_t distinct = 0;
    for (const uint64_t c : totals) n += c, distinct += c != 0;
    if (distinct < 2) return {};
    const uint64_t ranks[2] = {RankOf(pLow, n), RankOf(pHigh, n)};
    double found[2] = {};
    uint64_t below = 0;
    int next = 0;
    for (size_t k = 0; k < kValues && next < 2; ++k) {
        const size_t index = (start + k) % kValues;
        below += totals[index];
        while (next < 2 && ranks[next] < below) found[next++] = double(T(U(index)));
    }
    return {PercentileStatus::kOk, found[0], found[1]};
}

// One read of the voxels: the values of the bins in `bins` (exactly by the
// histogram's own rule, which a cheap test on bounds narrows down to), the
// infinities, and what tells whether the histogram is of these voxels.
template <class T>
struct BinRead {
    std::vector<T> values[2];
    uint64_t negInf = 0, posInf = 0;
    // The finite voxels' count and extremes tell a histogram of other voxels.
    uint64_t finite = 0;
    double least = HUGE_VAL, most = -HUGE_VAL;
};

template <class T>
BinRead<T> ReadBins(const VoxelRuns<T>& runs, const KnownHistogram& h, const int bins[2]) {
    const T lo = T(h.lo);
    // Bounds on the distance from lo as the element type forms it, the
    // quantity the bin rule divides: a bin's width either side covers the
    // rounding of the division, and the last bin takes all beyond it.
    double from[2], to[2];
    for (int t = 0; t < 2; ++t) {
        from[t] = (bins[t] - 1) * h.w;
        to[t] = bins[t] + 1 >= h.nBins ? HUGE_VAL : (bins[t] + 2) * h.w;
        if (!(from[t] > -HUGE_VAL)) from[t] = -HUGE_VAL;
        if (!(to[t] < HUGE_VAL)) to[t] = HUGE_VAL;
    }
    BinRead<T> read;
    runs.ForEach([&](const T* p, size_t n) {
        // Blocks without a call inside: the candidates' places are noted and
        // taken after each block, so the loop keeps its sums in registers.
        constexpr size_t kBlock = 512;
        uint32_t at[2][kBlock];
        uint64_t negInf = 0, posInf = 0, finite = 0;
        double least = read.least, most = read.most;
        const double from0 = from[0], to0 = to[0], from1 = from[1], to1 = to[1];
        for (size_t start = 0; start < n; start += kBlock) {
            const size_t m = std::min(kBlock, n - start);
            const T* q = p + start;
            size_t c0 = 0, c1 = 0;
            for (size_t i = 0; i < m; ++i) {
                const T v = q[i];
                const double x = double(v), d = WideType<T>::Diff(v, lo);
                at[0][c0] = uint32_t(i), c0 += (d >= from0) & (d <= to0);
                at[1][c1] = uint32_t(i), c1 += (d >= from1) & (d <= to1);
                if constexpr (std::is_floating_point_v<T>) {
                    negInf += x == -HUGE_VAL;
                    posInf += x == HUGE_VAL;
                    const bool isFinite = x - x == 0.0;
                    finite += isFinite;
                    least = isFinite && x < least ? x : least;
                    most = isFinite && x > most ? x : most;
                } else {
                    least = std::min(least, x);
                    most = std::max(most, x);
                }
            }
            for (size_t k = 0; k < c0; ++k) read.values[0].push_back(q[at[0][k]]);
            for (size_t k = 0; k < c1; ++k) read.values[1].push_back(q[at[1][k]]);
        }
        if constexpr (!std::is_floating_point_v<T>) finite = n;
        read.negInf += negInf, read.posInf += posInf, read.finite += finite;
        read.least = least, read.most = most;
        return true;
    });
    for (int t = 0; t < 2; ++t) {
        auto& values = read.values[t];
        const auto outside = [&](T v) {
            return !WideType<T>::Counted(v) || BinOf(WideType<T>::Diff(v, lo), h.w, h.nBins) != bins[t];
        };
        values.erase(std::remove_if(values.begin(), values.end(), outside), values.end());
    }
    return read;
}

// v is a value of T (a range end of a histogram of T's voxels).
template <class T>
bool InType(double v) {
    using Limits = std::numeric_limits<T>;
    return v >= double(Limits::lowest()) && v <= double(Limits::max()) && double(T(v)) == v;
}

template <class T>
PercentilePair WidePercentiles(const VoxelRuns<T>& runs, double pLow, double pHigh,
                               const KnownHistogram* known) {
    std::vector<int32_t> own;
    KnownHistogram h;
    if (known && known->counts && known->nBins > 0 && InType<T>(known->lo)) {
        h = *known;
    } else {
        own.resize(kOwnBins);
        const KernelResult r = BuildWideTypeHistogram(runs, kOwnBins, own.data());
        h = {own.data(), kOwnBins, r.lo, r.hi, BinWidth(r.lo, r.hi, kOwnBins)};
    }
    std::vector<uint64_t> below(size_t(h.nBins) + 1);
    for (int b = 0; b < h.nBins; ++b) below[b + 1] = below[b] + uint64_t(std::max(h.counts[b], 0));
    const uint64_t finite = below[h.nBins];
    const double ps[2] = {pLow, pHigh};

    // The first read takes the voxels that are not counted for NaN; the
    // infinities it finds may move a rank to another bin, and a second read
    // then finds that bin's values.
    uint64_t negInf = 0, posInf = 0;
    BinRead<T> read;
    int readBins[2] = {-1, -1};
    for (int reads = 0; reads < 3; ++reads) {
        const uint64_t n = negInf + finite + posInf;
        int bins[2] = {0, 0};
        uint64_t ranks[2] = {0, 0};
        for (int t = 0; t < 2 && n > 0; ++t) {
            ranks[t] = RankOf(ps[t], n);
            const uint64_t f = ranks[t] - negInf;
            if (ranks[t] >= negInf && f < finite)
                bins[t] = int(std::upper_bound(below.begin(), below.end(), f) - below.begin()) - 1;
        }
        if (reads == 0 || bins[0] != readBins[0] || bins[1] != readBins[1]) {
            read = ReadBins(runs, h, bins);
            readBins[0] = bins[0], readBins[1] = bins[1];
            negInf = read.negInf, posInf = read.posInf;
            // A histogram of other voxels: start again from one of their own.
            const bool matches =
                read.finite == finite && (finite == 0 || (read.least == h.lo && read.most == h.hi));
            if (!matches) break;
            continue;
        }
        // One value (or none): the smallest and the largest voxel agree.
        const double least = negInf ? -HUGE_VAL : finite ? h.lo : HUGE_VAL;
        const double most = posInf ? HUGE_VAL : finite ? h.hi : -HUGE_VAL;
        if (n == 0 || least == most) return {};
        double found[2];
        for (int t = 0; t < 2; ++t) {
            const uint64_t f = ranks[t] - negInf;
            if (ranks[t] < negInf || f >= finite) {
                found[t] = ranks[t] < negInf ? -HUGE_VAL : HUGE_VAL;
                continue;
            }
            auto& values = read.values[t];
            // A histogram of other voxels: start again from one of their own.
            if (values.size() != below[bins[t] + 1] - below[bins[t]])
                return known ? WidePercentiles(runs, pLow, pHigh, nullptr) : PercentilePair{};
            const auto at = values.begin() + std::ptrdiff_t(f - below[bins[t]]);
            std::nth_element(values.begin(), at, values.end());
            found[t] = double(*at);
        }
        return {PercentileStatus::kOk, found[0], found[1]};
    }
    return known ? WidePercentiles(runs, pLow, pHigh, nullptr) : PercentilePair{};
}

}  // namespace

bool ValidFractions(double pLow, double pHigh) { return pLow >= 0.0 && pHigh <= 1.0 && pLow < pHigh; }

template <class T>
PercentilePair ExactPercentiles(const VoxelRuns<T>& runs, double pLow, double pHigh,
                                const KnownHistogram* known) {
    if (!ValidFractions(pLow, pHigh)) return {PercentileStatus::kBadArgument};
    if constexpr (sizeof(T) <= 2)
        return SmallPercentiles(runs, pLow, pHigh);
    else
        return WidePercentiles(runs, pLow, pHigh, known);
}

template PercentilePair ExactPercentiles(const VoxelRuns<uint8_t>&, double, double, const KnownHistogram*);
template PercentilePair ExactPercentiles(const VoxelRuns<int8_t>&, double, double, const KnownHistogram*);
template PercentilePair ExactPercentiles(const VoxelRuns<int16_t>&, double, double, const KnownHistogram*);
template PercentilePair ExactPercentiles(const VoxelRuns<uint16_t>&, double, double, const KnownHistogram*);
template PercentilePair ExactPercentiles(const VoxelRuns<int32_t>&, double, double, const KnownHistogram*);
template PercentilePair ExactPercentiles(const VoxelRuns<uint32_t>&, double, double, const KnownHistogram*);
template PercentilePair ExactPercentiles(const VoxelRuns<float>&, double, double, const KnownHistogram*);
template PercentilePair ExactPercentiles(const VoxelRuns<double>&, double, double, const KnownHistogram*);

}  // namespace qorcolor::histogram
