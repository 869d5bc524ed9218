// The exported entry points and the lifetime of the single dialog, driven as
// a host drives them.
#include <gtest/gtest.h>
#include <qorcolor/qorcolor.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <tuple>
#include <vector>

#include "dialog/color_dlg.h"
#include "support/driver.h"
#if !defined(_WIN32)
#include "framework/portable/portable_testing.h"
#endif

namespace {

int g_calls = 0;
void CountCall(ColorTabParam*) { ++g_calls; }

std::string WindowText(HWND hWnd) {
    char text[256] = {};
    GetWindowTextA(hWnd, text, sizeof text);
    return text;
}

class ModuleTest : public ::testing::Test {
protected:
    void SetUp() override { g_calls = 0; }
    void TearDown() override { CQorColorDlg end; }  // destroying any instance ends the dialog
};

// One window: show makes it visible and reuses it; closing only hides it.
TEST_F(ModuleTest, ShowReusesTheOneWindowThatClosingOnlyHides) {
    CQorColorDlg::show();
    ASSERT_NE(g_pColorDlg, nullptr);
    CColorDlgBase* first = g_pColorDlg;
    HWND hDlg = FindWindowA(nullptr, "Color Table");
    EXPECT_EQ(hDlg, first->m_hWnd);
    EXPECT_EQ(CQorColorDlg::GetColorTabParam(), &first->m_param);
    driver::Close(hDlg);  // the dialog's default processing posts IDCANCEL
    EXPECT_FALSE(IsWindowVisible(hDlg));
    EXPECT_TRUE(IsWindow(hDlg));
    CQorColorDlg::show();
    EXPECT_EQ(g_pColorDlg, first);
    EXPECT_TRUE(IsWindowVisible(hDlg));
}

// The sign of the datatype tells a flat buffer from slice pointers; show
// forgets the host's data, callback and table and labels the demonstration.
TEST_F(ModuleTest, ShowInitStoresTheLayoutAndShowForgetsIt) {
    std::vector<float> flat(4 * 3 * 2, 1.5f);
    unsigned int table[256];
    CQorColorDlg::showInit(reinterpret_cast<void***>(flat.data()), -16, 4, 3, 2,
                           reinterpret_cast<void*>(&CountCall), const_cast<char*>("flat"), table);
    const CColorDlgBase* d = g_pColorDlg;
    EXPECT_EQ(std::tuple(d->m_nDataType, d->m_pFlatData, d->m_pVolume, CQorColorDlg::GetData()),
              std::tuple(16, static_cast<void*>(flat.data()), nullptr, nullptr));
    EXPECT_EQ(std::tuple(d->m_nDimX, d->m_nDimY, d->m_nDimZ, d->m_pHostColorTab), std::tuple(4, 3, 2, table));
    EXPECT_EQ(d->m_pfnNotify, &CountCall);

    uint8_t row[2] = {1, 2};
    uint8_t* rows[1] = {row};
    uint8_t** slices[1] = {rows};
    CQorColorDlg::showInit(reinterpret_cast<void***>(slices), 2, 2, 1, 1, nullptr,
                           const_cast<char*>("slices"), table);
    EXPECT_EQ(std::tuple(d->m_nDataType, d->m_pFlatData, CQorColorDlg::GetData()),
              std::tuple(2, nullptr, static_cast<void*>(slices)));
    EXPECT_EQ(WindowText(GetDlgItem(d->m_hWnd, IDC_DATASET_NAME)), "Data set: slices");

    CQorColorDlg::show();
    EXPECT_EQ(std::tuple(d->m_pfnNotify, d->m_pHostColorTab, d->m_pVolume, d->m_nDataType),
              std::tuple(nullptr, nullptr, nullptr, 0));
    const std::string label = WindowText(GetDlgItem(d->m_hWnd, IDC_DATASET_NAME));
    EXPECT_EQ(label.rfind("Data set: Noisy Guassian histogram.", 0), 0u) << label;
    EXPECT_EQ(CQorColorDlg::UpdateDataColorTab(), CColorDlgBase::kNoHostTable);
    EXPECT_EQ(g_calls, 0);  // entry points never call back into the host
}

TEST_F(ModuleTest, DestroyingEndsTheDialogAndAFreshOneStartsFromDefaults) {
    CQorColorDlg::show();
    g_pColorDlg->m_nColorCount = 777;
    g_pColorDlg->m_dMaxPct = 60;
    {
        CQorColorDlg a, b;
        b = a;  // assignment does nothing; destroying the first ends the dialog, the second finds none
    }
    EXPECT_EQ(g_pColorDlg, nullptr);
    EXPECT_EQ(FindWindowA(nullptr, "Color Table"), nullptr);

    CQorColorDlg::show();
    ASSERT_NE(g_pColorDlg, nullptr);
    EXPECT_EQ(g_pColorDlg->m_nColorCount, 1024);
    EXPECT_EQ(g_pColorDlg->m_param.dMaxThr, 4096.0);  // 100 % of the demonstration's range again
    EXPECT_NE(FindWindowA(nullptr, "Color Table"), nullptr);
#if !defined(_WIN32)
    // The window system keeps no record of the windows a cycle ended.
    const size_t records = portable::WindowRecordCount();
    { CQorColorDlg end; }
    CQorColorDlg::show();
    EXPECT_EQ(portable::WindowRecordCount(), records);
#endif
}

void EndWindow() { CQorColorDlg end; }
void EndingCall(ColorTabParam*) {
    ++g_calls;
    EndWindow();
}

// A host may end the window wherever it is called: inside its callback on
// every path that notifies, or while one of the window's modal questions is
// open. The window is gone for the host at once, the handlers that are still
// running finish on a live object, and the next show makes a new window.
TEST_F(ModuleTest, EndingTheWindowInsideAnyOfItsHandlersIsSafe) {
    driver::RecordingProviders providers;
    const std::string lut = (std::filesystem::temp_directory_path() / "qc_ending.lut").string();
    {
        std::ofstream out(lut);
        for (int i = 0; i < 256; ++i) out << i << " 0 0\n";
    }
    using driver::Control;
    const auto handle = [](const CPoint& c) {
        const CColorDlgBase* d = g_pColorDlg;
        return POINT{d->m_nViewLeft + c.x, d->m_nViewTop + d->m_nViewHeight - 1 - c.y};
    };
    struct Path {
        const char* name;
        bool question;  // ended while a modal question is open, not by the callback
        std::function<void(HWND, driver::RecordingProviders&)> act;
    };
    const std::vector<Path> paths = {
        {"typing", false, [](HWND h, auto&) { driver::TypeText(Control(h, IDC_MIN_PCT), "5"); }},
        {"pasting", false, [](HWND h, auto&) { driver::SetEditText(Control(h, IDC_MAX_THR), "500"); }},
        {"scheme", false, [](HWND h, auto&) { driver::PickItem(Control(h, IDC_SCHEME), 3); }},
        {"wheel", false,
         [](HWND h, auto&) {
             SetFocus(Control(h, IDC_MAX_PCT));
             driver::Wheel(h, 5, 5, -WHEEL_DELTA);
         }},
        {"drag", false,
         [&](HWND h, auto&) {
             const POINT p = handle(g_pColorDlg->m_ptHighThr);
             driver::MouseDown(h, p.x, p.y);
             driver::MouseMove(h, p.x - 20, p.y, MK_LBUTTON);
         }},
        {"load", false,
         [&](HWND h, auto& pr) {
             pr.fileAnswers.push_back(lut);
             driver::RightDown(h, 3, 3);
         }},
        {"open", true, [](HWND h, auto&) { driver::RightDown(h, 3, 3); }},
        {"save", true, [](HWND h, auto&) { driver::DoubleClick(h, 3, 3); }},
        {"number", true, [](HWND h, auto&) { driver::TypeText(Control(h, IDC_MIN_THR), "x"); }},
        {"colour count", true,
         [](HWND h, auto&) {
             driver::SetEditText(Control(h, IDC_COLOR_COUNT), "100");
             driver::Click(Control(h, IDOK));
         }},
    };
    std::vector<int16_t> voxels(1000);
    for (int i = 0; i < 1000; ++i) voxels[i] = static_cast<int16_t>(i);
    std::vector<unsigned int> table(65535);
    for (const Path& path : paths) {
        SCOPED_TRACE(path.name);
        g_calls = 0;
        providers.onQuestion = path.question ? std::function<void()>(&EndWindow) : nullptr;
        CQorColorDlg::showInit(reinterpret_cast<void***>(voxels.data()), -4, 10, 10, 10,
                               reinterpret_cast<void*>(path.question ? nullptr : &EndingCall),
                               const_cast<char*>("ramp"), table.data());
        HWND hDlg = g_pColorDlg->m_hWnd;
        path.act(hDlg, providers);
        EXPECT_EQ(CQorColorDlg::GetColorTabParam(), nullptr);
        EXPECT_FALSE(IsWindow(hDlg));  // the outermost handler has returned
        EXPECT_EQ(g_calls, path.question ? 0 : 1);
        EXPECT_EQ(providers.fileRequests.size() + providers.boxes.size(),
                  path.question ? 1u : path.name[0] == 'l');
        providers.fileRequests.clear();
        providers.boxes.clear();
        CQorColorDlg::show();
        ASSERT_NE(g_pColorDlg, nullptr);
        EXPECT_NE(g_pColorDlg->m_hWnd, hDlg);
        EXPECT_EQ(driver::FindDialog(), g_pColorDlg->m_hWnd);
        EndWindow();
    }
}

}  // namespace
