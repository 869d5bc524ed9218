// Auto contrast: the thresholds at two percentiles of the host's voxels.
#include <qorcolor/datatypes.h>
#include <qorcolor/extensions.h>

#include "../dialog/color_dlg.h"
#include "kernels/percentiles.h"

namespace {

using namespace qorcolor::histogram;

template <class T>
PercentilePair Percentiles(const CColorDlgBase& dlg, double pLow, double pHigh) {
    VoxelRuns<T> runs;
    runs.flat = static_cast<const T*>(dlg.m_pFlatData);
    if (!runs.flat) runs.slices = reinterpret_cast<T***>(dlg.m_pVolume);
    runs.nx = dlg.m_nDimX, runs.ny = dlg.m_nDimY, runs.nz = dlg.m_nDimZ;
    // The window's counts serve when they are the wide kernel's own.
    const KnownHistogram known{dlg.m_pHistogram, dlg.m_nBins, dlg.m_dDataMin, dlg.m_dDataMax,
                               dlg.m_dBinWidth};
    return ExactPercentiles(runs, pLow, pHigh, dlg.m_pHistogram ? &known : nullptr);
}

}  // namespace

int CColorDlgBase::AutoContrast(double pLow, double pHigh) {
    if (!ValidFractions(pLow, pHigh)) return QOR_BAD_ARGUMENT;
    if (!m_pVolume && !m_pFlatData) return QOR_NOTHING_TO_DO;
    ComputeHistogram();
    PercentilePair pair;
    const bool typed = qorcolor::WithElementType(
        m_nDataType, [&](auto element) { pair = Percentiles<decltype(element)>(*this, pLow, pHigh); });
    if (!typed || pair.status != PercentileStatus::kOk) return QOR_NOTHING_TO_DO;

    m_dMinThr = pair.low;
    m_dMaxThr = pair.high;
    // As a typed low threshold: the high one makes way for the gap.
    if (m_dMinThr > m_dMaxThr - m_dMinGapThr) m_dMaxThr = m_dMinThr + m_dMinGapThr;
    KeepThresholdsInBands();
    PercentagesFromThresholds();
    UpdateData(FALSE);
    m_dLastMaxThr = m_dMaxThr;
    m_dLastMinThr = m_dMinThr;
    UpdateView(m_bNotify);
    UpdateData(FALSE);
    return QOR_OK;
}
