// The tables a host asks for on every change: the 16-bit value-indexed table
// with every entry interpolated, and a 10240-entry alpha-weighted ramp.
#include <benchmark/benchmark.h>

#include <random>
#include <vector>

#include "colortable/kernels/fill_color_tab.h"
#include "dialog/color_dlg.h"

namespace {

struct Bench {
    Bench() : source(10240), table(65535) {
        std::mt19937 rng(1);
        for (auto& e : source) e = static_cast<unsigned int>(rng());
        dlg.m_param = {source.data(), 10239, 32767.0, -32768.0, 32766.0, -32768.0, 10000, 100};
        dlg.m_nDataType = 4;
    }
    std::vector<unsigned int> source;
    std::vector<unsigned int> table;
    CColorDlgBase dlg;
};

void BM_SignedShortTableAllInterpolated(benchmark::State& state) {
    Bench b;
    for (auto _ : state) {
        benchmark::DoNotOptimize(b.dlg.BuildDataColorTab(b.table.data()));
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations() * 65535);
}
BENCHMARK(BM_SignedShortTableAllInterpolated)->Unit(benchmark::kMicrosecond);

void BM_SignedShortTableThresholdsAtTenPercent(benchmark::State& state) {
    Bench b;
    b.dlg.m_param.dMinThr = -3000.0;
    b.dlg.m_param.dMaxThr = 3553.0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(b.dlg.BuildDataColorTab(b.table.data()));
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations() * 65535);
}
BENCHMARK(BM_SignedShortTableThresholdsAtTenPercent)->Unit(benchmark::kMicrosecond);

// The same table with the instructions every x86-64 processor has.
void BM_SignedShortTableAllInterpolatedBaseline(benchmark::State& state) {
    using namespace qorcolor::colortable;
    Bench b;
    const Stretch stretch = MakeStretch(b.dlg.m_param);
    for (auto _ : state) {
        FillValueIndexed(stretch, b.table.data(), {65535, -32768.0}, b.dlg.m_param.dMinThr,
                         b.dlg.m_param.dMaxThr, InstructionSet::Baseline);
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations() * 65535);
}
BENCHMARK(BM_SignedShortTableAllInterpolatedBaseline)->Unit(benchmark::kMicrosecond);

void BM_AlphaRamp10240(benchmark::State& state) {
    Bench b;
    b.dlg.m_nColorCount = 10240;
    b.dlg.OnBnClickedOk();  // a 10240-entry own table and alpha curve to sample
    b.dlg.m_param.pColorTab = b.source.data();
    b.dlg.m_param.nMaxIndex = 10239;
    b.dlg.m_param.nLowIndex = 100;
    b.dlg.m_param.nHighIndex = 10000;
    double minThr, maxThr, dataMin, dataMax;
    for (auto _ : state) {
        int count = 10240;
        benchmark::DoNotOptimize(
            b.dlg.SampleColorTabAlpha(b.table.data(), count, minThr, maxThr, dataMin, dataMax));
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations() * 10240);
}
BENCHMARK(BM_AlphaRamp10240)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
