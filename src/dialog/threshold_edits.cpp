// The four threshold edits: percent of the data range (1001, 1002) and data
// units (1004, 1005), kept in step and at least the minimum gap apart.
#include <cmath>

#include "../common/range_math.h"
#include "color_dlg.h"

namespace {

double Clamp(double v, double lo, double hi) { return v < lo ? lo : (v > hi ? hi : v); }

}  // namespace

double CColorDlgBase::PercentOf(ThresholdLink& link, double thr) {
    const double lo = m_dDataMin, hi = m_dDataMax;
    if (thr == link.thr && lo == link.lo && hi == link.hi) return link.pct;
    link = {PercentAt(lo, hi, thr), thr, lo, hi};
    return link.pct;
}

double CColorDlgBase::ThresholdOf(ThresholdLink& link, double pct, double range) {
    const double lo = m_dDataMin, hi = m_dDataMax;
    if (pct == link.pct && lo == link.lo && hi == link.hi) return link.thr;
    link = {pct, ValueAt(lo, hi, pct, range), lo, hi};
    return link.thr;
}

void CColorDlgBase::ThresholdsFromPercentages(double range) {
    m_dMaxThr = ThresholdOf(m_maxLink, m_dMaxPct, range);
    m_dMinThr = ThresholdOf(m_minLink, m_dMinPct, range);
}

// An empty range keeps the percentages: any of them names the same value.
void CColorDlgBase::PercentagesFromThresholds() {
    if (m_dDataMax == m_dDataMin) return;
    m_dMaxPct = PercentOf(m_maxLink, m_dMaxThr);
    m_dMinPct = PercentOf(m_minLink, m_dMinThr);
}

void CColorDlgBase::KeepThresholdsInBands() {
    const double lo = m_dDataMin, hi = m_dDataMax, gap = m_dMinGapThr;
    // NaN passes every comparison below; it goes to the end of its band.
    if (std::isnan(m_dMaxThr)) m_dMaxThr = hi;
    if (std::isnan(m_dMinThr)) m_dMinThr = lo;
    if (m_dMaxThr >= hi) {
        m_dMaxThr = hi;
    } else if (lo + gap > m_dMaxThr) {
        m_dMaxThr = lo + gap;
    }
    if (lo > m_dMinThr) {
        m_dMinThr = lo;
    } else if (m_dMinThr > hi - gap) {
        m_dMinThr = hi - gap;
    }
}

// Common tail: the edit being typed in (`editing`) keeps its text and caret
// while the other representation of the pair is written to the controls.
void CColorDlgBase::FinishThresholdEdit(EditedField editing, bool fromPercent) {
    m_nEditing = editing;
    if (fromPercent) {
        ThresholdsFromPercentages();
    } else {
        PercentagesFromThresholds();
    }
    UpdateData(FALSE);
    m_dLastMaxThr = m_dMaxThr;
    m_dLastMinThr = m_dMinThr;
    m_nEditing = kNoField;
    UpdateView(m_bNotify);
}

// The typed value was taken by the edit's change handler as it was typed; a
// refused one gives way to the value in force, as the user expects on Enter.
bool CColorDlgBase::ConfirmThresholdEdit() {
    const HWND focus = ::GetFocus();
    bool inEdit = false;
    for (const int id : {IDC_MAX_PCT, IDC_MIN_PCT, IDC_MAX_THR, IDC_MIN_THR})
        inEdit = inEdit || (focus && focus == ::GetDlgItem(m_hWnd, id));
    if (!inEdit) return false;
    UpdateView(0);
    UpdateData(FALSE);
    RecordStep();
    return true;
}

void CColorDlgBase::OnChangeMinPct() {
    if (m_bWritingControls) return;
    UpdateData(TRUE);
    const double p = m_dMinPct;
    const double g = m_dMinGapPct;
    if (p < 0 || p > 100 - g) return;
    if (p > m_dMaxPct - g) m_dMaxPct = p + g;
    if (m_dMaxPct >= 100) {
        m_dMaxPct = 100;
    } else if (m_dMaxPct < g) {
        m_dMaxPct = g;
    }
    FinishThresholdEdit(kMinPctField, true);
}

void CColorDlgBase::OnChangeMaxPct() {
    if (m_bWritingControls) return;
    UpdateData(TRUE);
    const double q = m_dMaxPct;
    const double g = m_dMinGapPct;
    if (q < g || q > 100) return;
    if (m_dMinPct + g > q) m_dMinPct = q - g;
    if (q >= 100) m_dMaxPct = 100;
    m_dMinPct = Clamp(m_dMinPct, 0, 100 - g);
    FinishThresholdEdit(kMaxPctField, true);
}

void CColorDlgBase::OnChangeMinThr() {
    if (m_bWritingControls) return;
    UpdateData(TRUE);
    TakeMinThreshold(m_dMinThr, kMinThrField);
}

void CColorDlgBase::OnChangeMaxThr() {
    if (m_bWritingControls) return;
    UpdateData(TRUE);
    TakeMaxThreshold(m_dMaxThr, kMaxThrField);
}

bool CColorDlgBase::TakeMinThreshold(double t, EditedField editing) {
    const double gap = m_dMinGapThr;
    const double lo = m_dDataMin;
    const double hi = m_dDataMax;
    if (t < lo || t > hi - gap) {
        m_dMinThr = m_dLastMinThr;
        return false;
    }
    m_dMinThr = t;
    if (t > m_dMaxThr - gap) m_dMaxThr = t + gap;
    if (m_dMaxThr >= hi) {
        m_dMaxThr = hi;
    } else if (m_dMaxThr < lo + gap) {
        m_dMaxThr = lo + gap;
    }
    FinishThresholdEdit(editing, false);
    return true;
}

bool CColorDlgBase::TakeMaxThreshold(double t, EditedField editing) {
    const double gap = m_dMinGapThr;
    const double lo = m_dDataMin;
    const double hi = m_dDataMax;
    if (t < lo + gap || t > hi) {
        m_dMaxThr = m_dLastMaxThr;
        return false;
    }
    m_dMaxThr = t;
    if (m_dMinThr + gap > t) m_dMinThr = t - gap;
    if (t >= hi) m_dMaxThr = hi;
    m_dMinThr = Clamp(m_dMinThr, lo, hi - gap);
    FinishThresholdEdit(editing, false);
    return true;
}

// One bin of the histogram in data units; integer data move by one value at least.
double CColorDlgBase::BinStep() const {
    const qorcolor::DataType* type = qorcolor::FindDataType(m_nDataType);
    const bool hostData = m_pVolume != nullptr || m_pFlatData != nullptr;
    const bool integer = hostData && type && type->code != QOR_FLOAT32 && type->code != QOR_FLOAT64;
    return integer ? std::fmax(m_dBinWidth, 1.0) : m_dBinWidth;
}

// The nudged value stops at the end of its band and is then taken as if
// typed, all four edits written.
bool CColorDlgBase::NudgeThreshold(bool upper, int bins) {
    const double step = BinStep() * bins;
    if (bins == 0 || !std::isfinite(step) || step == 0) return false;
    const double lo = m_dDataMin, hi = m_dDataMax, gap = m_dMinGapThr;
    const double was = upper ? m_dMaxThr : m_dMinThr;
    const double to = upper ? Clamp(was + step, lo + gap, hi) : Clamp(was + step, lo, hi - gap);
    if (to == was) return false;
    return upper ? TakeMaxThreshold(to, kNoField) : TakeMinThreshold(to, kNoField);
}
