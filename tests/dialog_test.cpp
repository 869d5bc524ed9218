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

TEST(DialogState, PreviewStripsSampleTheirTablesEndToEnd) {
    CColorDlgBase d;
    for (int k = 0; k < CColorDlgBase::kSchemeCount; ++k) {
        const CDIB& strip = d.m_dibPreview[k];
        ASSERT_EQ(std::tuple(strip.GetWidth(), strip.GetHeight()), std::tuple(36, 12));
        for (int x = 0; x < 36; ++x) {
            const unsigned char* e = d.m_pBuiltInTabs + 1024 * k + 4 * (255 * x / 35);
            const uint32_t expected = (uint32_t{e[2]} << 16) | (uint32_t{e[1]} << 8) | e[0];
            EXPECT_EQ(std::tuple(strip.GetPixel(x, 0), strip.GetPixel(x, 11)), std::tuple(expected, expected))
                << "scheme " << k << " column " << x;
        }
    }
}

class DialogWindow : public ShownDialog {
protected:
    // Replaces an edit's whole text at once, as a paste does: one change notification.
    void Enter(int id, const char* text) { SetWindowTextA(Item(id), text); }
    std::tuple<double, double, double, double> Range() const {
        return {dlg->m_dMinPct, dlg->m_dMaxPct, dlg->m_dMinThr, dlg->m_dMaxThr};
    }
};

TEST_F(DialogWindow, InitialisationFillsTheListAndPlacesTheCanvas) {
    HWND list = Item(IDC_SCHEME);
    EXPECT_EQ(SendMessageA(list, CB_GETCOUNT, 0, 0), 28);
    EXPECT_EQ(SendMessageA(list, CB_GETCURSEL, 0, 0), 10);
    for (int i = 0; i < 28; ++i) {
        EXPECT_EQ(SendMessageA(list, CB_GETITEMDATA, static_cast<WPARAM>(i), 0),
                  reinterpret_cast<LRESULT>(dlg->m_pszSchemeName[i]));
    }
    EXPECT_EQ(dlg->m_pColorTab, reinterpret_cast<unsigned int*>(dlg->m_pBuiltInTabs + 1024 * 10));
    EXPECT_EQ(dlg->m_pszTabName, dlg->m_pszSchemeName[10]);

    HWND placeholder = Item(IDC_VIEW);
    EXPECT_FALSE(IsWindowVisible(placeholder));
    RECT rc;
    GetWindowRect(placeholder, &rc);
    POINT topLeft{rc.left, rc.top};
    ScreenToClient(hDlg, &topLeft);
    const auto view = std::tuple(dlg->m_nViewLeft, dlg->m_nViewTop, dlg->m_nViewWidth, dlg->m_nViewHeight);
    EXPECT_EQ(view, std::tuple(topLeft.x, topLeft.y, rc.right - rc.left, rc.bottom - rc.top));
    EXPECT_EQ(std::tuple(dlg->m_dib.GetWidth(), dlg->m_dib.GetHeight()),
              std::tuple(dlg->m_nViewWidth, dlg->m_nViewHeight));

    for (const int id : {IDC_BIN_PERCENT, IDC_BIN_COUNT}) {  // plain read-only edits, no frame
        const LONG style = GetWindowLongA(Item(id), GWL_STYLE);
        EXPECT_EQ(style & (ES_READONLY | WS_BORDER | ES_AUTOHSCROLL | WS_TABSTOP), ES_READONLY) << id;
    }
    EXPECT_NE(Text(Item(IDC_DATASET_NAME)), "Data set name: Null");
    EXPECT_EQ(std::tuple(Text(Item(IDC_COLOR_COUNT)), Text(Item(IDC_MAX_THR)),
                         driver::IsChecked(Item(IDC_NOTIFY)), driver::IsChecked(Item(IDC_LOG_SCALE))),
              std::tuple("1024", "4096", true, false));  // the demonstration is linear
    EXPECT_TRUE(providers.boxes.empty());
}

