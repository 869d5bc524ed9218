// The sixteen BuildHistogram members: one kernel per element type, fed by
// the flat buffer or the slice pointers, then the range and the thresholds.
#include <cmath>
#include <cstdint>

#include "../dialog/color_dlg.h"
#include "kernels/histogram_kernels.h"
#include "kernels/sub_counts.h"

namespace {

using namespace qorcolor::histogram;

template <class T>
KernelResult RunKernel(const VoxelRuns<T>& runs, int nBins, int32_t* counts) {
    if constexpr (sizeof(T) <= 2)
        return BuildSmallTypeHistogram(runs, nBins, counts);
    else
        return BuildWideTypeHistogram(runs, nBins, counts);
}

template <class T>
void Build(CColorDlgBase& dlg, const VoxelRuns<T>& runs) {
    if (dlg.m_nBins <= 0) return;
    if (!dlg.m_pHistogram) dlg.m_pHistogram = new int32_t[dlg.m_nBins];
    const KernelResult r = RunKernel(runs, dlg.m_nBins, dlg.m_pHistogram);
    dlg.m_dDataMax = r.hi;
    dlg.m_dDataMin = r.lo;
    dlg.m_dBinWidth = BinWidth(r.lo, r.hi, dlg.m_nBins);
    // Over an unchanged range the thresholds stay exactly where they were.
    dlg.ThresholdsFromPercentages(r.range);
    dlg.m_dLastMaxThr = dlg.m_dMaxThr;
    dlg.m_dLastMinThr = dlg.m_dMinThr;
    dlg.UpdateData(FALSE);
}

template <class T>
VoxelRuns<T> Flat(const CColorDlgBase& dlg, const T* data) {
    VoxelRuns<T> runs;
    runs.flat = data;
    runs.nx = dlg.m_nDimX, runs.ny = dlg.m_nDimY, runs.nz = dlg.m_nDimZ;
    return runs;
}

template <class T>
VoxelRuns<T> Slices(const CColorDlgBase& dlg, T*** data) {
    VoxelRuns<T> runs;
    runs.slices = data;
    runs.nx = dlg.m_nDimX, runs.ny = dlg.m_nDimY, runs.nz = dlg.m_nDimZ;
    return runs;
}

}  // namespace

void CColorDlgBase::BuildHistogram(const uint8_t* data) { Build(*this, Flat(*this, data)); }
void CColorDlgBase::BuildHistogram(const int8_t* data) { Build(*this, Flat(*this, data)); }
void CColorDlgBase::BuildHistogram(const int16_t* data) { Build(*this, Flat(*this, data)); }
void CColorDlgBase::BuildHistogram(const uint16_t* data) { Build(*this, Flat(*this, data)); }
void CColorDlgBase::BuildHistogram(const int32_t* data) { Build(*this, Flat(*this, data)); }
void CColorDlgBase::BuildHistogram(const uint32_t* data) { Build(*this, Flat(*this, data)); }
void CColorDlgBase::BuildHistogram(const float* data) { Build(*this, Flat(*this, data)); }
void CColorDlgBase::BuildHistogram(const double* data) { Build(*this, Flat(*this, data)); }
void CColorDlgBase::BuildHistogram(uint8_t*** data) { Build(*this, Slices(*this, data)); }
void CColorDlgBase::BuildHistogram(int8_t*** data) { Build(*this, Slices(*this, data)); }
void CColorDlgBase::BuildHistogram(int16_t*** data) { Build(*this, Slices(*this, data)); }
void CColorDlgBase::BuildHistogram(uint16_t*** data) { Build(*this, Slices(*this, data)); }
void CColorDlgBase::BuildHistogram(int32_t*** data) { Build(*this, Slices(*this, data)); }
void CColorDlgBase::BuildHistogram(uint32_t*** data) { Build(*this, Slices(*this, data)); }
void CColorDlgBase::BuildHistogram(float*** data) { Build(*this, Slices(*this, data)); }
void CColorDlgBase::BuildHistogram(double*** data) { Build(*this, Slices(*this, data)); }
