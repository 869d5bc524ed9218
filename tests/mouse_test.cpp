// Handle drags, the bin readout and the wheel, driven with mouse messages on
// the demonstration histogram (data range 0 ... 4096).
#include <gtest/gtest.h>
#include <qorcolor/qorcolor.h>

#include <string>
#include <tuple>

#include "support/shown_dialog.h"

namespace {

class MouseTest : public ShownDialog {
protected:
    void SetThresholds(double lo, double hi) {
        dlg->m_dMinThr = lo;
        dlg->m_dMaxThr = hi;
        dlg->UpdateView(0);
    }
    // Pixels per data unit along the histogram, as the handles are placed.
    double Scale() const { return (dlg->m_nViewWidth - 2 * dlg->m_nMargin - 1) / 4096.0; }
};

TEST_F(MouseTest, TheReadoutNamesTheBinUnderTheMouseAndAPressPicksTheFirstHandleNear) {
    const int row = dlg->m_nViewHeight / 2;
    driver::MouseMove(hDlg, dlg->m_nViewLeft + 2, dlg->m_nViewTop + row);  // left of the first column
    EXPECT_EQ(dlg->m_nCurBin, 0);
    driver::MouseMove(hDlg, dlg->m_nViewLeft + dlg->m_nViewWidth - 2, dlg->m_nViewTop + row);
    EXPECT_EQ(std::tuple(dlg->m_nCurBin, driver::Text(Item(IDC_BIN_LABEL)), dlg->m_nBinCount,
                         driver::Text(Item(IDC_BIN_COUNT))),
              std::tuple(1023, "The value at Bin 1023:", dlg->m_pHistogram[1023],
                         std::to_string(dlg->m_pHistogram[1023])));
    EXPECT_DOUBLE_EQ(dlg->m_dBinPercent, dlg->m_pHistogram[1023] * 100.0 / dlg->m_nHistScale);

    SetThresholds(2000, 2000 + 3 / Scale());  // both threshold handles and their centre within 7 px
    PressAt(dlg->m_ptMidThr);
    EXPECT_EQ(std::tuple(dlg->m_nActiveHandle, GetCapture()), std::tuple(CColorDlgBase::kLowThr, hDlg));
    Release();
    EXPECT_EQ(std::tuple(dlg->m_nActiveHandle, dlg->m_bMouseDown, GetCapture()),
              std::tuple(CColorDlgBase::kNoHandle, 0, HWND{}));

    PressAt(dlg->m_ptMidIndex);  // indices 0 and 255: only the centre handle is near
    EXPECT_EQ(dlg->m_nActiveHandle, CColorDlgBase::kMidIndex);
    Release();

    driver::MouseDown(hDlg, 1, 1);  // outside the canvas
    EXPECT_EQ(std::tuple(dlg->m_nActiveHandle, dlg->m_bMouseDown, GetCapture()),
              std::tuple(CColorDlgBase::kNoHandle, 1, HWND{}));
}

TEST_F(MouseTest, DraggedHandlesPushTheOtherAheadAndStopAtTheEnds) {
    SetThresholds(1000, 2000);
    const CPoint start = dlg->m_ptLowThr;
    const int span = dlg->m_nViewWidth - 2 * dlg->m_nMargin - 1;
    const int dx = static_cast<int>(1500 * Scale());
    const double thr = 4096.0 * dx / span;  // what dx moves a threshold by, and an index
    const int steps = 255 * dx / span;
    DragHandle(CColorDlgBase::kLowThr, dx);
    ASSERT_EQ(dlg->m_nActiveHandle, CColorDlgBase::kLowThr);
    const double gapThr = dlg->m_dMinGapThr;
    const int gapIndex = dlg->m_nMinGapIndex;
    EXPECT_EQ(std::tuple(dlg->m_dMinThr, dlg->m_dMaxThr), std::tuple(1000 + thr, 1000 + thr + gapThr));
    MoveTo(start, MK_LBUTTON);  // back to the press: measured from the press, not from the last move
    EXPECT_EQ(std::tuple(dlg->m_dMinThr, dlg->m_dMaxThr, driver::Text(Item(IDC_MIN_THR))),
              std::tuple(1000.0, 1000 + thr + gapThr, "1000"));
    Release();

    // The upper threshold and both index handles push their partner the same way.
    const std::tuple<CColorDlgBase::Handle, int, std::tuple<double, double, int, int>> drags[] = {
        {CColorDlgBase::kHighThr, -dx, {2000 - thr - gapThr, 2000 - thr, 100, 150}},
        {CColorDlgBase::kLowIndex, dx, {1000, 2000, 100 + steps, 100 + steps + gapIndex}},
        {CColorDlgBase::kHighIndex, -dx, {1000, 2000, 150 - steps - gapIndex, 150 - steps}}};
    for (const auto& [handle, by, moved] : drags) {
        SetThresholds(1000, 2000);
        dlg->m_nLowIndex = 100, dlg->m_nHighIndex = 150;
        dlg->UpdateView(0);
        DragHandle(handle, by);
        EXPECT_EQ(std::tuple(dlg->m_dMinThr, dlg->m_dMaxThr, dlg->m_nLowIndex, dlg->m_nHighIndex), moved)
            << handle;
        Release();
    }

    SetThresholds(1000, 2000);  // centre handles stop at the ends with their width kept
    DragHandle(CColorDlgBase::kMidThr, -300);
    EXPECT_EQ(std::tuple(dlg->m_nActiveHandle, dlg->m_dMinThr, dlg->m_dMaxThr),
              std::tuple(CColorDlgBase::kMidThr, 0.0, 1000.0));
    Release();

    dlg->m_nLowIndex = 50, dlg->m_nHighIndex = 150;
    dlg->UpdateView(0);
    DragHandle(CColorDlgBase::kMidIndex, 300);
    EXPECT_EQ(std::tuple(dlg->m_nActiveHandle, dlg->m_nLowIndex, dlg->m_nHighIndex),
              std::tuple(CColorDlgBase::kMidIndex, 155, 255));
}

TEST_F(MouseTest, OneWheelMessageStepsTheFocusedThresholdOnce) {
    ShowRamp();
    dlg->m_dMaxPct = 50, dlg->m_dMaxThr = 999 * 0.5;
    WheelOn(IDC_MAX_PCT, 3 * WHEEL_DELTA);  // one step whatever the delta
    EXPECT_DOUBLE_EQ(dlg->m_dMaxPct, 51.0);
    EXPECT_DOUBLE_EQ(dlg->m_dMaxThr, 999 * 0.51);
    EXPECT_EQ(g_notifications, 1);

    WheelOn(IDC_MAX_THR, WHEEL_DELTA);
    EXPECT_DOUBLE_EQ(dlg->m_dMaxThr, 999 * 0.51 + 9.99);
    for (int i = 0; i < 60; ++i) WheelOn(IDC_MAX_THR, WHEEL_DELTA);  // capped at the data maximum
    EXPECT_EQ(std::tuple(dlg->m_dMaxThr, dlg->m_dMaxPct), std::tuple(999.0, 100.0));

    WheelOn(IDC_MIN_PCT, -WHEEL_DELTA);
    EXPECT_EQ(dlg->m_dMinPct, 0.0);  // capped at 0

    const auto before = std::tuple(dlg->m_dMinThr, dlg->m_dMaxThr, g_notifications + 1);
    WheelOn(IDOK, WHEEL_DELTA);  // no threshold edit: nothing changes, the view still refreshes
    EXPECT_EQ(std::tuple(dlg->m_dMinThr, dlg->m_dMaxThr, g_notifications), before);
}

}  // namespace
