// A host that sees only what the shared library exports: the entry points
// and, on Windows, the real window with its controls, the version and the
// manifest of the DLL.
#include <gtest/gtest.h>
#include <qorcolor/headless.h>
#include <qorcolor/qorcolor.h>

#include <cstdint>
#include <numeric>
#include <string>
#include <tuple>
#include <vector>

#if defined(_WIN32)
#define WIN32_LEAN_AND_MEAN
#include <windows.h>

#include "res/dialog_template.h"
#endif

namespace {

// Counts the modal questions, which a host that only calls entry points never sees.
class HostTest : public ::testing::Test {
protected:
    void SetUp() override {
        QorSetMessageBoxProvider(
            [](const char*, const char*, unsigned, void* n) { return ++*static_cast<int*>(n); },
            &m_questions);
        QorSetFileDialogProvider([](int, const char*, const char*, unsigned, char*, int,
                                    void* n) { return ++*static_cast<int*>(n), 0; },
                                 &m_questions);
    }
    void TearDown() override {
        { CQorColorDlg end; }
        QorSetMessageBoxProvider(nullptr, nullptr);
        QorSetFileDialogProvider(nullptr, nullptr);
        EXPECT_EQ(m_questions, 0);
    }
    int m_questions = 0;
};

TEST_F(HostTest, EntryPointsAnswerNothingWithoutAWindowAndTheDemonstrationAfterShow) {
    CQorColorDlg::RecomputeHistogram();
    EXPECT_EQ(
        std::tuple(CQorColorDlg::GetColorTabParam(), CQorColorDlg::GetData(), CQorColorDlg::Initialize()),
        std::tuple(nullptr, nullptr, nullptr));
    unsigned int table[4] = {11, 12, 13, 14};
    int isVolume = 3, count = 4;
    double a = 1, b = 2, c = 3, d = 4;
    EXPECT_EQ(std::tuple(CQorColorDlg::UpdateDataColorTab(), CQorColorDlg::GenerateColorTab(table),
                         CQorColorDlg::GetColorTabEx(isVolume, count, a, b, c, d),
                         CQorColorDlg::UpdateDataColorTabEx(isVolume, count, a, b, c, d),
                         CQorColorDlg::GenerateColorTabEx(table, count, a, b, c, d)),
              std::tuple(0, 0, 0, 0, 0));
    EXPECT_EQ(std::tuple(table[0], table[3], isVolume, count, a, b, c, d),
              std::tuple(11u, 14u, 3, 4, 1.0, 2.0, 3.0, 4.0));

    CQorColorDlg::show();  // the demonstration: a record and a filled histogram
    const auto* bins = static_cast<const uint32_t*>(CQorColorDlg::Initialize());
    ASSERT_TRUE(CQorColorDlg::GetColorTabParam() && bins);
    EXPECT_GT(std::accumulate(bins, bins + 1024, uint64_t{0}), 0u);
}

#if defined(_WIN32)

std::string Text(HWND hWnd) {
    char text[512] = {};
    GetWindowTextA(hWnd, text, sizeof text);
    return text;
}

// Style bits the real controls keep as created: the edit trades WS_BORDER
// for a client edge, the combo box hands its scroll bar to the list, the
// push button's default state follows the focus.
DWORD ComparableStyle(ControlClass kind, DWORD style) {
    style &= ~(WS_VISIBLE | WS_BORDER);
    if (kind == ControlClass::ComboBox) style &= ~WS_VSCROLL;
    if (kind == ControlClass::Button && (style & BS_TYPEMASK) == BS_DEFPUSHBUTTON) style &= ~BS_TYPEMASK;
    return style;
}

// Keys posted to the window and dispatched by a loop that knows nothing of
// it, as an application's own loop does.
void PostKeyAndPump(HWND target, WPARAM key) {
    PostMessageA(target, WM_KEYDOWN, key, 1);
    PostMessageA(target, WM_KEYUP, key, 0xC0000001);
    PostThreadMessageA(GetCurrentThreadId(), WM_APP, 0, 0);
    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0) > 0 && msg.message != WM_APP) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
}

