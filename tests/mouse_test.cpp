// Handle drags, the bin readout and the wheel, driven with mouse messages on
// the demonstration histogram (data range 0 ... 4096).
#include <gtest/gtest.h>
#include <qorcolor/qorcolor.h>

#include <string>
#include <vector>

#include "dialog/color_dlg.h"
#include "support/driver.h"

namespace {

int g_calls = 0;
void CountCall(ColorTabParam*) { ++g_calls; }

class MouseTest : public ::testing::Test {
protected:
    void SetUp() override {
        g_calls = 0;
        CQorColorDlg::show();
        hDlg = driver::FindDialog();
        dlg = g_pColorDlg;
        ASSERT_NE(hDlg, nullptr);
    }
    void TearDown() override { CQorColorDlg end; }

    // Client coordinates of a canvas point (canvas rows count upward).
    POINT Client(CPoint canvas) const {
        return {dlg->m_nViewLeft + canvas.x, dlg->m_nViewTop + dlg->m_nViewHeight - 1 - canvas.y};
    }
    void Press(CPoint canvas) {
        const POINT p = Client(canvas);
        driver::MouseDown(hDlg, p.x, p.y);
    }
    void MoveBy(CPoint canvas, int dx) {
        const POINT p = Client(canvas);
        driver::MouseMove(hDlg, p.x + dx, p.y, MK_LBUTTON);
    }
    void SetThresholds(double lo, double hi) {
        dlg->m_dMinThr = lo;
        dlg->m_dMaxThr = hi;
        dlg->UpdateView(0);
    }
    // Pixels per data unit along the histogram, as the handles are placed.
    double Scale() const { return (dlg->m_nViewWidth - 2 * dlg->m_nMargin - 1) / 4096.0; }

