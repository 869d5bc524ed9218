// Left button and mouse moves on the view: handle drags, knot drags and the
// bin readout.
#include <cstdlib>

#include "../common/range_math.h"
#include "../dialog/color_dlg.h"
#include "layout.h"

namespace {

// Moves the handle being dragged by dx pixels from where the drag began,
// keeping the pair at least the minimum gap apart. Every step is measured
// from the press, so rounding never accumulates.
void DragHandle(CColorDlgBase& d, int dx, int scale) {
    const double shift = RangePart(d.m_dDataMin, d.m_dDataMax, dx, scale);
    const int steps = static_cast<int>(static_cast<long long>(d.m_nMaxIndex) * dx / scale);
    switch (d.m_nActiveHandle) {
        case CColorDlgBase::kLowThr:
            d.m_dMinThr = d.m_dLastMinThr + shift;
            if (d.m_dMinThr > d.m_dMaxThr - d.m_dMinGapThr) d.m_dMaxThr = d.m_dMinThr + d.m_dMinGapThr;
            break;
        case CColorDlgBase::kHighThr:
            d.m_dMaxThr = d.m_dLastMaxThr + shift;
            if (d.m_dMinThr + d.m_dMinGapThr > d.m_dMaxThr) d.m_dMinThr = d.m_dMaxThr - d.m_dMinGapThr;
            break;
        case CColorDlgBase::kLowIndex:
            d.m_nLowIndex = d.m_nDownLowIndex + steps;
            if (d.m_nLowIndex > d.m_nHighIndex - d.m_nMinGapIndex)
                d.m_nHighIndex = d.m_nLowIndex + d.m_nMinGapIndex;
            break;
        case CColorDlgBase::kHighIndex:
            d.m_nHighIndex = d.m_nDownHighIndex + steps;
            if (d.m_nHighIndex < d.m_nLowIndex + d.m_nMinGapIndex)
                d.m_nLowIndex = d.m_nHighIndex - d.m_nMinGapIndex;
            break;
        case CColorDlgBase::kMidThr:
            d.m_dMinThr = d.m_dLastMinThr + shift;
            d.m_dMaxThr = d.m_dLastMaxThr + shift;
            if (d.m_dDataMin > d.m_dMinThr) {
                d.m_dMinThr = d.m_dDataMin;
                d.m_dMaxThr = d.m_dLastMaxThr + d.m_dDataMin - d.m_dLastMinThr;
            } else if (d.m_dMaxThr > d.m_dDataMax) {
                d.m_dMaxThr = d.m_dDataMax;
                d.m_dMinThr = d.m_dDataMax - (d.m_dLastMaxThr - d.m_dLastMinThr);
            }
            break;
        case CColorDlgBase::kMidIndex:
            d.m_nLowIndex = d.m_nDownLowIndex + steps;
            d.m_nHighIndex = d.m_nDownHighIndex + steps;
            if (d.m_nLowIndex < 0) {
                d.m_nLowIndex = 0;
                d.m_nHighIndex = d.m_nDownHighIndex - d.m_nDownLowIndex;
            } else if (d.m_nHighIndex > d.m_nMaxIndex) {
                d.m_nHighIndex = d.m_nMaxIndex;
                d.m_nLowIndex = d.m_nMaxIndex - (d.m_nDownHighIndex - d.m_nDownLowIndex);
            }
            break;
        default:
            break;
    }
}

// The bin under the mouse: the first bin left of the histogram, the last one
// right of it.
int BinAt(const CColorDlgBase& d, const view::ViewLayout& l, int64_t column) {
    const int64_t i = column - l.margin;
    if (i < 0) return 0;
    if (i >= l.columns) return d.m_nBins - 1;
    return view::BinAtColumn(l, i, d.m_nBins);
}

}  // namespace

void CColorDlgBase::OnLButtonDown(UINT /*nFlags*/, CPoint point) {
    RecordStep();  // a value typed and not yet confirmed is a step before this one
    m_ptDown = point;
    m_bMouseDown = 1;
    m_nActiveHandle = kNoHandle;
    const view::CanvasPoint c = view::ClientToCanvas(*this, point);
    if (c.inside) {
        if (m_bEditAlpha == 1) HitTestKnot(static_cast<int>(c.x), static_cast<int>(c.y));
        // In handle index order: the first handle within the margin wins.
        for (int k = 0; k < kHandleCount; ++k) {
            const CPoint& handle = HandlePoint(static_cast<Handle>(k));
            if (std::abs(handle.x - c.x) <= m_nMargin && std::abs(handle.y - c.y) <= m_nMargin) {
                m_nActiveHandle = k;
                m_dLastMaxThr = m_dMaxThr;
                m_dLastMinThr = m_dMinThr;
                m_nDownLowIndex = m_nLowIndex;
                m_nDownHighIndex = m_nHighIndex;
                break;
            }
        }
    }
    if (m_nActiveHandle != kNoHandle) SetCapture();
    UpdateView(0);
    Default();
}

void CColorDlgBase::OnMouseMove(UINT /*nFlags*/, CPoint point) {
    const view::ViewLayout layout = view::MakeLayout(*this);
    const int innerWidth = layout.columns;
    if (m_bEditAlpha == 1 && m_bMouseDown == 1) MoveActiveKnot(m_ptDown.y - point.y);
    if (m_bMouseDown == 1 && m_nActiveHandle != kNoHandle) {
        if (innerWidth > 1) DragHandle(*this, point.x - m_ptDown.x, innerWidth - 1);
        UpdateView(m_bNotify);
        UpdateData(FALSE);
        Default();
        return;
    }
    const view::CanvasPoint c = view::ClientToCanvas(*this, point);
    if (m_pHistogram != nullptr && c.inside) {
        m_nCurBin = BinAt(*this, layout, c.x);
        m_strBinLabel.Format("The value at Bin %i:", m_nCurBin);
        m_nBinCount = m_pHistogram[m_nCurBin];
        // An all-zero histogram has no scale: every bin is 0 % of nothing.
        m_dBinPercent = m_nHistScale != 0 ? m_nBinCount * 100.0 / m_nHistScale : 0.0;
        UpdateData(FALSE);
        UpdateView(0);
    }
    Default();
}

void CColorDlgBase::OnLButtonUp(UINT /*nFlags*/, CPoint /*point*/) {
    if (m_nActiveHandle != kNoHandle) ReleaseCapture();
    m_bMouseDown = 0;
    m_nActiveHandle = kNoHandle;
    UpdateView(0);
    RecordStep();
    Default();
}