// The shown window is the template's controls, real ones, and its keys work
// in a plain host loop.
TEST_F(HostTest, TheWindowIsMadeOfTheTemplatesControlsAndTakesKeys) {
    CQorColorDlg::show();
    HWND dialog = FindWindowA(nullptr, QOR_CAPTION);
    ASSERT_TRUE(dialog && IsWindowVisible(dialog));
    // The children in creation (and tab) order are the template's controls.
    const DialogTemplate& tmpl = g_colorTableTemplate;
    HWND control = GetWindow(dialog, GW_CHILD);
    for (int i = 0; i < tmpl.controlCount; ++i, control = GetWindow(control, GW_HWNDNEXT)) {
        const DialogControl& c = tmpl.controls[i];
        SCOPED_TRACE(std::string("control ") + std::to_string(c.id) + " \"" + c.text + "\"");
        ASSERT_NE(control, nullptr);
        EXPECT_EQ(static_cast<int16_t>(GetDlgCtrlID(control)), c.id);
        char className[64] = {};
        GetClassNameA(control, className, sizeof className);
        EXPECT_STRCASEEQ(className, ControlClassName(c.kind));
        EXPECT_EQ(ComparableStyle(c.kind, static_cast<DWORD>(GetWindowLongPtrA(control, GWL_STYLE))),
                  ComparableStyle(c.kind, c.style));
        EXPECT_EQ(static_cast<DWORD>(GetWindowLongPtrA(control, GWL_EXSTYLE)) & c.exStyle, c.exStyle);
        if (c.kind == ControlClass::Button || (c.kind == ControlClass::Static && c.id == -1)) {
            EXPECT_EQ(Text(control), c.text);
        }
    }

    SetFocus(GetDlgItem(dialog, 1002));
    PostKeyAndPump(GetFocus(), VK_ESCAPE);
    EXPECT_FALSE(IsWindowVisible(dialog)) << "Escape hides like the close box";
    EXPECT_NE(CQorColorDlg::GetColorTabParam(), nullptr);

    CQorColorDlg::show();
    auto* param = static_cast<ColorTabParam*>(CQorColorDlg::GetColorTabParam());
    const unsigned int* before = param->pColorTab;
    SetFocus(GetDlgItem(dialog, 1018));
    PostKeyAndPump(GetFocus(), VK_RETURN);
    EXPECT_EQ(std::tuple(param->pColorTab != before, param->nMaxIndex), std::tuple(true, 1023))
        << "Enter is button 1: a generated table becomes active";
}

TEST_F(HostTest, TheDllCarriesItsVersionAndManifest) {
    const HMODULE dll = GetModuleHandleA("qorcolor.dll");
    ASSERT_NE(dll, nullptr);
    char path[MAX_PATH] = {};
    ASSERT_GT(GetModuleFileNameA(dll, path, MAX_PATH), 0u);
    std::vector<char> info(GetFileVersionInfoSizeA(path, nullptr));
    ASSERT_TRUE(!info.empty() && GetFileVersionInfoA(path, 0, static_cast<DWORD>(info.size()), info.data()));
    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT fixedSize = 0;
    ASSERT_TRUE(VerQueryValueA(info.data(), "\\", reinterpret_cast<void**>(&fixed), &fixedSize) && fixed);
    EXPECT_EQ(std::tuple(fixed->dwFileVersionMS, fixed->dwFileVersionLS, fixed->dwProductVersionMS,
                         fixed->dwProductVersionLS),
              std::tuple(MAKELONG(0, 1), MAKELONG(1, 0), MAKELONG(0, 1), MAKELONG(1, 0)));

    HRSRC found = FindResourceA(dll, MAKEINTRESOURCEA(2), MAKEINTRESOURCEA(24));
    ASSERT_NE(found, nullptr);
    const auto* data = static_cast<const char*>(LockResource(LoadResource(dll, found)));
    const std::string manifest(data ? data : "", data ? SizeofResource(dll, found) : 0);
    EXPECT_NE(manifest.find("level=\"asInvoker\""), std::string::npos);
    EXPECT_NE(manifest.find(">true</dpiAware>"), std::string::npos);
    EXPECT_NE(FindResourceA(dll, MAKEINTRESOURCEA(5008), MAKEINTRESOURCEA(5)), nullptr);
}

#endif

}  // namespace
