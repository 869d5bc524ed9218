// Histogram kernels on a 256^3 volume of each element type, flat and as
// slice pointers. Counters, from the best of the iterations (thread
// processor time; the machine may be shared): best_ms, the kernel's time;
// floor_ratio, that time over two plain read passes of the same buffer in
// the same run; update_ratio, that time over one pass that adds one to a
// counter per voxel, the least any exact counting does. BM_Literal times the
// plain two-pass rule for comparison. BM_Percentile times the exact 0.5 % and
// 99.5 % voxel values after the histogram (hist_ratio: over its time).
#include <benchmark/benchmark.h>
#include <qorcolor/datatypes.h>
#include <time.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <random>
#include <type_traits>
#include <vector>

#include "dialog/color_dlg.h"
#include "histogram/kernels/percentiles.h"

namespace {

constexpr int kDim = 256;
constexpr size_t kVoxels = size_t{kDim} * kDim * kDim;

using qorcolor::CodeOf;

// Background, soft tissue and bone-like peaks, each narrow, scaled to the type.
template <class T>
struct Volume {
    std::vector<T> voxels;
    // The same voxels as slice pointers: each slice its own allocation, its
    // rows contiguous, as a host that allocates slice by slice has them.
    std::vector<std::vector<T>> sliceData;
    std::vector<T*> rows;
    std::vector<T**> slices;