    driver::RecordingProviders providers;
    HWND hDlg = nullptr;
    CColorDlgBase* dlg = nullptr;
};

TEST_F(MouseTest, APressPicksTheFirstHandleWithinTheMargin) {
    SetThresholds(2000, 2000 + 3 / Scale());  // both threshold handles and their centre within 7 px
    Press(dlg->m_ptMidThr);
    EXPECT_EQ(dlg->m_nActiveHandle, 0);
    EXPECT_EQ(GetCapture(), hDlg);
    driver::MouseUp(hDlg, 0, 0);
    EXPECT_EQ(dlg->m_nActiveHandle, -1);
    EXPECT_EQ(dlg->m_bMouseDown, 0);
    EXPECT_EQ(GetCapture(), nullptr);

    Press(dlg->m_ptMidIndex);  // indices 0 and 255: only the centre handle is near
    EXPECT_EQ(dlg->m_nActiveHandle, 5);
    driver::MouseUp(hDlg, 0, 0);

    driver::MouseDown(hDlg, 1, 1);  // outside the canvas
    EXPECT_EQ(dlg->m_bMouseDown, 1);
    EXPECT_EQ(dlg->m_nActiveHandle, -1);
    EXPECT_EQ(GetCapture(), nullptr);
}

TEST_F(MouseTest, ADraggedThresholdPushesTheOtherAheadButNeverPullsIt) {
    SetThresholds(1000, 2000);
    const CPoint start = dlg->m_ptLowThr;
    Press(start);
    ASSERT_EQ(dlg->m_nActiveHandle, 0);
    const int dx = static_cast<int>(1500 * Scale());
    MoveBy(start, dx);
    const double expected = 1000 + 4096.0 * dx / (dlg->m_nViewWidth - 2 * dlg->m_nMargin - 1);
    EXPECT_DOUBLE_EQ(dlg->m_dMinThr, expected);
    EXPECT_DOUBLE_EQ(dlg->m_dMaxThr, expected + dlg->m_dMinGapThr);
    const double pushed = dlg->m_dMaxThr;

    MoveBy(start, 0);  // back to the press: measured from the press, not from the last move
    EXPECT_DOUBLE_EQ(dlg->m_dMinThr, 1000);
    EXPECT_DOUBLE_EQ(dlg->m_dMaxThr, pushed);
    EXPECT_EQ(driver::Text(driver::Control(hDlg, IDC_MIN_THR)), "1000");
}

TEST_F(MouseTest, CentreHandlesStopAtTheEndsWithTheirWidthKept) {
    SetThresholds(1000, 2000);
    Press(dlg->m_ptMidThr);
    ASSERT_EQ(dlg->m_nActiveHandle, 4);
    MoveBy(dlg->m_ptMidThr, -300);
    EXPECT_EQ(dlg->m_dMinThr, 0.0);
    EXPECT_EQ(dlg->m_dMaxThr, 1000.0);
    driver::MouseUp(hDlg, 0, 0);

    dlg->m_nLowIndex = 50;
    dlg->m_nHighIndex = 150;
    dlg->UpdateView(0);
    const CPoint mid = dlg->m_ptMidIndex;
    Press(mid);
    ASSERT_EQ(dlg->m_nActiveHandle, 5);
    MoveBy(mid, 300);
    EXPECT_EQ(dlg->m_nHighIndex, 255);
    EXPECT_EQ(dlg->m_nLowIndex, 155);
}

TEST_F(MouseTest, TheReadoutNamesTheBinUnderTheMouse) {
    const int row = dlg->m_nViewHeight / 2;
    driver::MouseMove(hDlg, dlg->m_nViewLeft + 2, dlg->m_nViewTop + row);  // left of the first column
    EXPECT_EQ(dlg->m_nCurBin, 0);
    driver::MouseMove(hDlg, dlg->m_nViewLeft + dlg->m_nViewWidth - 2, dlg->m_nViewTop + row);
    EXPECT_EQ(dlg->m_nCurBin, 1023);
    EXPECT_EQ(driver::Text(driver::Control(hDlg, IDC_BIN_LABEL)), "The value at Bin 1023:");
    EXPECT_EQ(dlg->m_nBinCount, dlg->m_pHistogram[1023]);
    EXPECT_EQ(driver::Text(driver::Control(hDlg, IDC_BIN_COUNT)), std::to_string(dlg->m_pHistogram[1023]));
    EXPECT_DOUBLE_EQ(dlg->m_dBinPercent, dlg->m_pHistogram[1023] * 100.0 / dlg->m_nHistScale);
}

TEST_F(MouseTest, OneWheelMessageStepsTheFocusedThresholdOnce) {
    std::vector<int16_t> voxels(1000);
    for (int i = 0; i < 1000; ++i) voxels[i] = static_cast<int16_t>(i);
    std::vector<unsigned int> table(65535);
    CQorColorDlg::showInit(reinterpret_cast<void***>(voxels.data()), -4, 10, 10, 10,
                           reinterpret_cast<void*>(&CountCall), const_cast<char*>("ramp"), table.data());
    dlg->m_dMaxPct = 50;
    dlg->m_dMaxThr = 999 * 0.5;
    SetFocus(driver::Control(hDlg, IDC_MAX_PCT));
    driver::Wheel(hDlg, 0, 0, 3 * WHEEL_DELTA);  // one step whatever the delta
    EXPECT_DOUBLE_EQ(dlg->m_dMaxPct, 51.0);
    EXPECT_DOUBLE_EQ(dlg->m_dMaxThr, 999 * 0.51);
    EXPECT_EQ(g_calls, 1);

    SetFocus(driver::Control(hDlg, IDC_MAX_THR));
    driver::Wheel(hDlg, 0, 0, WHEEL_DELTA);
    EXPECT_DOUBLE_EQ(dlg->m_dMaxThr, 999 * 0.51 + 9.99);
    for (int i = 0; i < 60; ++i) driver::Wheel(hDlg, 0, 0, WHEEL_DELTA);
    EXPECT_EQ(dlg->m_dMaxThr, 999.0);  // capped at the data maximum
    EXPECT_EQ(dlg->m_dMaxPct, 100.0);

    SetFocus(driver::Control(hDlg, IDC_MIN_PCT));
    driver::Wheel(hDlg, 0, 0, -WHEEL_DELTA);
    EXPECT_EQ(dlg->m_dMinPct, 0.0);  // capped at 0

    SetFocus(driver::Control(hDlg, IDOK));  // no threshold edit: nothing changes, the view still refreshes
    const double before = dlg->m_dMaxThr;
    const int calls = g_calls;
    driver::Wheel(hDlg, 0, 0, WHEEL_DELTA);
    EXPECT_EQ(dlg->m_dMaxThr, before);
    EXPECT_EQ(g_calls, calls + 1);
}

}  // namespace
