// The commands beyond the window's basics as a user and a host reach them:
// the menu from the keyboard, the shortcut keys, one-bin nudges in the
// threshold edits, and the exported functions with their refusals.
#include <qorcolor/extensions.h>

#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

#include "support/shown_dialog.h"

namespace {

class Commands : public ShownDialog {
protected:
    // Opens the menu with the Menu key on the Log box and walks down `rows`
    // rows (greyed ones count, separators do not) to run that one.
    void RunFromMenu(int rows) {
        std::vector<UINT> keys(static_cast<size_t>(rows), VK_DOWN);
        keys.push_back(VK_RETURN);
        driver::ContextMenuKeys(Item(IDC_LOG_SCALE), keys);
    }
    void Ctrl(UINT key, bool shift = false) {
        driver::Key(Item(IDC_LOG_SCALE), WM_KEYDOWN, key, shift, true);
    }
    std::vector<unsigned int> Colours() const {
        return {dlg->m_pColorTab, dlg->m_pColorTab + dlg->m_nMaxIndex + 1};
    }
    std::vector<unsigned int> Reversed(std::vector<unsigned int> t) const { return {t.rbegin(), t.rend()}; }
};

// The ramp 0 ... 999 once each: the 0.5 % and 99.5 % voxels are 4 and 994.
TEST_F(Commands, MenuItemsRunFromTheKeyboard) {
    ShowRamp();
    const std::vector<unsigned int> gray = Colours();
    RunFromMenu(1);  // Auto contrast
    EXPECT_EQ(std::pair(dlg->m_dMinThr, dlg->m_dMaxThr), std::pair(4.0, 994.0));
    RunFromMenu(4);  // Auto contrast, Undo, Redo, Reverse colours
    EXPECT_EQ(Colours(), Reversed(gray));
    RunFromMenu(2);  // Undo
    EXPECT_EQ(Colours(), gray);
    RunFromMenu(3);  // Redo
    EXPECT_EQ(Colours(), Reversed(gray));

    const std::string path = ::testing::TempDir() + "menu-export.cmap";
    std::remove(path.c_str());
    providers.fileAnswers = {path};
    RunFromMenu(6);  // ... Reverse colours, Import, Export
    ASSERT_EQ(providers.fileRequests.size(), 1u);
    RunFromMenu(4);  // Reverse back to gray
    providers.fileAnswers = {path};
    RunFromMenu(5);  // Import the reversed table
    EXPECT_EQ(Colours(), Reversed(gray));
    EXPECT_TRUE(providers.boxes.empty());
    std::remove(path.c_str());
}

#if defined(_WIN32)
// A click on the title bar's menu opens the system menu, which carries the commands.
TEST_F(Commands, SystemMenuRunsACommand) {
    ShowRamp();
    PostMessageA(hDlg, WM_SYSCOMMAND, SC_MOUSEMENU | HTSYSMENU, 0);
    for (UINT key : {VK_UP, VK_UP, VK_UP, VK_UP, VK_UP, VK_UP, VK_RETURN})
        PostMessageA(hDlg, WM_KEYDOWN, key, 1);
    driver::PumpMessages();  // from the bottom: Export, Import, Reverse, Redo, Undo, Auto contrast
    EXPECT_EQ(std::pair(dlg->m_dMinThr, dlg->m_dMaxThr), std::pair(4.0, 994.0));
}
#endif

TEST_F(Commands, ShortcutKeysReachTheCommands) {
    ShowRamp();
    const std::vector<unsigned int> gray = Colours();
    Ctrl('L');
    EXPECT_EQ(dlg->m_dMaxThr, 994.0);
    Ctrl('R');
    EXPECT_EQ(Colours(), Reversed(gray));
    Ctrl('Z');
    EXPECT_EQ(Colours(), gray);
    Ctrl('Z');
    EXPECT_EQ(dlg->m_dMaxThr, 999.0);
    Ctrl('Y');
    EXPECT_EQ(dlg->m_dMaxThr, 994.0);
    Ctrl('Z', true);
    EXPECT_EQ(Colours(), Reversed(gray));
    EXPECT_EQ(QorCanRedo(), 0);
}

// One bin of data units per arrow, ten per page key; integer data move by
// one value at least. The other edit of the pair follows.
TEST_F(Commands, ArrowsNudgeAThresholdByBins) {
    static float floats[1000];
    static uint8_t bytes[256];
    for (int i = 0; i < 1000; ++i) floats[i] = static_cast<float>(i);
    for (int i = 0; i < 256; ++i) bytes[i] = static_cast<uint8_t>(i);
    struct Case {
        void* data;
        int code, count;
        int edit;
        UINT key;
        double maxStep, minStep;
    };
    const double floatBin = 999.0 / 1024;
    const Case cases[] = {
        {voxels, QOR_INT16, 1000, IDC_MAX_THR, VK_DOWN, -1, 0},
        {voxels, QOR_INT16, 1000, IDC_MAX_PCT, VK_NEXT, -10, 0},
        {voxels, QOR_INT16, 1000, IDC_MIN_THR, VK_UP, 0, 1},
        {voxels, QOR_INT16, 1000, IDC_MIN_PCT, VK_PRIOR, 0, 10},
        {bytes, QOR_UINT8, 256, IDC_MAX_THR, VK_DOWN, -1, 0},
        {floats, QOR_FLOAT32, 1000, IDC_MAX_THR, VK_DOWN, -floatBin, 0},
        {floats, QOR_FLOAT32, 1000, IDC_MIN_PCT, VK_PRIOR, 0, 10 * floatBin},
    };
    for (int i = 0; i < 1000; ++i) voxels[i] = static_cast<int16_t>(i);
    for (const Case& c : cases) {
        CQorColorDlg::showInit(reinterpret_cast<void***>(c.data), -c.code, c.count, 1, 1, nullptr,
                               const_cast<char*>("nudged"), table.data());
        dlg = g_pColorDlg;
        hDlg = dlg->m_hWnd;
        const double maxThr = dlg->m_dMaxThr, minThr = dlg->m_dMinThr;
        const std::string pctBefore = driver::Text(Item(IDC_MAX_PCT)) + driver::Text(Item(IDC_MIN_PCT));
        SetFocus(Item(c.edit));
        driver::Key(Item(c.edit), WM_KEYDOWN, c.key);
        EXPECT_DOUBLE_EQ(dlg->m_dMaxThr, maxThr + c.maxStep) << c.code << " " << c.key;
        EXPECT_DOUBLE_EQ(dlg->m_dMinThr, minThr + c.minStep) << c.code << " " << c.key;
        EXPECT_NE(driver::Text(Item(IDC_MAX_PCT)) + driver::Text(Item(IDC_MIN_PCT)), pctBefore);
    }
}

TEST_F(Commands, HostCallsReportAndRefuse) {
    ShowRamp();
    const double before[] = {dlg->m_dMinThr, dlg->m_dMaxThr};
    for (const auto& [low, high] : {std::pair(double(NAN), 0.9), std::pair(0.5, 0.5), std::pair(-0.1, 1.0),
                                    std::pair(0.2, 1.5), std::pair(0.9, 0.1)})
        EXPECT_EQ(QorAutoContrast(low, high), QOR_BAD_ARGUMENT) << low << " " << high;
    EXPECT_EQ(std::pair(dlg->m_dMinThr, dlg->m_dMaxThr), std::pair(before[0], before[1]));
    EXPECT_EQ(QorUndo(), QOR_NOTHING_TO_DO);
    EXPECT_EQ(QorExportColorTable((::testing::TempDir() + "x.bin").c_str(), 99), QOR_BAD_ARGUMENT);
    char reason[64] = "unchanged";
    EXPECT_EQ(QorImportColorTable((::testing::TempDir() + "no-such-map.json").c_str(), reason, sizeof reason),
              QOR_REFUSED);
    EXPECT_STRNE(reason, "unchanged");

    ASSERT_EQ(QorAutoContrast(0.25, 0.75), QOR_OK);
    QorHistogramInfo info{};
    std::vector<int> counts(1024);
    ASSERT_EQ(QorGetHistogram(&info, counts.data(), 1024), QOR_OK);
    long total = 0;
    for (int c : counts) total += c;
    EXPECT_EQ(total, 1000);
    EXPECT_EQ(info.bins, 1024);
    EXPECT_EQ(std::pair(info.dataMin, info.dataMax), std::pair(0.0, 999.0));
    EXPECT_DOUBLE_EQ(info.lowThresholdBin, 249 / info.binWidth);
    EXPECT_DOUBLE_EQ(info.highThresholdBin, 749 / info.binWidth);

    // Data of one value leaves the thresholds where they are.
    for (int16_t& v : voxels) v = 7;
    CQorColorDlg::RecomputeHistogram();
    EXPECT_EQ(QorAutoContrast(0.1, 0.9), QOR_NOTHING_TO_DO);
    EXPECT_EQ(QorCanUndo(), 0);  // a new history began with the new data
    { CQorColorDlg end; }
    EXPECT_EQ(QorGetHistogram(&info, nullptr, 0), QOR_NO_WINDOW);
}

}  // namespace
