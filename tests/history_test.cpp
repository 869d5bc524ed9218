// Undo and redo over a session of the user's gestures, driven with the
// window's own input, and Reverse.
#include <gtest/gtest.h>
#include <qorcolor/qorcolor.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <tuple>
#include <vector>

#include "common/range_math.h"
#include "support/shown_dialog.h"
#include "support/table_forms.h"

namespace {

class HistoryTest : public ShownDialog {
protected:
    // What the host and the user see: the record, the host's table, the edits, the curve.
    using Seen =
        std::tuple<double, double, int, int, int, std::vector<unsigned int>, std::vector<unsigned int>,
                   std::vector<std::string>, std::vector<float>, int, bool, double, double>;
    Seen Look() {
        const ColorTabParam& p = dlg->m_param;
        CQorColorDlg::UpdateDataColorTab();
        std::vector<std::string> texts;
        for (const int id : {IDC_MIN_PCT, IDC_MAX_PCT, IDC_MIN_THR, IDC_MAX_THR, IDC_COLOR_COUNT})
            texts.push_back(driver::Text(Item(id)));
        return {p.dMinThr,
                p.dMaxThr,
                p.nLowIndex,
                p.nHighIndex,
                p.nMaxIndex,
                std::vector<unsigned int>(p.pColorTab, p.pColorTab + p.nMaxIndex + 1),
                std::vector<unsigned int>(table.begin(), table.begin() + 4096),
                texts,
                std::vector<float>(dlg->m_pAlpha, dlg->m_pAlpha + p.nMaxIndex + 1),
                dlg->m_cbScheme.GetCurSel(),
                driver::IsChecked(Item(IDC_LOG_SCALE)),
                dlg->m_dMinPct,
                dlg->m_dMaxPct};
    }
    void Drag(CColorDlgBase::Handle handle, int dx) {
        DragHandle(handle, dx);
        Release();
    }
    void TypeAndEnter(int id, const char* text) {
        SetFocus(Item(id));
        driver::TypeText(Item(id), text);
        MSG key{Item(id), WM_KEYDOWN, VK_RETURN, 1, 0, {}};
        IsDialogMessageA(hDlg, &key);
    }
    void Burst(int id, int notches) {
        for (int i = 0; i < notches; ++i) WheelOn(id, -WHEEL_DELTA);
    }
    // Double click in Edit Alpha at a fraction of the curve's width and height.
    void KnotAt(double across, double up) {
        driver::Click(Item(IDC_EDIT_ALPHA));
        const int x = dlg->m_nAlphaLeft + static_cast<int>((dlg->m_nAlphaRight - dlg->m_nAlphaLeft) * across);
        const int y = dlg->m_nAlphaBottom + static_cast<int>((dlg->m_nAlphaTop - dlg->m_nAlphaBottom) * up);
        driver::DoubleClick(hDlg, Client(CPoint(x, y)).x, Client(CPoint(x, y)).y);
        driver::Click(Item(IDC_EDIT_ALPHA));
    }
    void Button1(const char* count) {
        driver::TypeText(Item(IDC_COLOR_COUNT), count);
        SetFocus(Item(IDOK));
        driver::Click(Item(IDOK));
    }
    void LoadFile() {
        const std::string path = (std::filesystem::temp_directory_path() / "qorcolor_history.lut").string();
        std::ofstream(path, std::ios::binary) << table_forms::Readable()[0].bytes;
        providers.fileAnswers.push_back(path);
        driver::RightDown(hDlg, 3, 3);
    }
};

TEST_F(HistoryTest, UndoAndRedoRetraceASessionStepByStep) {
    ShowRamp();
    const std::vector<std::function<void()>> gestures = {
        [&] { Drag(CColorDlgBase::kLowThr, 30); },
        [&] { TypeAndEnter(IDC_MAX_PCT, "77.7"); },
        [&] { Burst(IDC_MIN_THR, 3); },
        [&] { driver::PickItem(Item(IDC_SCHEME), 4); },
        [&] { Drag(CColorDlgBase::kHighIndex, -40); },
        [&] { KnotAt(0.5, 0.25); },
        [&] { driver::Click(Item(IDC_LOG_SCALE)); },
        [&] { dlg->ReverseColors(); },
        [&] { Button1("300"); },
        [&] { Drag(CColorDlgBase::kMidThr, -25); },
        [&] { Burst(IDC_MAX_PCT, 2); },
        [&] { KnotAt(0.3, 0.6); },
        [&] { LoadFile(); },
        [&] { dlg->ReverseColors(); },
        [&] { TypeAndEnter(IDC_MIN_THR, "123.25"); },
        [&] { Drag(CColorDlgBase::kLowIndex, 20); },
        [&] { driver::PickItem(Item(IDC_SCHEME), 7); },
        [&] { driver::Click(Item(IDC_LOG_SCALE)); },
        [&] { dlg->ReverseColors(); },
        [&] { Burst(IDC_MIN_PCT, 4); },
    };
    std::vector<Seen> seen = {Look()};
    for (const auto& gesture : gestures) {
        gesture();
        seen.push_back(Look());
        ASSERT_NE(seen.back(), seen[seen.size() - 2]) << seen.size() - 1;  // every gesture changed something
    }
    for (size_t k = gestures.size(); k-- > 0;) {
        ASSERT_EQ(dlg->Undo(), 0);
        EXPECT_EQ(Look(), seen[k]) << "undo to " << k;
    }
    EXPECT_EQ(std::tuple(dlg->Undo(), dlg->CanUndo(), dlg->CanRedo()), std::tuple(-3, false, true));
    for (size_t k = 1; k <= gestures.size(); ++k) {
        ASSERT_EQ(dlg->Redo(), 0);
        EXPECT_EQ(Look(), seen[k]) << "redo to " << k;
    }
    EXPECT_EQ(dlg->Redo(), -3);
}

// Undo and redo tell the host once each, as the gesture did; Reverse keeps
// the built-in tables and gives the colours back when done twice.
TEST_F(HistoryTest, ReverseIsOneStepAndUndoNotifiesOnce) {
    ShowRamp();
    const unsigned int* gray = dlg->m_pColorTab;
    const std::vector<unsigned int> before(gray, gray + 256);
    const auto colors = [](const unsigned int* t) { return std::vector<unsigned int>(t, t + 256); };
    dlg->ReverseColors();
    EXPECT_EQ(std::tuple(colors(dlg->m_pColorTab), colors(gray)),
              std::tuple(std::vector<unsigned int>(before.rbegin(), before.rend()), before));
    dlg->ReverseColors();
    EXPECT_EQ(colors(dlg->m_pColorTab), before);
    g_notifications = 0;
    EXPECT_EQ(std::tuple(dlg->Undo(), g_notifications), std::tuple(0, 1));
    EXPECT_EQ(std::tuple(dlg->Redo(), g_notifications), std::tuple(0, 2));
}

// A percentage put back by undo keeps its exact value, even one that the
// round trip through its threshold would change.
TEST_F(HistoryTest, UndonePercentagesStayExact) {
    ShowRamp();
    const double lo = dlg->m_dDataMin, hi = dlg->m_dDataMax;
    double drifting = 0;
    for (int i = 1; drifting == 0 && i < 20 * 90; ++i)
        if (PercentAt(lo, hi, ValueAt(lo, hi, i / 20.0, hi - lo)) != i / 20.0) drifting = i / 20.0;
    char text[32];
    std::snprintf(text, sizeof text, "%.17g", drifting);
    TypeAndEnter(IDC_MIN_PCT, text);
    TypeAndEnter(IDC_MIN_PCT, "95");
    dlg->Undo();
    EXPECT_EQ(std::tuple(dlg->m_dMinPct, drifting > 0), std::tuple(drifting, true));
}

// The newest hundred steps are kept; new data starts the history again.
TEST_F(HistoryTest, HistoryKeepsTheNewestHundredStepsAndNewDataClearsIt) {
    ShowRamp();
    std::vector<double> lows;
    for (int i = 0; i < 120; ++i) {
        lows.push_back(dlg->m_dMinThr);
        TypeAndEnter(IDC_MIN_THR, std::to_string(i + 1).c_str());
    }
    int undone = 0;
    while (dlg->Undo() == 0) ++undone;
    EXPECT_EQ(std::tuple(undone, dlg->m_dMinThr), std::tuple(100, lows[20]));
    Drag(CColorDlgBase::kLowThr, 30);
    ShowRamp();
    EXPECT_EQ(std::tuple(dlg->CanUndo(), dlg->CanRedo(), dlg->Undo()), std::tuple(false, false, -3));
}

}  // namespace
