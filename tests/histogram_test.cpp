// Histogram engine: the kernels against the literal binning rule, the
// demonstration, the choice of source and odd input.
#include <gtest/gtest.h>
#include <qorcolor/datatypes.h>
#include <qorcolor/qorcolor.h>

#include <algorithm>
#include <bit>
#include <cfloat>
#include <chrono>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <limits>
#include <memory>
#include <numeric>
#include <random>
#include <string>
#include <thread>
#include <tuple>
#include <type_traits>
#include <vector>

#include "common/cpu_features.h"
#include "dialog/color_dlg.h"
#include "histogram/kernels/histogram_kernels.h"
#include "histogram/kernels/wide_vectors.h"
#include "support/literal_histogram.h"

namespace {

using qorcolor::CodeOf;
using qorcolor::histogram::SetWideVectorLimit;

constexpr std::pair<InstructionSet, const char*> kAllLimits[] = {
    {InstructionSet::Avx512, "AVX-512 kernels"},
    {InstructionSet::Avx2, "AVX2 kernels"},
    {InstructionSet::Baseline, "portable kernels"}};
constexpr int kBins = kLiteralBins;

// The host's slice pointers: every row its own allocation, or (inBlock) all
// rows in one block with a gap after every third, so some rows make one run.
template <class T>
struct Slices {
    std::vector<std::unique_ptr<T[]>> rows;
    std::vector<T> block;
    std::vector<T*> rowPtrs;
    std::vector<T**> slicePtrs;
    Slices(const std::vector<T>& flat, int nx, int ny, int nz, bool inBlock = false) {
        const size_t n = size_t(nx), count = size_t(ny) * size_t(nz);
        if (inBlock) block.resize(count * n + count / 3 + 1);
        for (size_t r = 0; r < count; ++r) {
            T* row = inBlock ? block.data() + r * n + r / 3 : rows.emplace_back(new T[n]).get();
            std::copy_n(flat.begin() + std::ptrdiff_t(r * n), n, row);
            rowPtrs.push_back(row);
        }
        for (int z = 0; z < nz; ++z) slicePtrs.push_back(rowPtrs.data() + size_t(z) * size_t(ny));
    }
    void*** Data() { return reinterpret_cast<void***>(slicePtrs.data()); }
};

// A fresh build from either a flat buffer or the host's slices.
void Build(CColorDlgBase& dlg, void* flat, void*** volume, int code, int nx, int ny, int nz) {
    dlg.m_nDimX = nx, dlg.m_nDimY = ny, dlg.m_nDimZ = nz;
    dlg.m_pFlatData = flat, dlg.m_pVolume = volume, dlg.m_nDataType = code, dlg.m_bHistValid = 0;
    dlg.ComputeHistogram();
}

template <class T>
void BuildFlat(CColorDlgBase& dlg, const T* data, int nx, int ny, int nz) {
    Build(dlg, const_cast<T*>(data), nullptr, CodeOf<T>(), nx, ny, nz);
}

std::vector<int32_t> Counts(const CColorDlgBase& dlg) { return {dlg.m_pHistogram, dlg.m_pHistogram + kBins}; }

int64_t Sum(const CColorDlgBase& d) { return std::accumulate(d.m_pHistogram, d.m_pHistogram + kBins, 0LL); }

// Bit patterns, so that a zero's sign and a NaN are seen.
template <class... D>
std::vector<uint64_t> Bits(D... d) {
    return {std::bit_cast<uint64_t>(d)...};
}

// A range that overflows the type's arithmetic leaves the thresholds only
// near the literal ones (a NaN or an infinity is never near).
void ExpectMatches(const CColorDlgBase& dlg, const LiteralResult& want) {
    ASSERT_NE(dlg.m_pHistogram, nullptr);
    EXPECT_EQ(Counts(dlg), want.counts);
    EXPECT_EQ(Bits(dlg.m_dDataMin, dlg.m_dDataMax, dlg.m_dBinWidth, dlg.m_dLastMaxThr, dlg.m_dLastMinThr),
              Bits(want.lo, want.hi, want.width, dlg.m_dMaxThr, dlg.m_dMinThr));
    for (const auto& [got, wanted] : {std::pair{dlg.m_dMaxThr, want.maxThr}, {dlg.m_dMinThr, want.minThr}})
        EXPECT_TRUE(want.rangeOverflows
                        ? std::isfinite(got) && std::abs(got - wanted) <= 1e-12 * (want.hi - want.lo)
                        : Bits(got) == Bits(wanted))
            << got << " vs " << wanted;
}

// Builds the volume in every layout with every kernel set; each against the literal rule.
template <class T>
void CheckAgainstLiteral(const std::vector<T>& voxels, int nx, int ny, int nz, double maxPct = 100.0,
                         double minPct = 0.0) {
    ASSERT_EQ(voxels.size(), size_t(nx) * size_t(ny) * size_t(nz));
    const LiteralResult want = Literal(voxels, maxPct, minPct);
    Slices<T> slices(voxels, nx, ny, nz), block(voxels, nx, ny, nz, true);
    const std::tuple<const T*, void***, const char*> layouts[] = {
        {voxels.data(), nullptr, "flat, "},
        {nullptr, slices.Data(), "slices, "},
        {nullptr, block.Data(), "slices in one block, "}};
    for (const auto& [limit, kernels] : kAllLimits) {
        SetWideVectorLimit(limit);
        CColorDlgBase dlg;  // one window for every layout: each rebuild starts clean
        dlg.m_dMaxPct = maxPct, dlg.m_dMinPct = minPct;
        for (const auto& [flat, volume, layout] : layouts) {
            SCOPED_TRACE(std::string(layout) + kernels);
            Build(dlg, const_cast<T*>(flat), volume, CodeOf<T>(), nx, ny, nz);
            ExpectMatches(dlg, want);
        }
    }
    SetWideVectorLimit(InstructionSet::Avx512);
}

// Values exactly on, and one step either side of, every bin boundary of
// the range lo..hi, with lo and hi themselves.
template <class T>
std::vector<T> Boundaries(T lo, T hi) {
    std::vector<T> v{lo, hi};
    const double dlo = double(lo), w = (double(hi) - dlo) / kBins;
    for (int k = 1; k < kBins; ++k) {
        const double x = dlo + k * w;
        if constexpr (std::is_floating_point_v<T>) {
            const T t = T(x), inf = std::numeric_limits<T>::infinity();
            for (T c : {std::nextafter(t, -inf), t, std::nextafter(t, inf)})
                if (c >= lo && c <= hi) v.push_back(c);
        } else {
            for (double c : {std::floor(x) - 1, std::floor(x), std::ceil(x), std::ceil(x) + 1})
                if (c >= double(lo) && c <= double(hi)) v.push_back(T(c));
        }
    }
    while (v.size() % 7) v.push_back(lo);  // 7 rows of odd length
    return v;
}

template <class T>
class KernelExactness : public ::testing::Test {};
using ElementTypes = ::testing::Types<uint8_t, int8_t, int16_t, uint16_t, int32_t, uint32_t, float, double>;
TYPED_TEST_SUITE(KernelExactness, ElementTypes);

TYPED_TEST(KernelExactness, RandomBitsOfEveryKind) {
    std::mt19937_64 rng(CodeOf<TypeParam>());
    std::vector<TypeParam> v(37 * 11 * 5);
    for (auto& x : v) {  // any pattern: NaN, infinities and denormals too
        const uint64_t bits = rng();
        std::memcpy(&x, &bits, sizeof x);
    }
    CheckAgainstLiteral(v, 37, 11, 5, 80.0, 12.5);
}

TYPED_TEST(KernelExactness, OnAndAroundBinBoundaries) {
    using T = TypeParam;
    using L = std::numeric_limits<T>;
    std::vector<std::pair<T, T>> ranges;
    if constexpr (std::is_floating_point_v<T>)
        ranges = {
            {T(0.1), T(7.3)}, {T(-3.7), T(1e3 / 3)}, {T(0), T(1)}, {T(-1e-30), T(3e-30)}, {T(17), T(17.5)}};
    else
        ranges = {
            {L::min(), L::max()}, {T(L::min() / 3 + 7), T(L::max() / 5 * 4 - 3)}, {T(0), T(L::max() / 2)}};
    for (auto [lo, hi] : ranges) {
        const auto v = Boundaries<T>(lo, hi);
        CheckAgainstLiteral(v, int(v.size() / 7), 7, 1);
    }
}

TYPED_TEST(KernelExactness, ExtremesOfTheType) {
    using T = TypeParam;
    using L = std::numeric_limits<T>;
    std::vector<T> v{L::lowest(), L::max(), T(0), T(1), L::max(), L::lowest(), T(L::max() / 2)};
    if constexpr (std::is_floating_point_v<T>)
        v.insert(v.end(), {L::denorm_min(), -L::denorm_min(), L::min(), -L::min(), T(-0.0), L::min() / 3});
    if constexpr (std::is_signed_v<T>) v.push_back(T(-1));
    while (v.size() % 3) v.push_back(T(2));
    CheckAgainstLiteral(v, int(v.size() / 3), 3, 1, 75.0, 25.0);
    // The same without the two extremes on the low or the high side.
    std::vector<T> small;
    if constexpr (std::is_floating_point_v<T>)
        small = {L::denorm_min(), T(0), L::min(), -L::denorm_min(), T(3) * L::denorm_min(), T(-0.0)};
    else
        small = {T(L::max() - 2), L::max(), T(L::max() - 1), L::max(), T(L::max() - 5), T(L::max() - 4)};
    CheckAgainstLiteral(small, 2, 3, 1);
}

TEST(KernelExactness, Every16BitValueExhaustively) {
    std::mt19937_64 rng(16);
    std::vector<uint16_t> u(65536 * 2);
    std::vector<int16_t> s(65536 * 2);
    for (size_t i = 0; i < 65536; ++i) {
        u[i] = uint16_t(i), s[i] = int16_t(i - 32768);
        u[65536 + i] = uint16_t(rng()), s[65536 + i] = int16_t(rng());
    }
    CheckAgainstLiteral(u, 256, 128, 4);
    CheckAgainstLiteral(s, 256, 128, 4);
}

// The vector kernels find bins without dividing; around each boundary m * w,
// a few steps either side, they must agree with the division, for widths of
// every magnitude the fast path accepts.
TEST(KernelExactness, VectorBinsAgreeWithTheDivisionAroundEveryBoundary) {
#if QC_X86_KERNELS
    namespace h = qorcolor::histogram;
    if (!CpuHasAvx2() || !CpuHasFma()) GTEST_SKIP() << "no AVX2 and FMA here";
    std::mt19937_64 rng(1024);
    std::vector<double> widths{1.0, 0.1, 4.0 / kBins, 4095.0 / kBins, 0x1p-959, 0x1p1000, 1e-280, 1e300};
    for (int e = -950; e <= 1000; e += 25)
        widths.push_back(std::ldexp(std::uniform_real_distribution<double>(1.0, 2.0)(rng), e));
    const double inf = std::numeric_limits<double>::infinity();
    for (double w : widths) {
        ASSERT_TRUE(h::VectorBinsExact(w)) << w;
        std::vector<double> d{0.0, inf, std::nextafter(kBins * w, inf), 1.5 * kBins * w, DBL_MAX, NAN, -inf};
        for (int m = 1; m <= kBins; ++m) {
            double below = m * w, above = below;
            d.push_back(below);
            for (int step = 0; step < 3; ++step)
                d.insert(d.end(), {below = std::nextafter(below, 0.0), above = std::nextafter(above, inf)});
            d.push_back(std::uniform_real_distribution<double>(0.0, kBins * w)(rng));
        }
        std::vector<int32_t> exact(d.size()), fast(d.size());
        const auto grid = h::MakeBinGrid(0.0, w, kBins);
        h::ScalarBins(d.data(), d.size(), grid, exact.data());
        h::Avx2Bins(d.data(), d.size(), grid, fast.data());
        ASSERT_EQ(fast, exact) << "AVX2, width " << w;
        if (!CpuHasAvx512()) continue;
        h::Avx512Bins(d.data(), d.size(), grid, fast.data());
        ASSERT_EQ(fast, exact) << "AVX-512, width " << w;
    }
    EXPECT_FALSE(h::VectorBinsExact(0.0) || h::VectorBinsExact(1e-300) || h::VectorBinsExact(inf));
#else
    GTEST_SKIP() << "no vector kernels in this build";
#endif
}

// The flat buffer wins over slices; missing rows and slices hold nothing to
// read; a valid histogram is left alone until it is marked invalid; a rebuild
// of another type into the same array starts from zero. Code 1 is no element
// type: nothing is read and the previous histogram stays, or none is made.
TEST(HistogramSource, FlatWinsNullRowsArePassedOverValidStaysUnsupportedCodesReadNothing) {
    std::vector<float> v(4 * 3 * 2);
    std::iota(v.begin(), v.end(), 0.0f);
    Slices<float> slices(v, 4, 3, 2, true);
    const float flat[] = {200, 200};
    CColorDlgBase dlg;
    Build(dlg, const_cast<float*>(flat), slices.Data(), CodeOf<float>(), 2, 1, 1);
    EXPECT_EQ(dlg.m_dDataMin, 200.0);
    slices.rowPtrs[1] = nullptr, slices.slicePtrs[1] = nullptr;  // voxels 4..7 and 12..23
    Build(dlg, nullptr, slices.Data(), CodeOf<float>(), 4, 3, 2);
    EXPECT_EQ(std::tuple(Sum(dlg), dlg.m_dDataMax), std::tuple(8, 11.0));
    const std::vector<int32_t> before = Counts(dlg);
    v.assign(v.size(), 100), dlg.m_nHistPeak = 77;
    dlg.ComputeHistogram();
    EXPECT_EQ(std::tuple(Counts(dlg), dlg.m_nHistPeak), std::tuple(before, 77));
    int32_t* const array = dlg.m_pHistogram;  // a smaller rebuild reuses it and leaves nothing behind
    const uint8_t one[] = {42};
    BuildFlat(dlg, one, 1, 1, 1);
    const std::vector<int32_t> before1 = Counts(dlg);
    EXPECT_EQ(std::tuple(dlg.m_pHistogram, dlg.m_nHistPeak, Sum(dlg)), std::tuple(array, 0, 1));
    std::unique_ptr<uint8_t[]> nothing(new uint8_t[0]);  // any read trips the address sanitizer
    Build(dlg, nothing.get(), nullptr, 1, 100, 1, 1);
    EXPECT_EQ(std::tuple(Counts(dlg), dlg.m_dDataMax), std::tuple(before1, 42.0));
    CColorDlgBase fresh;
    fresh.m_dMaxThr = 12.0, fresh.m_dMinThr = 3.0;
    Build(fresh, nothing.get(), nullptr, 1, 10, 10, 10);
    EXPECT_EQ(std::tuple(fresh.m_bHistValid, fresh.m_pHistogram, fresh.m_dMaxThr, fresh.m_dMinThr),
              std::tuple(1, nullptr, 12.0, 3.0));
}

TYPED_TEST(KernelExactness, EmptyVolumeReadsNoVoxel) {
    using T = TypeParam;
    std::unique_ptr<T[]> nothing(new T[0]);
    std::unique_ptr<T**[]> noSlices(new T**[0]);
    const LiteralResult empty = Literal(std::vector<T>{}, 75.0, 25.0);  // all zero
    for (auto [nx, ny, nz] : {std::tuple{0, 5, 5}, {5, -1, 5}, {5, 5, 0}, {-3, -3, -3}}) {
        CColorDlgBase dlg;
        dlg.m_dMaxPct = 75.0, dlg.m_dMinPct = 25.0;
        BuildFlat(dlg, nothing.get(), nx, ny, nz);
        ExpectMatches(dlg, empty);
        if (nz > 0) continue;  // no slice pointer to read
        Build(dlg, nullptr, reinterpret_cast<void***>(noSlices.get()), CodeOf<T>(), nx, ny, nz);
        ExpectMatches(dlg, empty);
    }
}

// Equal voxels (a zero width); non-finite ones, left out, also past one vector
// block; a zero extreme keeps the sign of the first zero voxel, as the
// sequential pass does, also where the vector pass meets the other zero first.
TEST(OddInput, EqualNonFiniteAndZeroExtremeVoxels) {
    CheckAgainstLiteral(std::vector<float>(30, 3.5f), 5, 3, 2, 75.0, 25.0);
    CheckAgainstLiteral(std::vector<int32_t>(30, -7), 5, 3, 2);
    std::vector<float> f(40, 1.0f);
    f[33] = -0.0f, f[37] = 0.0f, f[2] = 0.0f;
    CheckAgainstLiteral(f, 40, 1, 1);
    std::vector<double> d(40, -1.0);
    d[30] = -0.0, d[31] = 0.0;
    CheckAgainstLiteral(d, 8, 5, 1);
    const auto check = [](auto type) {
        using T = decltype(type);
        const T nan = std::numeric_limits<T>::quiet_NaN(), inf = std::numeric_limits<T>::infinity();
        std::vector<T> v{nan, T(2), inf, -inf, T(5), nan, T(3), -nan};
        for (int k = 0; k < 20; ++k) v.push_back(k % 2 ? nan : inf);
        v.insert(v.end(), {T(4), -inf, nan, T(2.5)});
        CheckAgainstLiteral(v, 8, 4, 1);
        CheckAgainstLiteral(std::vector<T>{nan, inf, -inf, nan, -nan, inf, nan, nan, inf, -inf}, 5, 2, 1);
    };
    check(0.0f);
    check(0.0);
}

// Without voxels: a noisy bell over 0 ... 4096 with one peak near the middle
// bin, falling off to both ends, and other noise in another second.
TEST(Demonstration, NoisyBellOverItsOwnRangeDrawnAnewEachSecond) {
    CColorDlgBase dlg;
    dlg.m_dMaxPct = 75.0, dlg.m_dMinPct = 25.0;
    const auto build = [&dlg] { return Build(dlg, nullptr, nullptr, 0, 0, 0, 0), Counts(dlg); };
    const std::vector<int32_t> first = build();
    const time_t drawn = time(nullptr);
    EXPECT_EQ(std::tuple(dlg.m_dDataMin, dlg.m_dDataMax, dlg.m_dMinThr, dlg.m_dMaxThr),
              std::tuple(0.0, 4096.0, 1024.0, 3072.0));
    EXPECT_LE(std::abs(std::max_element(first.begin(), first.end()) - first.begin() - 512), 40);
    std::vector<int64_t> blocks;  // eight blocks of 128 bins rise to the middle and fall after it
    for (auto b = first.begin(); b != first.end(); b += 128)
        blocks.push_back(std::accumulate(b, b + 128, int64_t{0}));
    EXPECT_EQ(std::adjacent_find(blocks.begin(), blocks.begin() + 4, std::greater_equal<>()),
              blocks.begin() + 4);
    EXPECT_EQ(std::adjacent_find(blocks.begin() + 4, blocks.end(), std::less_equal<>()), blocks.end());
    EXPECT_TRUE(blocks[0] * 10 < blocks[3] && blocks[7] * 10 < blocks[4]) << blocks[0] << " " << blocks[7];
    while (time(nullptr) == drawn) std::this_thread::sleep_for(std::chrono::milliseconds(20));
    EXPECT_NE(build(), first);
}

}  // namespace
