// The dialog's state, its initialisation, the data exchange and the control
// handlers, driven through the window as a user drives it.
#include <gtest/gtest.h>
#include <qorcolor/qorcolor.h>

#include <cfloat>
#include <cmath>
#include <cstdlib>
#include <string>
#include <vector>

#include "support/shown_dialog.h"

namespace {

using driver::Control;
using driver::Text;
using driver::TypeText;

// Replaces an edit's whole text at once, as a paste does: one change notification.
void Enter(HWND hDlg, int id, const char* text) { driver::SetEditText(Control(hDlg, id), text); }

uint32_t EntryColour(const unsigned char* tables, int scheme, int entry) {
    const unsigned char* e = tables + 1024 * scheme + 4 * entry;
    return (uint32_t{e[2]} << 16) | (uint32_t{e[1]} << 8) | e[0];
}

TEST(DialogState, PreviewStripsSampleTheirTablesEndToEnd) {
    CColorDlgBase d;
    for (int k = 0; k < CColorDlgBase::kSchemeCount; ++k) {
        const CDIB& strip = d.m_dibPreview[k];
        ASSERT_EQ(strip.GetWidth(), 36);
        ASSERT_EQ(strip.GetHeight(), 12);
        for (int x = 0; x < 36; ++x) {
            const uint32_t expected = EntryColour(d.m_pBuiltInTabs, k, 255 * x / 35);
            EXPECT_EQ(strip.GetPixel(x, 0), expected) << "scheme " << k << " column " << x;
            EXPECT_EQ(strip.GetPixel(x, 11), expected) << "scheme " << k << " column " << x;
        }
    }
}

using DialogWindow = ShownDialog;

TEST_F(DialogWindow, InitialisationFillsTheListAndPlacesTheCanvas) {
    HWND list = Control(hDlg, IDC_SCHEME);
    EXPECT_EQ(SendMessageA(list, CB_GETCOUNT, 0, 0), 28);
    EXPECT_EQ(SendMessageA(list, CB_GETCURSEL, 0, 0), 10);
    for (int i = 0; i < 28; ++i) {
        EXPECT_EQ(SendMessageA(list, CB_GETITEMDATA, static_cast<WPARAM>(i), 0),
                  reinterpret_cast<LRESULT>(dlg->m_pszSchemeName[i]));
    }
    EXPECT_EQ(dlg->m_pColorTab, reinterpret_cast<unsigned int*>(dlg->m_pBuiltInTabs + 1024 * 10));
    EXPECT_EQ(dlg->m_pszTabName, dlg->m_pszSchemeName[10]);

    HWND placeholder = Control(hDlg, IDC_VIEW);
    EXPECT_FALSE(IsWindowVisible(placeholder));
    RECT rc;
    GetWindowRect(placeholder, &rc);
    POINT topLeft{rc.left, rc.top};
    ScreenToClient(hDlg, &topLeft);
    EXPECT_EQ(dlg->m_nViewLeft, topLeft.x);
    EXPECT_EQ(dlg->m_nViewTop, topLeft.y);
    EXPECT_EQ(dlg->m_nViewWidth, rc.right - rc.left);
    EXPECT_EQ(dlg->m_nViewHeight, rc.bottom - rc.top);
    EXPECT_EQ(dlg->m_dib.GetWidth(), dlg->m_nViewWidth);
    EXPECT_EQ(dlg->m_dib.GetHeight(), dlg->m_nViewHeight);

    for (const int id : {IDC_BIN_PERCENT, IDC_BIN_COUNT}) {  // plain read-only edits, no frame
        const LONG style = GetWindowLongA(Control(hDlg, id), GWL_STYLE);
        EXPECT_EQ(style & (ES_READONLY | WS_BORDER | ES_AUTOHSCROLL | WS_TABSTOP), ES_READONLY) << id;
    }
    EXPECT_NE(Text(Control(hDlg, IDC_DATASET_NAME)), "Data set name: Null");
    EXPECT_EQ(Text(Control(hDlg, IDC_COLOR_COUNT)), "1024");
    EXPECT_EQ(Text(Control(hDlg, IDC_MAX_THR)), "4096");
    EXPECT_TRUE(driver::IsChecked(Control(hDlg, IDC_NOTIFY)));
    EXPECT_FALSE(driver::IsChecked(Control(hDlg, IDC_LOG_SCALE)));  // the demonstration is linear
    EXPECT_TRUE(providers.boxes.empty());
}

TEST_F(DialogWindow, PercentEditsKeepTheGapAndFollowInDataUnits) {
    Enter(hDlg, IDC_MAX_PCT, "40");
    EXPECT_EQ(dlg->m_dMaxPct, 40.0);
    EXPECT_EQ(dlg->m_dMaxThr, 4096.0 * 40 / 100);

    Enter(hDlg, IDC_MIN_PCT, "50");  // pushes the upper percentage ahead
    EXPECT_EQ(dlg->m_dMinPct, 50.0);
    EXPECT_EQ(dlg->m_dMaxPct, 51.5);
    EXPECT_EQ(dlg->m_dMinThr, 2048.0);
    EXPECT_EQ(dlg->m_dMaxThr, 4096.0 * 51.5 / 100);
    EXPECT_EQ(Text(Control(hDlg, IDC_MIN_PCT)), "50");
    EXPECT_EQ(Text(Control(hDlg, IDC_MAX_PCT)), "51.5");
    EXPECT_EQ(Text(Control(hDlg, IDC_MIN_THR)), "2048");
    EXPECT_EQ(dlg->m_dLastMinThr, dlg->m_dMinThr);

    Enter(hDlg, IDC_MIN_PCT, "99");  // above 100 - 1.5: refused
    EXPECT_EQ(dlg->m_dMaxPct, 51.5);
    EXPECT_EQ(dlg->m_dMinThr, 2048.0);

    Enter(hDlg, IDC_MAX_PCT, "1");  // below the gap: refused
    EXPECT_EQ(dlg->m_dMinThr, 2048.0);
    EXPECT_EQ(dlg->m_dMaxThr, 4096.0 * 51.5 / 100);

    Enter(hDlg, IDC_MIN_PCT, "98");
    EXPECT_EQ(dlg->m_dMaxPct, 99.5);
    Enter(hDlg, IDC_MAX_PCT, "99");  // pulls the lower percentage down
    EXPECT_EQ(dlg->m_dMaxPct, 99.0);
    EXPECT_EQ(dlg->m_dMinPct, 97.5);
    EXPECT_TRUE(providers.boxes.empty());
}

TEST_F(DialogWindow, AbsoluteEditsRefuseValuesOutsideTheRange) {
    Enter(hDlg, IDC_MIN_THR, "1000");
    EXPECT_EQ(dlg->m_dMinThr, 1000.0);
    EXPECT_EQ(dlg->m_dMinPct, 1000.0 * 100 / 4096);

    Enter(hDlg, IDC_MAX_THR, "900");  // below the lower one: pushes it down by the gap
    EXPECT_EQ(dlg->m_dMaxThr, 900.0);
    const double pushed = 900.0 - dlg->m_dMinGapThr;
    EXPECT_EQ(dlg->m_dMinThr, pushed);

    Enter(hDlg, IDC_MIN_THR, "-5");  // below the data: the last accepted value comes back
    EXPECT_EQ(dlg->m_dMinThr, pushed);
    EXPECT_EQ(Text(Control(hDlg, IDC_MIN_THR)), "-5");

    // The data maximum itself is accepted; the exchange that reads it also
    // reads the refused "-5", which the gap rules clamp to the data minimum.
    Enter(hDlg, IDC_MAX_THR, "4096");
    EXPECT_EQ(dlg->m_dMaxThr, 4096.0);
    EXPECT_EQ(dlg->m_dMaxPct, 100.0);
    EXPECT_EQ(dlg->m_dMinThr, 0.0);
    EXPECT_EQ(Text(Control(hDlg, IDC_MIN_THR)), "0");
}

TEST_F(DialogWindow, TextThatIsNoNumberIsReportedAndTheViewKeepsGoing) {
    ShowRamp();
    const double before = dlg->m_dMinPct;
    TypeText(Control(hDlg, IDC_MIN_PCT), "\b");  // empties the edit
    ASSERT_FALSE(providers.boxes.empty());
    EXPECT_EQ(providers.boxes.back().text, "Please enter a number.");
    EXPECT_EQ(dlg->m_dMinPct, before);
    EXPECT_EQ(Text(Control(hDlg, IDC_MIN_PCT)), "");
    EXPECT_EQ(g_notifications, 1);  // redrawn unchanged, and the host told while "Refresh" is on
}

// Button 1 refuses a typed colour count out of range and generates nothing.
TEST_F(DialogWindow, AColourCountOutOfRangeStopsTheExchangeAtItsEdit) {
    driver::SetEditText(Control(hDlg, IDC_COLOR_COUNT), "100");
    driver::Click(Control(hDlg, IDOK));
    ASSERT_EQ(providers.boxes.size(), 1u);
    EXPECT_EQ(providers.boxes[0].text, "Please enter an integer between 256 and 10240.");
    EXPECT_EQ(GetFocus(), Control(hDlg, IDC_COLOR_COUNT));
    EXPECT_TRUE(dlg->m_pOwnTab == nullptr && dlg->m_nMaxIndex == 255);
    driver::SetEditText(Control(hDlg, IDC_COLOR_COUNT), "300");
    driver::Click(Control(hDlg, IDOK));
    EXPECT_EQ(dlg->m_param.nMaxIndex, 299);
    EXPECT_EQ(dlg->m_param.pColorTab, dlg->m_pOwnTab);
}

TEST_F(DialogWindow, SchemeChoiceNotifiesOnlyWhileRefreshIsOn) {
    ShowRamp();
    EXPECT_EQ(g_notifications, 0);
    dlg->m_nHighIndex = 200;
    driver::PickItem(Control(hDlg, IDC_SCHEME), 4);
    EXPECT_EQ(g_notifications, 1);
    EXPECT_EQ(dlg->m_nScheme, 4);
    EXPECT_EQ(dlg->m_param.pColorTab, reinterpret_cast<unsigned int*>(dlg->m_pBuiltInTabs + 1024 * 4));
    EXPECT_EQ(dlg->m_pszTabName, dlg->m_pszSchemeName[4]);
    EXPECT_EQ(dlg->m_nHighIndex, 200);  // the indices stay

    driver::Click(Control(hDlg, IDC_NOTIFY));
    EXPECT_EQ(dlg->m_bNotify, 0);
    driver::PickItem(Control(hDlg, IDC_SCHEME), 5);
    EXPECT_EQ(dlg->m_nScheme, 5);
    EXPECT_EQ(g_notifications, 1);

    driver::Click(Control(hDlg, IDC_NOTIFY));
    driver::Click(Control(hDlg, IDC_LOG_SCALE));  // a view option never tells the host
    driver::Click(Control(hDlg, IDC_EDIT_ALPHA));
    EXPECT_EQ(dlg->m_bLogScale, 1);  // the demonstration's linear scale was carried over, now toggled
    EXPECT_EQ(dlg->m_bEditAlpha, 1);
    EXPECT_EQ(g_notifications, 1);
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
            Enter(hDlg, IDC_MAX_THR, std::to_string(t).c_str());
            Enter(hDlg, IDC_MIN_PCT, t % 2 ? "1" : "2");  // the percent tail rebuilds both thresholds
            drifted += dlg->m_dMaxThr != t;
        }
        Enter(hDlg, IDC_MIN_THR, "3");
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
        Enter(hDlg, IDC_MAX_PCT, "70");
        TypeText(Item(IDC_MIN_THR), "1");
        expectFinite("typing");
        EXPECT_TRUE(providers.boxes.empty()) << providers.boxes.size();
    }
}

}  // namespace
