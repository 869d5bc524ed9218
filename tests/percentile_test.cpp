// Exact percentiles and auto contrast: the kernel against a sort and against
// numpy, and the dialog's command on its state and the window.
#include <gtest/gtest.h>
#include <qorcolor/datatypes.h>
#include <qorcolor/extensions.h>
#include <qorcolor/qorcolor.h>

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <limits>
#include <random>
#include <sstream>
#include <string>
#include <tuple>
#include <vector>

#include "common/range_math.h"
#include "histogram/kernels/percentiles.h"
#include "histogram/kernels/sub_counts.h"
#include "support/shown_dialog.h"

namespace {

using driver::Text;
using qorcolor::CodeOf;
using namespace qorcolor::histogram;

constexpr double kInf = std::numeric_limits<double>::infinity();
// Pairs of fractions; the third names ranks at either end of a bin's run.
constexpr std::pair<double, double> kFractions[] = {{0.0, 1.0},       {0.005, 0.995},   {0.25, 0.75},
                                                    {0.5, 0.5000001}, {1.0 / 3, 0.999}, {0.0, 1e-9}};

// s[floor(p * (N - 1))] of the voxels that are not NaN, by sorting them.
template <class T>
std::pair<double, double> SortedPercentiles(const std::vector<T>& voxels, double pLow, double pHigh) {
    std::vector<double> s;
    for (const T v : voxels)
        if (v == v) s.push_back(double(v));
    std::sort(s.begin(), s.end());
    const auto at = [&](double p) { return s[size_t(std::floor(p * double(s.size() - 1)))]; };
    return {at(pLow), at(pHigh)};
}

// The volume as a flat buffer, and as slice pointers to rows of their own.
template <class T>
struct Layouts {
    std::vector<std::vector<T>> rows;
    std::vector<T*> rowPtrs;
    std::vector<T**> slicePtrs;
    VoxelRuns<T> flat, slices;
    Layouts(const std::vector<T>& voxels, int nx, int ny, int nz) {
        for (size_t r = 0; r < size_t(ny) * size_t(nz); ++r)
            rows.emplace_back(voxels.begin() + std::ptrdiff_t(r * nx),
                              voxels.begin() + std::ptrdiff_t((r + 1) * nx));
        for (auto& row : rows) rowPtrs.push_back(row.data());
        for (int z = 0; z < nz; ++z) slicePtrs.push_back(rowPtrs.data() + size_t(z) * size_t(ny));
        flat.flat = voxels.data();
        slices.slices = slicePtrs.data();
        flat.nx = slices.nx = nx, flat.ny = slices.ny = ny, flat.nz = slices.nz = nz;
    }
};

// Random voxels of a few kinds: any bit pattern (NaN and infinities for the
// floating types), a few values repeated, and one value with rare outliers.
template <class T>
std::vector<T> RandomVoxels(std::mt19937_64& rng, size_t n, int kind) {
    std::vector<T> v(n);
    for (size_t i = 0; i < n; ++i) {
        T bits;
        const uint64_t r = rng();
        std::memcpy(&bits, &r, sizeof(T));
        const T few = T(int(r % 7) * 3 - 5);
        const T ramp = T(i % 2048);  // every bin of the 32-bit types holds two values
        v[i] = kind == 0 ? bits : kind == 1 ? few : kind == 2 ? (r % 97 == 0 ? bits : T(42)) : ramp;
    }
    return v;
}

template <class T>
class Percentiles : public ::testing::Test {};
using ElementTypes = ::testing::Types<uint8_t, int8_t, int16_t, uint16_t, int32_t, uint32_t, float, double>;
TYPED_TEST_SUITE(Percentiles, ElementTypes);

// Every layout, and for the wide types the window's histogram, none, and a
// histogram of other voxels, agree with the sort on the rank of each fraction.
TYPED_TEST(Percentiles, EqualTheSortedVoxelsInEveryLayout) {
    using T = TypeParam;
    std::mt19937_64 rng(CodeOf<T>());
    const std::tuple<int, int, int> dims[] = {{1, 1, 2}, {7, 5, 3}, {33, 17, 9}, {64, 64, 16}};
    for (const auto& [nx, ny, nz] : dims) {
        for (int kind = 0; kind < 4; ++kind) {
            const std::vector<T> voxels = RandomVoxels<T>(rng, size_t(nx) * ny * nz, kind);
            const std::vector<T> other = RandomVoxels<T>(rng, voxels.size(), (kind + 1) % 4);
            Layouts<T> data(voxels, nx, ny, nz), stale(other, nx, ny, nz);
            std::vector<int32_t> counts(1024), staleCounts(1024);
            const KernelResult r =
                sizeof(T) > 2 ? BuildWideTypeHistogram(data.flat, 1024, counts.data()) : KernelResult{};
            const KernelResult s =
                sizeof(T) > 2 ? BuildWideTypeHistogram(stale.flat, 1024, staleCounts.data()) : KernelResult{};
            const KnownHistogram known{counts.data(), 1024, r.lo, r.hi, BinWidth(r.lo, r.hi, 1024)};
            const KnownHistogram wrong{staleCounts.data(), 1024, s.lo, s.hi, BinWidth(s.lo, s.hi, 1024)};
            for (const auto& [pLow, pHigh] : kFractions) {
                SCOPED_TRACE(testing::Message() << nx << "x" << ny << "x" << nz << " kind " << kind << " p "
                                                << pLow << " " << pHigh);
                const auto [low, high] = SortedPercentiles(voxels, pLow, pHigh);
                const auto [least, most] = SortedPercentiles(voxels, 0, 1);
                for (const auto& [runs, hist] : {std::pair{data.flat, &known},
                                                 {data.slices, &known},
                                                 {data.flat, nullptr},
                                                 {data.slices, &wrong}}) {
                    const PercentilePair got = ExactPercentiles(runs, pLow, pHigh, hist);
                    if (least == most) {
                        EXPECT_EQ(got.status, PercentileStatus::kNothingToDo);
                        continue;
                    }
                    EXPECT_EQ(std::tuple(got.status, got.low, got.high),
                              std::tuple(PercentileStatus::kOk, low, high));
                }
            }
        }
    }
}

// Every 16-bit value once, in shuffled order, at a thousand fractions.
TEST(Percentiles, EverySixteenBitValueAtAThousandFractions) {
    std::vector<int16_t> voxels(65536);
    for (size_t i = 0; i < voxels.size(); ++i) voxels[i] = int16_t(uint16_t(i));
    std::shuffle(voxels.begin(), voxels.end(), std::mt19937(5));
    const Layouts<int16_t> data(voxels, 256, 16, 16);
    std::vector<int16_t> sorted = voxels;
    std::sort(sorted.begin(), sorted.end());
    for (int k = 0; k < 1000; ++k) {
        const double pLow = k / 1000.0, pHigh = (k + 1) / 1000.0;
        const auto rank = [](double p) { return size_t(std::floor(p * 65535)); };
        const PercentilePair got = ExactPercentiles(data.slices, pLow, pHigh);
        ASSERT_EQ(std::tuple(got.low, got.high), std::tuple(sorted[rank(pLow)], sorted[rank(pHigh)])) << k;
    }
}

// NaN leaves the count, infinities take part and move the ranks of the
// finite voxels, and a volume of one value (or none) has nothing to give.
TEST(Percentiles, NaNAndInfinities) {
    const double nan = std::nan("");
    const std::vector<double> volumes[] = {{nan, nan, nan, nan},
                                           {5, nan, 5, 5},
                                           {-kInf, nan, -kInf, -kInf},
                                           {-kInf, kInf, nan, 1},
                                           {kInf, kInf, kInf, 1, 2, 3},
                                           {-kInf, -kInf, -kInf, 9, 8, nan, 7, 1e300, -1e300, 0},
                                           {1, 2, 3, 4, nan, nan, nan, nan, nan, nan, nan, nan, kInf}};
    for (const auto& volume : volumes) {
        const std::vector<float> floats(volume.begin(), volume.end());
        const Layouts<double> wide(volume, int(volume.size()), 1, 1);
        const Layouts<float> narrow(floats, int(floats.size()), 1, 1);
        std::vector<double> numbers;
        for (const double v : volume)
            if (v == v) numbers.push_back(v);
        const bool one = numbers.empty() || *std::min_element(numbers.begin(), numbers.end()) ==
                                                *std::max_element(numbers.begin(), numbers.end());
        for (const auto& [pLow, pHigh] : kFractions) {
            const PercentilePair a = ExactPercentiles(wide.flat, pLow, pHigh),
                                 b = ExactPercentiles(narrow.slices, pLow, pHigh);
            if (one) {
                EXPECT_EQ(std::tuple(a.status, b.status),
                          std::tuple(PercentileStatus::kNothingToDo, PercentileStatus::kNothingToDo));
                continue;
            }
            const auto [low, high] = SortedPercentiles(floats, pLow, pHigh);
            const auto [wideLow, wideHigh] = SortedPercentiles(volume, pLow, pHigh);
            EXPECT_EQ(std::tuple(a.status, a.low, a.high),
                      std::tuple(PercentileStatus::kOk, wideLow, wideHigh));
            EXPECT_EQ(std::tuple(b.status, b.low, b.high), std::tuple(PercentileStatus::kOk, low, high));
        }
    }
}

constexpr std::pair<double, double> kBadFractions[] = {
    {-0.1, 0.5}, {0.5, 0.5}, {0.6, 0.5}, {NAN, 0.5}, {0.0, NAN}, {0.0, 1.0000001}, {-kInf, 1.0}, {0.0, kInf}};

TEST(Percentiles, BadFractionsAreRefusedBeforeAnyRead) {
    const VoxelRuns<float> unreadable{nullptr, reinterpret_cast<float***>(8), 4, 4, 4};  // read: a crash
    for (const auto& [pLow, pHigh] : kBadFractions)
        EXPECT_EQ(ExactPercentiles(unreadable, pLow, pHigh).status, PercentileStatus::kBadArgument)
            << pLow << " " << pHigh;
}

// numpy's quantile(method="lower") of nibabel's volumes and of float data with
// NaN and infinities, as percentile_expect.py wrote them.
TEST(Percentiles, AgreeWithNumpy) {
    std::ifstream expect(PERCENTILE_EXPECT "/expect.txt");
    std::string line;
    int volumes = 0;
    while (std::getline(expect, line)) {
        std::istringstream in(line);
        std::string name;
        int code, nx, ny, nz;
        in >> name >> code >> nx >> ny >> nz;
        std::vector<std::pair<double, double>> quantiles;
        for (std::string p, v; in >> p >> v;)
            quantiles.emplace_back(std::strtod(p.c_str(), nullptr), std::strtod(v.c_str(), nullptr));
        std::ifstream raw(PERCENTILE_EXPECT "/" + name, std::ios::binary);
        const std::string bytes{std::istreambuf_iterator<char>(raw), {}};
        qorcolor::WithElementType(code, [&](auto element) {
            using T = decltype(element);
            std::vector<T> voxels(bytes.size() / sizeof(T));
            ASSERT_EQ(voxels.size(), size_t(nx) * ny * nz) << name;
            std::memcpy(voxels.data(), bytes.data(), bytes.size());
            const Layouts<T> data(voxels, nx, ny, nz);
            for (const auto& [pLow, low] : quantiles) {
                for (const auto& [pHigh, high] : quantiles) {
                    if (!(pLow < pHigh)) continue;
                    const PercentilePair got = ExactPercentiles(data.flat, pLow, pHigh);
                    EXPECT_EQ(std::tuple(got.status, got.low, got.high),
                              std::tuple(PercentileStatus::kOk, low, high))
                        << name << " " << pLow << " " << pHigh;
                }
            }
            ++volumes;
        });
    }
    if (volumes == 0) GTEST_SKIP() << "no numpy or nibabel here";
}

class AutoContrastWindow : public ShownDialog {
protected:
    // A float volume of a slow ramp with NaN among it and rare far outliers.
    void ShowFloats(float outlier = 1000.0f) {
        for (size_t i = 0; i < floats.size(); ++i)
            floats[i] = i % 11 == 0 ? NAN : i % 101 == 0 ? outlier : float(i % 500) * 0.25f;
        CQorColorDlg::showInit(reinterpret_cast<void***>(floats.data()), -QOR_FLOAT32, 20, 10, 10,
                               reinterpret_cast<void*>(&CountNotification), const_cast<char*>("floats"),
                               table.data());
        dlg = g_pColorDlg;
        hDlg = dlg->m_hWnd;
        g_notifications = 0;
    }
    std::tuple<double, double, double, double, int> State() const {
        return {dlg->m_dMinPct, dlg->m_dMaxPct, dlg->m_dMinThr, dlg->m_dMaxThr, g_notifications};
    }
    std::vector<float> floats = std::vector<float>(2000);
};

// The thresholds become the exact voxel values, the percentages follow from
// them, the edits show them, and the host hears of it once.
TEST_F(AutoContrastWindow, ThresholdsBecomeTheVoxelValuesWithOneNotification) {
    ShowFloats();
    const auto [low, high] = SortedPercentiles(floats, 0.05, 0.8);
    ASSERT_EQ(dlg->AutoContrast(0.05, 0.8), QOR_OK);
    EXPECT_EQ(State(), std::tuple(PercentAt(dlg->m_dDataMin, dlg->m_dDataMax, low),
                                  PercentAt(dlg->m_dDataMin, dlg->m_dDataMax, high), low, high, 1));
    EXPECT_EQ(std::tuple(std::strtod(Text(Item(IDC_MIN_THR)).c_str(), nullptr),
                         std::strtod(Text(Item(IDC_MAX_THR)).c_str(), nullptr)),
              std::tuple(low, high));
    // Equal percentiles: the upper threshold makes way for the gap, inside
    // the range and at either end.
    const double middle = SortedPercentiles(floats, 0.5, 0.5).first;
    ASSERT_EQ(dlg->AutoContrast(0.5, 0.5000001), QOR_OK);
    EXPECT_EQ(std::tuple(dlg->m_dMinThr, dlg->m_dMaxThr), std::tuple(middle, middle + dlg->m_dMinGapThr));
    ASSERT_EQ(dlg->AutoContrast(0.999, 1.0), QOR_OK);
    EXPECT_EQ(std::tuple(dlg->m_dMinThr, dlg->m_dMaxThr), std::tuple(1000.0 - dlg->m_dMinGapThr, 1000.0));
    ASSERT_EQ(dlg->AutoContrast(0.0, 1e-6), QOR_OK);
    EXPECT_EQ(std::tuple(dlg->m_dMinThr, dlg->m_dMaxThr), std::tuple(0.0, dlg->m_dMinGapThr));
    EXPECT_GT(dlg->m_dMinGapThr, 0.0);
    EXPECT_EQ(g_notifications, 4);
}

// Bad fractions, the demonstration and data of one value change nothing.
TEST_F(AutoContrastWindow, RefusalsChangeNothing) {
    const auto before = State();
    EXPECT_EQ(dlg->AutoContrast(CColorDlgBase::kAutoContrastLow, CColorDlgBase::kAutoContrastHigh),
              QOR_NOTHING_TO_DO);
    EXPECT_EQ(State(), before);
    ShowFloats();
    const auto shown = State();
    for (const auto& [pLow, pHigh] : kBadFractions)
        EXPECT_EQ(dlg->AutoContrast(pLow, pHigh), QOR_BAD_ARGUMENT);
    EXPECT_EQ(State(), shown);
    ShowFloats(0.0f);
    std::fill(floats.begin(), floats.end(), 3.5f);
    dlg->m_bHistValid = 0;
    dlg->ComputeHistogram();
    const auto flat = State();
    EXPECT_EQ(dlg->AutoContrast(CColorDlgBase::kAutoContrastLow, CColorDlgBase::kAutoContrastHigh),
              QOR_NOTHING_TO_DO);
    EXPECT_EQ(State(), flat);
}

}  // namespace
