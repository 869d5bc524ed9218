// Interleaved 32-bit counters for the kernels' hot loops.
//
// Classes: SubCountsOf, SubCounts
// Routines: AddBins, SaturatedCount, BinWidth
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <vector>

namespace qorcolor::histogram {

// kCopies copies of `slots` 32-bit counters, so that neighbouring voxels of
// equal value do not wait on each other's store. The copies are spaced by a
// little more than their size: copies a multiple of 4 KiB apart would put a
// value's counters at addresses the processor takes for the same store.
// Before a copy could overflow, all copies are added into 64-bit totals: a
// volume may hold more than 2^32 voxels.
template <int Copies>
class SubCountsOf {
public:
    static constexpr int kCopies = Copies;

    explicit SubCountsOf(size_t slots)
        : m_slots(slots), m_stride(slots + kPad), m_counts(m_stride * kCopies, 0) {}

    // Sets every count back to zero, keeping the storage.
    void Reset() {
        std::fill(m_counts.begin(), m_counts.end(), 0u);
        m_totals.clear();
        m_pending = 0;
    }

    // Announces n more voxels; call before counting them.
    void Reserve(size_t n) {
        if (n > UINT32_MAX - m_pending) Flush();
        m_pending += n;
    }
    uint32_t* Copy(int k) { return m_counts.data() + m_stride * static_cast<size_t>(k); }
    uint64_t Total(size_t slot) const {
        uint64_t sum = m_totals.empty() ? 0 : m_totals[slot];
        for (int k = 0; k < kCopies; ++k) sum += m_counts[m_stride * static_cast<size_t>(k) + slot];
        return sum;
    }

private:
    void Flush() {
        if (m_totals.empty()) m_totals.assign(m_slots, 0);
        for (size_t s = 0; s < m_slots; ++s) {
            for (int k = 0; k < kCopies; ++k) {
                uint32_t& c = m_counts[m_stride * static_cast<size_t>(k) + s];
                m_totals[s] += c;
                c = 0;
            }
        }
        m_pending = 0;
    }

    static constexpr size_t kPad = 16;  // one cache line

    size_t m_slots;
    size_t m_stride;
    std::vector<uint32_t> m_counts;
    std::vector<uint64_t> m_totals;
    size_t m_pending = 0;
};

using SubCounts = SubCountsOf<4>;

// Adds one to the counter of each of the n bins, spread over the copies.
inline void AddBins(const int32_t* idx, size_t n, SubCounts& sub) {
    static_assert(SubCounts::kCopies == 4);
    uint32_t* c0 = sub.Copy(0);
    uint32_t* c1 = sub.Copy(1);
    uint32_t* c2 = sub.Copy(2);
    uint32_t* c3 = sub.Copy(3);
    size_t i = 0;
    for (; i + 4 <= n; i += 4) {
        ++c0[idx[i]];
        ++c1[idx[i + 1]];
        ++c2[idx[i + 2]];
        ++c3[idx[i + 3]];
    }
    for (; i < n; ++i) ++c0[idx[i]];
}

// A count as the dialog stores it: signed 32-bit, saturated.
inline int32_t SaturatedCount(uint64_t n) { return n > INT32_MAX ? INT32_MAX : static_cast<int32_t>(n); }

// Width of one bin for the range lo..hi, both already converted to double.
inline double BinWidth(double lo, double hi, int nBins) { return (hi - lo) / nBins; }

}  // namespace qorcolor::histogram