TEST_F(DialogWindow, PercentEditsKeepTheGapAndFollowInDataUnits) {
    Enter(IDC_MAX_PCT, "40");
    EXPECT_EQ(Range(), std::tuple(0.0, 40.0, 0.0, 4096.0 * 40 / 100));

    Enter(IDC_MIN_PCT, "50");  // pushes the upper percentage ahead
    EXPECT_EQ(Range(), std::tuple(50.0, 51.5, 2048.0, 4096.0 * 51.5 / 100));
    EXPECT_EQ(std::tuple(Text(Item(IDC_MIN_PCT)), Text(Item(IDC_MAX_PCT)), Text(Item(IDC_MIN_THR))),
              std::tuple("50", "51.5", "2048"));
    EXPECT_EQ(dlg->m_dLastMinThr, dlg->m_dMinThr);

    const auto thresholds = std::tuple(2048.0, 4096.0 * 51.5 / 100);
    Enter(IDC_MIN_PCT, "99");  // above 100 - 1.5: refused
    EXPECT_EQ(std::tuple(dlg->m_dMaxPct, dlg->m_dMinThr, dlg->m_dMaxThr),
              std::tuple_cat(std::tuple(51.5), thresholds));
    Enter(IDC_MAX_PCT, "1");  // below the gap: refused
    EXPECT_EQ(std::tuple(dlg->m_dMinThr, dlg->m_dMaxThr), thresholds);

    Enter(IDC_MIN_PCT, "98");
    EXPECT_EQ(dlg->m_dMaxPct, 99.5);
    Enter(IDC_MAX_PCT, "99");  // pulls the lower percentage down
    EXPECT_EQ(std::tuple(dlg->m_dMinPct, dlg->m_dMaxPct), std::tuple(97.5, 99.0));
    EXPECT_TRUE(providers.boxes.empty());
}

TEST_F(DialogWindow, AbsoluteEditsRefuseValuesOutsideTheRange) {
    Enter(IDC_MIN_THR, "1000");
    EXPECT_EQ(std::tuple(dlg->m_dMinThr, dlg->m_dMinPct), std::tuple(1000.0, 1000.0 * 100 / 4096));

    Enter(IDC_MAX_THR, "900");  // below the lower one: pushes it down by the gap
    const double pushed = 900.0 - dlg->m_dMinGapThr;
    EXPECT_EQ(std::tuple(dlg->m_dMinThr, dlg->m_dMaxThr), std::tuple(pushed, 900.0));

    Enter(IDC_MIN_THR, "-5");  // below the data: the last accepted value comes back
    EXPECT_EQ(std::tuple(dlg->m_dMinThr, Text(Item(IDC_MIN_THR))), std::tuple(pushed, "-5"));

    // The data maximum itself is accepted; the exchange that reads it also
    // reads the refused "-5", which the gap rules clamp to the data minimum.
    Enter(IDC_MAX_THR, "4096");
    EXPECT_EQ(Range(), std::tuple(0.0, 100.0, 0.0, 4096.0));
    EXPECT_EQ(Text(Item(IDC_MIN_THR)), "0");
}

TEST_F(DialogWindow, TextThatIsNoNumberIsReportedAndTheViewKeepsGoing) {
    ShowRamp();
    const double before = dlg->m_dMinPct;
    TypeText(Item(IDC_MIN_PCT), "\b");  // empties the edit
    ASSERT_FALSE(providers.boxes.empty());
    EXPECT_EQ(providers.boxes.back().text, "Please enter a number.");
    EXPECT_EQ(std::tuple(dlg->m_dMinPct, Text(Item(IDC_MIN_PCT))), std::tuple(before, ""));
    EXPECT_EQ(g_notifications, 1);  // redrawn unchanged, and the host told while "Refresh" is on
}

TEST_F(DialogWindow, SchemeChoiceNotifiesOnlyWhileRefreshIsOn) {
    ShowRamp();
    EXPECT_EQ(g_notifications, 0);
    dlg->m_nHighIndex = 200;
    driver::PickItem(Item(IDC_SCHEME), 4);
    EXPECT_EQ(std::tuple(g_notifications, dlg->m_nScheme, dlg->m_nHighIndex),
              std::tuple(1, 4, 200));  // indices stay
    EXPECT_EQ(dlg->m_param.pColorTab, reinterpret_cast<unsigned int*>(dlg->m_pBuiltInTabs + 1024 * 4));
    EXPECT_EQ(dlg->m_pszTabName, dlg->m_pszSchemeName[4]);

    driver::Click(Item(IDC_NOTIFY));
    driver::PickItem(Item(IDC_SCHEME), 5);
    EXPECT_EQ(std::tuple(dlg->m_bNotify, dlg->m_nScheme, g_notifications), std::tuple(0, 5, 1));

    driver::Click(Item(IDC_NOTIFY));
    driver::Click(Item(IDC_LOG_SCALE));  // a view option never tells the host
    driver::Click(Item(IDC_EDIT_ALPHA));
    // The demonstration's linear scale was carried over, now toggled.
    EXPECT_EQ(std::tuple(dlg->m_bLogScale, dlg->m_bEditAlpha, g_notifications), std::tuple(1, 1, 1));
}

// Every whole-number threshold of 8- and 16-bit data reads back unchanged
// from the texts of both kinds of edit, and survives a rebuild of the
// histogram. The exchange alone takes every value; typing through the window
// takes the 8-bit range and a 16-bit sample.
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
        for (const int id : {IDC_MAX_THR, IDC_MIN_THR, IDC_MAX_PCT}) {
            SetFocus(Item(id));
            for (const int delta : {WHEEL_DELTA, -WHEEL_DELTA}) driver::Wheel(hDlg, 0, 0, delta);
        }
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