    Volume() : voxels(kVoxels) {
        double scale = 1.0;
        if constexpr (sizeof(T) == 1)
            scale = 0.05;
        else if constexpr (sizeof(T) == 2)
            scale = 1.0;
        else if constexpr (std::is_integral_v<T>)
            scale = 1000.0;
        else
            scale = 0.001;
        const double offset = std::is_signed_v<T> ? -1000.0 * scale : 0.0;
        std::mt19937_64 rng(42);
        std::normal_distribution<double> noise(0.0, 1.0);
        const double centres[3] = {100.0, 1040.0, 2500.0}, spreads[3] = {20.0, 60.0, 150.0};
        for (auto& v : voxels) {
            const unsigned k = rng() % 10 < 5 ? 0 : (rng() % 4 < 3 ? 1 : 2);
            double x = (centres[k] + spreads[k] * noise(rng)) * scale + offset;
            if constexpr (std::is_integral_v<T>) x = std::round(x);
            v = T(x);
        }
        const size_t perSlice = size_t{kDim} * kDim;
        for (size_t z = 0; z < kDim; ++z) {
            sliceData.emplace_back(voxels.begin() + std::ptrdiff_t(z * perSlice),
                                   voxels.begin() + std::ptrdiff_t((z + 1) * perSlice));
            for (size_t y = 0; y < kDim; ++y) rows.push_back(sliceData.back().data() + y * kDim);
        }
        for (size_t z = 0; z < kDim; ++z) slices.push_back(rows.data() + z * kDim);
    }
};

template <class T>
const Volume<T>& VolumeOf() {
    static const Volume<T> volume;
    return volume;
}

// One plain read of every byte. Eight independent accumulators keep the
// loop at the memory's pace rather than at the latency of one xor chain.
uint64_t ReadPass(const void* p, size_t bytes) {
    const auto* w = static_cast<const uint64_t*>(p);
    const size_t words = bytes / 8;
    uint64_t acc[8] = {};
    const size_t blocks = words / 8;
    for (size_t b = 0; b < blocks; ++b)
        for (size_t k = 0; k < 8; ++k) acc[k] ^= w[8 * b + k];
    for (size_t i = 8 * blocks; i < words; ++i) acc[0] ^= w[i];
    uint64_t all = 0;
    for (uint64_t a : acc) all ^= a;
    return all;
}

// Processor time of this thread, so that other load on the machine does not count.
double ThreadSeconds() {
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return double(t.tv_sec) + 1e-9 * double(t.tv_nsec);
}

template <class T>
double TwoReadPasses(const Volume<T>& v, bool flat) {
    const double start = ThreadSeconds();
    for (int pass = 0; pass < 2; ++pass) {
        if (flat) {
            benchmark::DoNotOptimize(ReadPass(v.voxels.data(), kVoxels * sizeof(T)));
        } else {
            // Each slice's rows lie one after the other: read them at once.
            uint64_t acc = 0;
            for (const std::vector<T>& slice : v.sliceData)
                acc ^= ReadPass(slice.data(), slice.size() * sizeof(T));
            benchmark::DoNotOptimize(acc);
        }
    }
    return ThreadSeconds() - start;
}

// One counter update per voxel, keyed by the low bits of its pattern, into
// four interleaved copies of 1024 counters.
template <class T>
double OneUpdatePerVoxel(const Volume<T>& v) {
    using Bits = std::conditional_t<
        sizeof(T) == 1, uint8_t,
        std::conditional_t<sizeof(T) == 2, uint16_t, std::conditional_t<sizeof(T) == 4, uint32_t, uint64_t>>>;
    static std::vector<uint32_t> counts(4 * 1024 + 64);
    const auto* p = reinterpret_cast<const Bits*>(v.voxels.data());
    const double start = ThreadSeconds();
    for (size_t i = 0; i < kVoxels; i += 4)
        for (size_t k = 0; k < 4; ++k) ++counts[k * 1040 + (p[i + k] & 1023u)];
    benchmark::DoNotOptimize(counts.data());
    return ThreadSeconds() - start;
}

template <class T, bool kFlat>
void BM_Kernel(benchmark::State& state) {
    const Volume<T>& v = VolumeOf<T>();
    CColorDlgBase dlg;
    dlg.m_nDimX = dlg.m_nDimY = dlg.m_nDimZ = kDim;
    dlg.m_nDataType = CodeOf<T>();
    dlg.m_pFlatData = kFlat ? const_cast<T*>(v.voxels.data()) : nullptr;
    dlg.m_pVolume = kFlat ? nullptr : reinterpret_cast<void***>(const_cast<T***>(v.slices.data()));
    double kernel = 1e9, floor = 1e9, update = 1e9;
    for (auto _ : state) {
        state.PauseTiming();
        floor = std::min(floor, TwoReadPasses(v, kFlat));
        update = std::min(update, OneUpdatePerVoxel(v));
        dlg.m_bHistValid = 0;
        state.ResumeTiming();
        const double start = ThreadSeconds();
        dlg.ComputeHistogram();
        kernel = std::min(kernel, ThreadSeconds() - start);
        benchmark::DoNotOptimize(dlg.m_pHistogram[0]);
    }
    state.SetItemsProcessed(int64_t(state.iterations()) * int64_t(kVoxels));
    state.counters["best_ms"] = 1e3 * kernel;
    state.counters["floor_ratio"] = kernel / floor;
    state.counters["update_ratio"] = kernel / update;
}

// The rule as written: a range pass, then a division per voxel.
template <class T>
void BM_Literal(benchmark::State& state) {
    const Volume<T>& v = VolumeOf<T>();
    std::vector<int32_t> counts(1024);
    for (auto _ : state) {
        T lo = v.voxels[0], hi = v.voxels[0];
        for (T x : v.voxels) {
            if (x > hi) hi = x;
            if (x < lo) lo = x;
        }
        std::fill(counts.begin(), counts.end(), 0);
        const double w = (double(hi) - double(lo)) / 1024;
        for (T x : v.voxels) {
            double d;
            if constexpr (std::is_same_v<T, float>)
                d = double(float(x - lo));
            else if constexpr (std::is_same_v<T, double>)
                d = x - lo;
            else
                d = double(int64_t(x) - int64_t(lo));
            int b = int(d / w);
            if (b >= 1024) b = 1023;
            ++counts[size_t(b)];
        }
        benchmark::DoNotOptimize(counts.data());
    }
    state.SetItemsProcessed(int64_t(state.iterations()) * int64_t(kVoxels));
}

template <class T, bool kFlat>
void BM_Percentile(benchmark::State& state) {
    using namespace qorcolor::histogram;
    const Volume<T>& v = VolumeOf<T>();
    CColorDlgBase dlg;
    dlg.m_nDimX = dlg.m_nDimY = dlg.m_nDimZ = kDim;
    dlg.m_nDataType = CodeOf<T>();
    dlg.m_pFlatData = kFlat ? const_cast<T*>(v.voxels.data()) : nullptr;
    dlg.m_pVolume = kFlat ? nullptr : reinterpret_cast<void***>(const_cast<T***>(v.slices.data()));
    VoxelRuns<T> runs;
    runs.flat = kFlat ? v.voxels.data() : nullptr;
    runs.slices = kFlat ? nullptr : const_cast<T***>(v.slices.data());
    runs.nx = runs.ny = runs.nz = kDim;
    double best = 1e9, histogram = 1e9;
    for (auto _ : state) {
        state.PauseTiming();
        dlg.m_bHistValid = 0;
        const double built = ThreadSeconds();
        dlg.ComputeHistogram();
        histogram = std::min(histogram, ThreadSeconds() - built);
        const KnownHistogram known{dlg.m_pHistogram, dlg.m_nBins, dlg.m_dDataMin, dlg.m_dDataMax,
                                   dlg.m_dBinWidth};
        state.ResumeTiming();
        const double start = ThreadSeconds();
        const PercentilePair pair = ExactPercentiles(runs, 0.005, 0.995, &known);
        best = std::min(best, ThreadSeconds() - start);
        benchmark::DoNotOptimize(pair);
    }
    state.SetItemsProcessed(int64_t(state.iterations()) * int64_t(kVoxels));
    state.counters["best_ms"] = 1e3 * best;
    state.counters["hist_ratio"] = best / histogram;
}

#define QC_BENCH_PERCENTILE(T)                                                                       \
    BENCHMARK(BM_Percentile<T, true>)->Name("BM_PercentileFlat/" #T)->Unit(benchmark::kMillisecond); \
    BENCHMARK(BM_Percentile<T, false>)->Name("BM_PercentileSlices/" #T)->Unit(benchmark::kMillisecond);

QC_BENCH_PERCENTILE(uint16_t)
QC_BENCH_PERCENTILE(float)

#define QC_BENCH_TYPE(T)                                                                  \
    BENCHMARK(BM_Kernel<T, true>)->Name("BM_Flat/" #T)->Unit(benchmark::kMillisecond);    \
    BENCHMARK(BM_Kernel<T, false>)->Name("BM_Slices/" #T)->Unit(benchmark::kMillisecond); \
    BENCHMARK(BM_Literal<T>)->Name("BM_Literal/" #T)->Unit(benchmark::kMillisecond);

QC_BENCH_TYPE(uint8_t)
QC_BENCH_TYPE(int8_t)
QC_BENCH_TYPE(int16_t)
QC_BENCH_TYPE(uint16_t)
QC_BENCH_TYPE(int32_t)
QC_BENCH_TYPE(uint32_t)
QC_BENCH_TYPE(float)
QC_BENCH_TYPE(double)

}  // namespace

BENCHMARK_MAIN();
