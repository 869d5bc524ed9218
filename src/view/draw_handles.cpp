// Lines from the thresholds to the colour indices, and the six handles.
#include "../dialog/color_dlg.h"
#include "view_steps.h"

namespace view {

namespace {

enum Direction { kPointsDown = 0, kPointsUp = 1 };

constexpr unsigned char kHandleGreen = 128;
constexpr unsigned char kMappingBlue = 188;  // threshold to index
constexpr unsigned char kPairRed = 188;      // threshold to threshold, index to index

void Line(CDIB& dib, const CPoint& a, const CPoint& b, unsigned char r, unsigned char g, unsigned char bl) {
    dib.Line(a.x, a.y, b.x, b.y, r, g, bl);
}

}  // namespace

void DrawHandles(CColorDlgBase& dlg, const ViewLayout& l) {
    CDIB& dib = dlg.m_dib;
    const auto lit = [&dlg](int handle) { return dlg.m_bMouseDown != 0 && dlg.m_nActiveHandle == handle; };
    const auto tri = [&](const CPoint& p, int direction, int handle) {
        dib.DrawTriButton(p.x, p.y, l.margin, 0, kHandleGreen, 0, direction, lit(handle));
    };
    const int r = l.margin - 1;
    const auto square = [&](const CPoint& p, int handle) {
        dib.DrawButton(p.x - r, p.y - r, p.x + r, p.y + r, 0, kHandleGreen, 0, lit(handle));
    };

    Line(dib, dlg.m_ptLowThr, dlg.m_ptLowIndex, 0, 0, kMappingBlue);
    Line(dib, dlg.m_ptHighThr, dlg.m_ptHighIndex, 0, 0, kMappingBlue);
    Line(dib, dlg.m_ptLowThr, dlg.m_ptHighThr, kPairRed, 0, 0);
    Line(dib, dlg.m_ptLowIndex, dlg.m_ptHighIndex, kPairRed, 0, 0);
    tri(dlg.m_ptLowIndex, kPointsDown, CColorDlgBase::kLowIndex);
    tri(dlg.m_ptHighIndex, kPointsDown, CColorDlgBase::kHighIndex);
    tri(dlg.m_ptLowThr, kPointsUp, CColorDlgBase::kLowThr);
    tri(dlg.m_ptHighThr, kPointsUp, CColorDlgBase::kHighThr);
    square(dlg.m_ptMidIndex, CColorDlgBase::kMidIndex);
    square(dlg.m_ptMidThr, CColorDlgBase::kMidThr);
}

}  // namespace view
