// The dialog's state, its initialisation, the data exchange and the control
// handlers, driven through the window as a user drives it.
#include <gtest/gtest.h>
#include <qorcolor/qorcolor.h>

#include <cfloat>
#include <cmath>
#include <cstdlib>
#include <string>
#include <tuple>
#include <vector>

#include "support/shown_dialog.h"

namespace {

using driver::Text;
using driver::TypeText;

class DialogWindow : public ShownDialog {
protected:
    // Replaces an edit's whole text at once, as a paste does: one change notification.
    void Enter(int id, const char* text) { SetWindowTextA(Item(id), text); }
    unsigned int* Tab(int k) const { return reinterpret_cast<unsigned int*>(dlg->m_pBuiltInTabs + 1024 * k); }
    std::tuple<double, double, double, double> Range() const {
        return {dlg->m_dMinPct, dlg->m_dMaxPct, dlg->m_dMinThr, dlg->m_dMaxThr};
    }
};

TEST_F(DialogWindow, InitialisationSchemeChoiceAndWhatTellsTheHost) {
    HWND list = Item(IDC_SCHEME);
    EXPECT_EQ(std::tuple(SendMessageA(list, CB_GETCOUNT, 0, 0), SendMessageA(list, CB_GETCURSEL, 0, 0)),
              std::tuple(28, 10));
    for (int i = 0; i < 28; ++i)
        EXPECT_EQ(SendMessageA(list, CB_GETITEMDATA, static_cast<WPARAM>(i), 0),
                  reinterpret_cast<LRESULT>(dlg->m_pszSchemeName[i]));
    EXPECT_EQ(std::tuple(dlg->m_pColorTab, dlg->m_pszTabName), std::tuple(Tab(10), dlg->m_pszSchemeName[10]));
    // The preview strips sample their tables end to end.
    for (int k = 0; k < CColorDlgBase::kSchemeCount; ++k) {
        const CDIB& strip = dlg->m_dibPreview[k];
        ASSERT_EQ(std::tuple(strip.GetWidth(), strip.GetHeight()), std::tuple(36, 12));
        for (int x = 0; x < 36; ++x) {
            const uint32_t expected = Tab(k)[255 * x / 35] & 0xFFFFFF;
            EXPECT_EQ(std::tuple(strip.GetPixel(x, 0), strip.GetPixel(x, 11)), std::tuple(expected, expected))
                << "scheme " << k << " column " << x;
        }
    }

    RECT rc;  // the canvas and its picture take the place of the hidden placeholder
    GetWindowRect(Item(IDC_VIEW), &rc);
    POINT at{rc.left, rc.top};
    ScreenToClient(hDlg, &at);
    const int w = rc.right - rc.left, h = rc.bottom - rc.top;
    EXPECT_EQ(std::tuple(dlg->m_nViewLeft, dlg->m_nViewTop, dlg->m_nViewWidth, dlg->m_nViewHeight),
              std::tuple(at.x, at.y, w, h));
    EXPECT_EQ(std::tuple(IsWindowVisible(Item(IDC_VIEW)), dlg->m_dib.GetWidth(), dlg->m_dib.GetHeight()),
              std::tuple(FALSE, w, h));
    EXPECT_EQ(std::tuple(Text(Item(IDC_COLOR_COUNT)), Text(Item(IDC_MAX_THR)),
                         driver::IsChecked(Item(IDC_NOTIFY)), driver::IsChecked(Item(IDC_LOG_SCALE))),
              std::tuple("1024", "4096", true, false));  // the demonstration is linear

    ShowRamp();  // scheme choice and bad text notify the host, view options do not
    dlg->m_nHighIndex = 200;
    driver::PickItem(Item(IDC_SCHEME), 4);
    EXPECT_EQ(std::tuple(g_notifications, dlg->m_nScheme, dlg->m_nHighIndex),
              std::tuple(1, 4, 200));  // indices stay
    EXPECT_EQ(std::tuple(dlg->m_param.pColorTab, dlg->m_pszTabName),
              std::tuple(Tab(4), dlg->m_pszSchemeName[4]));
    driver::Click(Item(IDC_NOTIFY));
    driver::PickItem(Item(IDC_SCHEME), 5);
    EXPECT_EQ(std::tuple(dlg->m_bNotify, dlg->m_nScheme, g_notifications), std::tuple(0, 5, 1));
    driver::Click(Item(IDC_NOTIFY));
    driver::Click(Item(IDC_LOG_SCALE));
    driver::Click(Item(IDC_EDIT_ALPHA));
    // The demonstration's linear scale was carried over, now toggled.
    EXPECT_EQ(std::tuple(dlg->m_bLogScale, dlg->m_bEditAlpha, g_notifications), std::tuple(1, 1, 1));

    const double before = dlg->m_dMinPct;
    TypeText(Item(IDC_MIN_PCT), "\b");  // text that is no number: reported, the view keeps going
    // Redrawn unchanged, and the host told while "Refresh" is on.
    EXPECT_EQ(std::tuple(providers.boxes, dlg->m_dMinPct, Text(Item(IDC_MIN_PCT)), g_notifications),
              std::tuple(std::vector<std::string>{"Please enter a number."}, before, "", 2));
}

TEST_F(DialogWindow, ThresholdEditsKeepTheGapAndRefuseValuesOutsideTheRange) {
    Enter(IDC_MAX_PCT, "40");
    EXPECT_EQ(Range(), std::tuple(0.0, 40.0, 0.0, 4096.0 * 40 / 100));
    Enter(IDC_MIN_PCT, "50");  // pushes the upper percentage ahead
    EXPECT_EQ(Range(), std::tuple(50.0, 51.5, 2048.0, 4096.0 * 51.5 / 100));
    EXPECT_EQ(std::tuple(Text(Item(IDC_MIN_PCT)), Text(Item(IDC_MAX_PCT)), Text(Item(IDC_MIN_THR))),
              std::tuple("50", "51.5", "2048"));
    // Then the thresholds after each text; a refused text stays in its edit.
    const double gap = dlg->m_dMinGapThr;
    const std::tuple<int, const char*, double, double> steps[] = {
        {IDC_MIN_PCT, "99", 2048.0, 4096.0 * 51.5 / 100},  // above 100 - 1.5: refused
        {IDC_MAX_PCT, "1", 2048.0, 4096.0 * 51.5 / 100},   // below the gap: refused
        {IDC_MIN_PCT, "98", 4096.0 * 98 / 100, 4096.0 * 99.5 / 100},
        {IDC_MAX_PCT, "99", 4096.0 * 97.5 / 100, 4096.0 * 99 / 100},  // pulls the lower one down
        {IDC_MIN_THR, "1000", 1000.0, 4096.0 * 99 / 100},
        {IDC_MAX_THR, "900", 900.0 - gap, 900.0},  // below the lower one: pushes it down by the gap
        {IDC_MIN_THR, "-5", 900.0 - gap, 900.0},   // below the data: the last accepted value comes back
    };
    for (const auto& [id, text, lo, hi] : steps) {
        Enter(id, text);
        EXPECT_DOUBLE_EQ(dlg->m_dMinThr, lo) << text;
        EXPECT_DOUBLE_EQ(dlg->m_dMaxThr, hi) << text;
        EXPECT_EQ(Text(Item(id)), text);
    }
    // The data maximum itself is accepted; the exchange that reads it also
    // reads the refused "-5", which the gap rules clamp to the data minimum.
    Enter(IDC_MAX_THR, "4096");
    EXPECT_EQ(Range(), std::tuple(0.0, 100.0, 0.0, 4096.0));
    EXPECT_EQ(Text(Item(IDC_MIN_THR)), "0");
    EXPECT_TRUE(providers.boxes.empty());

    // Enter in a threshold edit confirms it: a refused text gives way to the
    // value in force and the table stays; in the colour count edit it is button 1.
    const auto pressEnter = [&](int id) {
        SetFocus(Item(id));
        MSG key{Item(id), WM_KEYDOWN, VK_RETURN, 1, 0, {}};
        IsDialogMessageA(hDlg, &key);
    };
    Enter(IDC_MIN_PCT, "99");
    pressEnter(IDC_MIN_PCT);
    EXPECT_EQ(std::tuple(Text(Item(IDC_MIN_PCT)), dlg->m_pColorTab, dlg->m_nMaxIndex),
              std::tuple("0", Tab(10), 255));
    pressEnter(IDC_COLOR_COUNT);
    EXPECT_EQ(dlg->m_nMaxIndex, 1023);
}

// Every whole-number threshold of 8- and 16-bit data reads back unchanged from
// the texts of both kinds of edit, and survives a rebuild of the histogram. The
// exchange alone takes every value; typing takes the 8-bit range and a sample.
TEST_F(DialogWindow, WholeNumberThresholdsNeverDrift) {
    for (const int top : {255, 65535}) {
        std::vector<uint16_t> ramp = {0, static_cast<uint16_t>(top)};
        CQorColorDlg::showInit(reinterpret_cast<void***>(ramp.data()), -512, 2, 1, 1, nullptr,
                               const_cast<char*>("ramp"), nullptr);
        int drifted = 0;
        for (int t = 0; t <= top; ++t) {
            dlg->m_dMaxThr = dlg->m_dMinThr = t;
            dlg->PercentagesFromThresholds();
            dlg->UpdateData(FALSE);
            dlg->UpdateData(TRUE);  // as every edit change reads them all
            dlg->ThresholdsFromPercentages();
            drifted += dlg->m_dMaxThr != t || dlg->m_dMinThr != t;
        }
        // Above every lower threshold the typing leaves.
        for (int t = top / 2 + 1; t<top; t += top> 255 ? 131 : 1) {
            Enter(IDC_MAX_THR, std::to_string(t).c_str());
            Enter(IDC_MIN_PCT, t % 2 ? "1" : "2");  // the percent tail rebuilds both thresholds
            drifted += dlg->m_dMaxThr != t;
        }
        Enter(IDC_MIN_THR, "3");
        CQorColorDlg::RecomputeHistogram();
        drifted += dlg->m_dMinThr != 3.0;
        EXPECT_EQ(drifted, 0) << top;
    }
}

// Finite data of any size gives finite thresholds, gaps and edit texts the
// dialog's own parser reads back, through every way of moving a threshold.
TEST_F(DialogWindow, HugeFloatDataKeepsEverythingFinite) {
    const double huge[][2] = {{0, 1e308}, {-DBL_MAX, DBL_MAX}, {0, DBL_MAX}, {-DBL_MAX, -1e300}};
    for (const auto& range : huge) {
        std::vector<double> data = {range[0], range[1], range[0] / 2 + range[1] / 2};
        CQorColorDlg::showInit(reinterpret_cast<void***>(data.data()), -64, 3, 1, 1,
                               reinterpret_cast<void*>(&CountNotification), const_cast<char*>("huge"),
                               nullptr);
        const auto expectFinite = [&](const char* step) {
            const auto* p = static_cast<const ColorTabParam*>(CQorColorDlg::GetColorTabParam());
            for (const double v : {p->dMinThr, p->dMaxThr, dlg->m_dMinPct, dlg->m_dMaxPct, dlg->m_dMinGapThr})
                EXPECT_TRUE(std::isfinite(v)) << range[1] << " after " << step;
            for (const int id : {IDC_MIN_THR, IDC_MAX_THR, IDC_MIN_PCT, IDC_MAX_PCT})
                EXPECT_TRUE(std::isfinite(std::strtod(Text(Item(id)).c_str(), nullptr))) << Text(Item(id));
        };
        expectFinite("show");
        for (const int id : {IDC_MAX_THR, IDC_MIN_THR, IDC_MAX_PCT})
            for (const int delta : {WHEEL_DELTA, -WHEEL_DELTA}) WheelOn(id, delta);
        expectFinite("wheel");
        DragHandle(CColorDlgBase::kHighThr, -100);
        Release();
        for (const int dx : {-400, 400}) {
            DragHandle(CColorDlgBase::kMidThr, dx);
            Release();
        }
        expectFinite("drag");
        Enter(IDC_MAX_PCT, "70");
        TypeText(Item(IDC_MIN_THR), "1");
        expectFinite("typing");
        EXPECT_TRUE(providers.boxes.empty()) << providers.boxes.size();
    }
}

}  // namespace
