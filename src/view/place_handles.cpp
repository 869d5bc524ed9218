// Positions of the six handles.
#include <cstdint>

#include "../dialog/color_dlg.h"
#include "view_steps.h"

namespace view {

void PlaceHandles(CColorDlgBase& dlg, const ViewLayout& l) {
    const int64_t low = dlg.m_nLowIndex;
    const int64_t high = dlg.m_nHighIndex;
    dlg.m_ptLowThr = CPoint(ValueColumn(l, dlg.m_dMinThr), l.thresholdRow);
    dlg.m_ptHighThr = CPoint(ValueColumn(l, dlg.m_dMaxThr), l.thresholdRow);
    dlg.m_ptLowIndex = CPoint(IndexColumn(l, low), l.indexRow);
    dlg.m_ptHighIndex = CPoint(IndexColumn(l, high), l.indexRow);
    dlg.m_ptMidThr = CPoint(ValueColumn(l, (dlg.m_dMaxThr + dlg.m_dMinThr) * 0.5), l.thresholdRow);
    dlg.m_ptMidIndex = CPoint(IndexColumn(l, (low + high) / 2), l.indexRow);
}

}  // namespace view

const CPoint& CColorDlgBase::HandlePoint(Handle handle) const {
    const CPoint* points[kHandleCount] = {&m_ptLowThr,    &m_ptHighThr, &m_ptLowIndex,
                                          &m_ptHighIndex, &m_ptMidThr,  &m_ptMidIndex};
    return *points[handle];
}
