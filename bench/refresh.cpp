// Cost of one refresh of the view, the work done on every mouse move: the
// 392 x 327 canvas of the dialog with a demonstration-like histogram, on the
// linear and the logarithmic scale, with and without the alpha curve.
#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdint>

#include "dialog/color_dlg.h"

namespace {

constexpr int kWidth = 392;
constexpr int kHeight = 327;

// A noisy bell curve over the 1024 bins, the same on every run.
void FillHistogram(int32_t* counts, int bins) {
    uint32_t seed = 12345;
    for (int b = 0; b < bins; ++b) {
        seed = seed * 1664525u + 1013904223u;
        const double z = (b - 400.0) / 120.0;
        counts[b] = static_cast<int32_t>(50000.0 * std::exp(-0.5 * z * z)) + static_cast<int32_t>(seed >> 22);
    }
}

void BM_Refresh(benchmark::State& state) {
    CColorDlgBase dlg;
    dlg.m_dib.NewCreate(kWidth, kHeight, 24, 0, 1);
    dlg.m_nViewWidth = kWidth;
    dlg.m_nViewHeight = kHeight;
    dlg.m_pColorTab = reinterpret_cast<unsigned int*>(CDIB::GetBuildInColorTable() + 1024 * 10);
    dlg.m_pHistogram = new int32_t[dlg.m_nBins];
    FillHistogram(dlg.m_pHistogram, dlg.m_nBins);
    dlg.m_bHistValid = 1;
    dlg.m_dDataMin = -1000.0;
    dlg.m_dDataMax = 3000.0;
    dlg.m_dMinThr = 200.0;
    dlg.m_dMaxThr = 2200.0;
    dlg.m_nCurBin = 400;
    dlg.m_bLogScale = static_cast<int>(state.range(0));
    dlg.m_bEditAlpha = static_cast<int>(state.range(1));
    for (int k : {64, 128, 192}) {  // inner knots where a user would have put them
        dlg.m_pAlphaKnot[k] = 1;
        dlg.m_pAlpha[k] = k / 255.0f;
        dlg.m_pKnotPos[k] = CPoint(6 + k * 378 / 255, 56 + k);
    }
    dlg.UpdateView(0);
    for (auto _ : state) {
        dlg.UpdateView(0);
        benchmark::DoNotOptimize(dlg.m_dib.GetBits());
    }
}

}  // namespace

BENCHMARK(BM_Refresh)
    ->ArgNames({"log", "alpha"})
    ->ArgsProduct({{0, 1}, {0, 1}})
    ->Unit(benchmark::kMicrosecond);

BENCHMARK_MAIN();
