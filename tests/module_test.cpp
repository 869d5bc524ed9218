// The exported entry points and the lifetime of the single dialog, driven as
// a host drives them.
#include <gtest/gtest.h>
#include <qorcolor/qorcolor.h>

#include <functional>
#include <string>
#include <tuple>
#include <vector>

#include "support/shown_dialog.h"
#include "support/table_forms.h"
#if !defined(_WIN32)
#include "framework/portable/portable_testing.h"
#endif

namespace {

// The fixture shows the window first; its end destroys an instance, which ends the dialog.
using ModuleTest = ShownDialog;

// The sign of the datatype tells a flat buffer from slice pointers; without
// voxels, and after show, the demonstration runs with no callback and no host
// table.
TEST_F(ModuleTest, ShowInitStoresTheLayoutAndShowForgetsIt) {
    std::vector<float> flat(4 * 3 * 2, 1.5f);
    unsigned int table[256];
    CQorColorDlg::showInit(reinterpret_cast<void***>(flat.data()), -16, 4, 3, 2,
                           reinterpret_cast<void*>(&CountNotification), const_cast<char*>("flat"), table);
    EXPECT_EQ(std::tuple(dlg->m_nDataType, dlg->m_pFlatData, dlg->m_pVolume, CQorColorDlg::GetData()),
              std::tuple(16, static_cast<void*>(flat.data()), nullptr, nullptr));
    EXPECT_EQ(std::tuple(dlg->m_nDimX, dlg->m_nDimY, dlg->m_nDimZ, dlg->m_pHostColorTab, dlg->m_pfnNotify),
              std::tuple(4, 3, 2, table, &CountNotification));
    flat[5] = 9.0f;  // changed in place by the host: a recompute sees it
    CQorColorDlg::RecomputeHistogram();
    EXPECT_EQ(std::tuple(dlg->m_dDataMin, dlg->m_dDataMax), std::tuple(1.5, 9.0));

    uint8_t row[2] = {1, 2};
    uint8_t* rows[1] = {row};
    uint8_t** slices[1] = {rows};
    CQorColorDlg::showInit(reinterpret_cast<void***>(slices), 2, 2, 1, 1, nullptr,
                           const_cast<char*>("slices"), table);
    EXPECT_EQ(std::tuple(dlg->m_nDataType, dlg->m_pFlatData, CQorColorDlg::GetData()),
              std::tuple(2, nullptr, static_cast<void*>(slices)));
    EXPECT_EQ(driver::Text(Item(IDC_DATASET_NAME)), "Data set: slices");
    CQorColorDlg::showInit(nullptr, 2, 4, 4, 4, reinterpret_cast<void*>(&CountNotification),
                           const_cast<char*>("none"), table);  // no voxels: the demonstration, no callback
    EXPECT_EQ(std::tuple(dlg->m_dDataMax, dlg->m_pfnNotify), std::tuple(4096.0, nullptr));

    CQorColorDlg::show();
    EXPECT_EQ(std::tuple(dlg->m_pfnNotify, dlg->m_pHostColorTab, dlg->m_pVolume, dlg->m_nDataType),
              std::tuple(nullptr, nullptr, nullptr, 0));
    const std::string label = driver::Text(Item(IDC_DATASET_NAME));
    EXPECT_EQ(label.rfind("Data set: Noisy Guassian histogram.", 0), 0u) << label;
    EXPECT_EQ(CQorColorDlg::UpdateDataColorTab(), CColorDlgBase::kNoHostTable);
    EXPECT_EQ(g_notifications, 0);  // entry points never call back into the host
}

// One window: show reuses it and closing only hides it; destroying any
// instance ends it, and the next show starts from the defaults.
TEST_F(ModuleTest, ClosingHidesTheOneWindowAndDestroyingEndsIt) {
    EXPECT_EQ(std::tuple(hDlg, CQorColorDlg::GetColorTabParam()), std::tuple(dlg->m_hWnd, &dlg->m_param));
    SendMessageA(hDlg, WM_CLOSE, 0, 0);  // the dialog's default processing posts IDCANCEL
    driver::PumpMessages();
    EXPECT_EQ(std::tuple(IsWindowVisible(hDlg), IsWindow(hDlg)), std::tuple(FALSE, TRUE));
    CQorColorDlg::show();
    EXPECT_EQ(std::tuple(g_pColorDlg, IsWindowVisible(hDlg)), std::tuple(dlg, TRUE));

    g_pColorDlg->m_nColorCount = 777, g_pColorDlg->m_dMaxPct = 60;
    {
        CQorColorDlg a, b;
        b = a;  // assignment does nothing; destroying the first ends the dialog, the second finds none
    }
    EXPECT_EQ(std::tuple(g_pColorDlg, driver::FindDialog()), std::tuple(nullptr, HWND{}));

    CQorColorDlg::show();
    ASSERT_NE(g_pColorDlg, nullptr);
    // 100 % of the demonstration's range again.
    EXPECT_EQ(std::tuple(g_pColorDlg->m_nColorCount, g_pColorDlg->m_param.dMaxThr), std::tuple(1024, 4096.0));
#if !defined(_WIN32)
    // The window system keeps no record of the windows a cycle ended.
    const size_t records = portable::WindowRecordCount();
    { CQorColorDlg end; }
    CQorColorDlg::show();
    EXPECT_EQ(portable::WindowRecordCount(), records);
#endif
}

void EndWindow() { CQorColorDlg end; }
void EndingCall(ColorTabParam* param) {
    CountNotification(param);
    EndWindow();
}

// A host may end the window wherever it is called: inside its callback on
// every path that notifies, or while one of the window's modal questions is
// open. The window is gone for the host at once, the handlers that are still
// running finish on a live object, and the next show makes a new window.
TEST_F(ModuleTest, EndingTheWindowInsideAnyOfItsHandlersIsSafe) {
    const std::string lut = table_forms::Temp("qc_ending.lut");
    table_forms::Write(lut, table_forms::Readable()[1].bytes);
    providers.fileAnswers.push_back(lut);  // taken by the first file question, that of "load"
    // Name; ended while a modal question is open rather than in the callback; what the user does.
    const std::vector<std::tuple<const char*, bool, std::function<void()>>> paths = {
        {"typing", false, [&] { driver::TypeText(Item(IDC_MIN_PCT), "5"); }},
        {"pasting", false, [&] { SetWindowTextA(Item(IDC_MAX_THR), "500"); }},
        {"scheme", false, [&] { driver::PickItem(Item(IDC_SCHEME), 3); }},
        {"wheel", false, [&] { WheelOn(IDC_MAX_PCT, -WHEEL_DELTA); }},
        {"drag", false, [&] { DragHandle(CColorDlgBase::kHighThr, -20); }},
        {"load", false, [&] { driver::RightDown(hDlg, 3, 3); }},
        {"open", true, [&] { driver::RightDown(hDlg, 3, 3); }},
        {"save", true, [&] { driver::DoubleClick(hDlg, 3, 3); }},
        {"number", true, [&] { driver::TypeText(Item(IDC_MIN_THR), "x"); }},
        {"colour count", true,
         [&] {
             SetWindowTextA(Item(IDC_COLOR_COUNT), "100");
             driver::Click(Item(IDOK));
         }},
    };
    for (const auto& [name, question, act] : paths) {
        SCOPED_TRACE(name);
        g_notifications = 0;
        providers.onQuestion = question ? std::function<void()>(&EndWindow) : nullptr;
        ShowRamp(question ? nullptr : &EndingCall);
        act();
        // Gone once the outermost handler has returned; the callback ran once.
        EXPECT_EQ(std::tuple(CQorColorDlg::GetColorTabParam(), IsWindow(hDlg), g_notifications),
                  std::tuple(static_cast<void*>(nullptr), FALSE, question ? 0 : 1));
        EXPECT_EQ(providers.fileRequests.size() + providers.boxes.size(), question ? 1u : name[0] == 'l');
        providers.fileRequests.clear();
        providers.boxes.clear();
        CQorColorDlg::show();
        ASSERT_NE(g_pColorDlg, nullptr);  // a new window: the old handle is dead, this one is found
        EXPECT_EQ(driver::FindDialog(), g_pColorDlg->m_hWnd);
        EndWindow();
    }
}

}  // namespace
