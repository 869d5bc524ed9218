// Histograms of 8- and 16-bit data: every voxel is read once into one counter
// per raw bit pattern; the range is the lowest and highest value seen, and
// each value's count goes to the bin that the exact rule gives that value.
//
// [SECTION] Raw counters
// [SECTION] Counting runs
// [SECTION] Counters kept per thread
// [SECTION] Building the histogram
#include <algorithm>
#include <cstring>
#include <limits>
#include <memory>
#include <mutex>
#include <optional>
#include <type_traits>
#include <utility>
#include <vector>

#if defined(_WIN32)
#include <processthreadsapi.h>
#else
#include <thread>
#endif

#include "histogram_kernels.h"
#include "sub_counts.h"

namespace qorcolor::histogram {
namespace {

// [SECTION] Raw counters

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

// [SECTION] Counting runs

// Bytes are counted two at a time, as 16-bit patterns, which halves the
// counter updates; kPairs + b counts the single byte b at the end of an
// odd-length run.
constexpr size_t kPairs = size_t{1} << 16;

using RawCounts = SubCountsOf<2>;

template <class T>
constexpr size_t kRawSlots = sizeof(T) == 1 ? kPairs + 256 : kRawValues<T>;

inline uint64_t Load8(const void* p) {
    uint64_t w;
    std::memcpy(&w, p, sizeof w);
    return w;
}

// Counts the 16-bit words at p, four per 8-byte load, alternating between
// the two copies: for 16-bit data each word is a voxel, for bytes a pair.
void CountWords(const unsigned char* p, size_t words, RawCounts& raw) {
    static_assert(RawCounts::kCopies == 2);
    uint32_t* c0 = raw.Copy(0);
    uint32_t* c1 = raw.Copy(1);
    size_t i = 0;
    for (; i + 4 <= words; i += 4) {
        const uint64_t w = Load8(p + 2 * i);
        ++c0[w & 0xFFFF];
        ++c1[(w >> 16) & 0xFFFF];
        ++c0[(w >> 32) & 0xFFFF];
        ++c1[w >> 48];
    }
    for (; i < words; ++i) {
        uint16_t w;
        std::memcpy(&w, p + 2 * i, sizeof w);
        ++c0[w];
    }
}

void CountRun(const uint8_t* p, size_t n, RawCounts& raw) {
    CountWords(p, n / 2, raw);
    if (n % 2) ++raw.Copy(0)[kPairs + p[n - 1]];
}

void CountRun(const uint16_t* p, size_t n, RawCounts& raw) {
    CountWords(reinterpret_cast<const unsigned char*>(p), n, raw);
}

// Count per raw pattern. For bytes, each pair adds one to the count of each
// of its two bytes.
template <class U>
class PatternTotals;

template <>
class PatternTotals<uint8_t> {
public:
    explicit PatternTotals(const RawCounts& raw) : m_bytes{} {
        for (size_t hi = 0; hi < 256; ++hi) {
            uint64_t row = 0;
            for (size_t lo = 0; lo < 256; ++lo) {
                const uint64_t t = raw.Total(hi << 8 | lo);
                row += t;
                m_bytes[lo] += t;
            }
            m_bytes[hi] += row;
        }
        for (size_t b = 0; b < 256; ++b) m_bytes[b] += raw.Total(kPairs + b);
    }
    uint64_t operator[](size_t pattern) const { return m_bytes[pattern]; }

private:
    uint64_t m_bytes[256];
};

template <>
class PatternTotals<uint16_t> {
public:
    explicit PatternTotals(const RawCounts& raw) : m_raw(raw) {}
    uint64_t operator[](size_t pattern) const { return m_raw.Total(pattern); }

private:
    const RawCounts& m_raw;
};

// [SECTION] Counters kept per thread

// The counters are kept from one histogram to the next, one set per thread:
// allocating and zeroing fresh pages for every histogram costs more than
// counting a large volume. The sets are found by the thread's id rather than
// through a thread_local object, whose destructor would keep the DLL loaded
// for as long as the thread lives.
struct ThreadCounters {
    std::optional<RawCounts> bytes, words;
};

#if defined(_WIN32)
// The DLL frees a thread's set when the thread detaches.
using ThreadKey = DWORD;
ThreadKey ThisThread() { return GetCurrentThreadId(); }
void FreeAtThreadEnd() {}
#else
using ThreadKey = std::thread::id;
ThreadKey ThisThread() { return std::this_thread::get_id(); }
void FreeAtThreadEnd() {
    struct AtEnd {
        ~AtEnd() { ReleaseThreadCounters(); }
    };
    thread_local AtEnd atEnd;
    (void)atEnd;
}
#endif

struct CounterRegistry {
    std::mutex mutex;
    std::vector<std::pair<ThreadKey, std::unique_ptr<ThreadCounters>>> sets;
};

CounterRegistry& Registry() {
    static CounterRegistry registry;
    return registry;
}

ThreadCounters& ThisThreadCounters() {
    CounterRegistry& registry = Registry();
    const ThreadKey key = ThisThread();
    {
        std::lock_guard lock(registry.mutex);
        for (auto& [owner, set] : registry.sets)
            if (owner == key) return *set;
    }
    auto set = std::make_unique<ThreadCounters>();
    ThreadCounters& counters = *set;
    {
        std::lock_guard lock(registry.mutex);
        registry.sets.emplace_back(key, std::move(set));
    }
    FreeAtThreadEnd();
    return counters;
}

template <class U>
RawCounts& ThreadRawCounts() {
    ThreadCounters& set = ThisThreadCounters();
    std::optional<RawCounts>& raw = sizeof(U) == 1 ? set.bytes : set.words;
    if (!raw) raw.emplace(kRawSlots<U>);
    raw->Reset();
    return *raw;
}

}  // namespace

void ReleaseThreadCounters() {
    CounterRegistry& registry = Registry();
    const ThreadKey key = ThisThread();
    std::unique_ptr<ThreadCounters> released;  // freed outside the lock
    std::lock_guard lock(registry.mutex);
    auto& sets = registry.sets;
    auto it = std::find_if(sets.begin(), sets.end(), [&](const auto& entry) { return entry.first == key; });
    if (it == sets.end()) return;
    released = std::move(it->second);
    sets.erase(it);
}

// [SECTION] Building the histogram

template <class T>
KernelResult BuildSmallTypeHistogram(const VoxelRuns<T>& runs, int nBins, int32_t* counts) {
    using U = std::make_unsigned_t<T>;
    RawCounts& raw = ThreadRawCounts<U>();
    runs.ForEach([&](const T* p, size_t n) {
        raw.Reserve(n);
        CountRun(reinterpret_cast<const U*>(p), n, raw);
        return true;
    });
    const PatternTotals<U> perPattern(raw);
    // Total of the value min + r.
    const auto total = [&](size_t r) { return perPattern[r ^ kSignFlip<T>]; };
    size_t first = kRawValues<T>, last = 0;
    for (size_t r = 0; r < kRawValues<T>; ++r) {
        if (total(r) == 0) continue;
        if (first == kRawValues<T>) first = r;
        last = r;
    }

    std::fill(counts, counts + nBins, 0);
    KernelResult result;
    if (first == kRawValues<T>) return result;
    const int lo = ValueOf<T>(first), hi = ValueOf<T>(last);
    result = {true, double(lo), double(hi), double(hi - lo)};
    const double w = BinWidth(result.lo, result.hi, nBins);
    // Bins rise with the value, so each bin's total is complete once the
    // value walk has passed it and is written once, saturated.
    int bin = 0;
    uint64_t sum = 0;
    for (size_t r = first; r <= last; ++r) {
        const uint64_t t = total(r);
        if (t == 0) continue;
        const int b = BinOf(double(ValueOf<T>(r) - lo), w, nBins);
        if (b != bin) {
            counts[bin] = SaturatedCount(sum);
            bin = b;
            sum = 0;
        }
        sum += t;
    }
    counts[bin] = SaturatedCount(sum);
    return result;
}

template KernelResult BuildSmallTypeHistogram(const VoxelRuns<uint8_t>&, int, int32_t*);
template KernelResult BuildSmallTypeHistogram(const VoxelRuns<int8_t>&, int, int32_t*);
template KernelResult BuildSmallTypeHistogram(const VoxelRuns<uint16_t>&, int, int32_t*);
template KernelResult BuildSmallTypeHistogram(const VoxelRuns<int16_t>&, int, int32_t*);

}  // namespace qorcolor::histogram
