// Conformance of the controls: for each message a control receives, the
// notifications its parent gets, counted as a Win32 control test counts them.
// Runs unchanged on both backends, so a difference between the portable
// controls and the real ones shows up as a failed row.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "framework/afx.h"
#include "framework/dialog_template.h"
#include "support/control_styles.h"
#include "support/driver.h"

namespace {

enum : int {
    kTemplateId = 101,
    kEdit = 10,
    kOtherEdit = 11,
    kReadOnly = 12,
    kCheck = 13,
    kCombo = 14,
    kLabel = 15
};

constexpr DialogControl kControls[] = {
    {kEdit, ControlClass::Edit, kEditStyle, 4, 4, 60, 12, ""},
    {kOtherEdit, ControlClass::Edit, kEditStyle, 4, 20, 60, 12, ""},
    {kReadOnly, ControlClass::Edit, kChildStyle | ES_READONLY, 4, 36, 60, 12, "fixed"},
    {kCheck, ControlClass::Button, kCheckStyle, 4, 52, 60, 12, "Check"},
    {kCombo, ControlClass::ComboBox, kChildStyle | WS_TABSTOP | CBS_DROPDOWNLIST | CBS_OWNERDRAWFIXED, 4, 68,
     60, 80, ""},
    {kLabel, ControlClass::Static, kChildStyle | SS_LEFT, 4, 84, 60, 8, "Label"},
};
const DialogTemplate kTemplate = {
    kTemplateId,
    static_cast<uint32_t>(WS_POPUP | WS_CAPTION | DS_SHELLFONT),
    80,
    100,
    "Controls",
    "MS Shell Dlg",
    8,
    kControls,
    static_cast<int>(sizeof(kControls) / sizeof(kControls[0])),
};

// A notification as the parent sees it: "id:code".
using Log = std::vector<std::string>;

class RecordingDialog : public CDialog {
public:
    RecordingDialog() : CDialog(kTemplateId) { AfxRegisterDialogTemplate(kTemplate); }
    bool OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) override {
        if (message == WM_COMMAND)
            log.push_back(std::to_string(LOWORD(wParam)) + ":" + std::to_string(HIWORD(wParam)));
        return CDialog::OnWndMsg(message, wParam, lParam, pResult);
    }
    Log log;
};

std::string N(int id, int code) { return std::to_string(id) + ":" + std::to_string(code); }

struct Row {
    const char* what;
    std::function<void(HWND)> act;  // given the dialog
    Log expected;
};

HWND Item(HWND hDlg, int id) { return GetDlgItem(hDlg, id); }

const std::vector<Row>& Rows() {
    static const std::vector<Row> rows = {
        {"typing notifies per character",
         [](HWND d) { driver::TypeText(Item(d, kEdit), "ab"); },
         {N(kEdit, EN_UPDATE), N(kEdit, EN_CHANGE), N(kEdit, EN_UPDATE), N(kEdit, EN_CHANGE)}},
        {"WM_SETTEXT notifies",
         [](HWND d) { SetWindowTextA(Item(d, kEdit), "x"); },
         {N(kEdit, EN_UPDATE), N(kEdit, EN_CHANGE)}},
        {"WM_SETTEXT of the same text notifies again",
         [](HWND d) {
             SetWindowTextA(Item(d, kEdit), "x");
             SetWindowTextA(Item(d, kEdit), "x");
         },
         {N(kEdit, EN_UPDATE), N(kEdit, EN_CHANGE), N(kEdit, EN_UPDATE), N(kEdit, EN_CHANGE)}},
        {"backspace on an empty edit", [](HWND d) { driver::TypeText(Item(d, kEdit), "\b"); }, {}},
        {"typing into a read-only edit", [](HWND d) { driver::TypeText(Item(d, kReadOnly), "zz"); }, {}},
        {"EM_SETSEL", [](HWND d) { SendMessageA(Item(d, kEdit), EM_SETSEL, 0, -1); }, {}},
        {"focus into an edit", [](HWND d) { SetFocus(Item(d, kEdit)); }, {N(kEdit, EN_SETFOCUS)}},
        {"focus from edit to edit",
         [](HWND d) {
             SetFocus(Item(d, kEdit));
             SetFocus(Item(d, kOtherEdit));
         },
         {N(kEdit, EN_SETFOCUS), N(kEdit, EN_KILLFOCUS), N(kOtherEdit, EN_SETFOCUS)}},
        {"focus to the edit that has it",
         [](HWND d) {
             SetFocus(Item(d, kEdit));
             SetFocus(Item(d, kEdit));
         },
         {N(kEdit, EN_SETFOCUS)}},
        {"BM_CLICK on a check box", [](HWND d) { driver::Click(Item(d, kCheck)); }, {N(kCheck, BN_CLICKED)}},
        {"BM_SETCHECK", [](HWND d) { SendMessageA(Item(d, kCheck), BM_SETCHECK, BST_CHECKED, 0); }, {}},
        {"CB_INSERTSTRING and CB_SETCURSEL",
         [](HWND d) {
             SendMessageA(Item(d, kCombo), CB_INSERTSTRING, 0, 1);
             SendMessageA(Item(d, kCombo), CB_SETCURSEL, 0, 0);
         },
         {}},
        {"WM_SETTEXT on a static", [](HWND d) { SetWindowTextA(Item(d, kLabel), "other"); }, {}},
    };
    return rows;
}

TEST(FrameworkControls, NotificationsPerMessage) {
    driver::RecordingProviders providers;
    for (const Row& row : Rows()) {
        RecordingDialog dlg;
        ASSERT_TRUE(dlg.Create(kTemplateId));
        dlg.ShowWindow(SW_SHOW);
        SetFocus(nullptr);
        driver::PumpMessages();
        dlg.log.clear();
        row.act(dlg.m_hWnd);
        EXPECT_EQ(dlg.log, row.expected) << row.what;
    }
    AfxDeleteTempMap();
}

TEST(FrameworkControls, StateAfterMessages) {
    RecordingDialog dlg;
    ASSERT_TRUE(dlg.Create(kTemplateId));
    const HWND d = dlg.m_hWnd;
    driver::TypeText(Item(d, kEdit), "7.5");
    EXPECT_EQ(driver::Text(Item(d, kEdit)), "7.5");
    driver::TypeText(Item(d, kEdit), "\b\b");
    EXPECT_EQ(driver::Text(Item(d, kEdit)), "")
        << "typing replaces the selection, backspace then has nothing left";
    driver::TypeText(Item(d, kReadOnly), "zz");
    EXPECT_EQ(driver::Text(Item(d, kReadOnly)), "fixed");
    driver::Click(Item(d, kCheck));
    EXPECT_TRUE(driver::IsChecked(Item(d, kCheck)));
    driver::Click(Item(d, kCheck));
    EXPECT_FALSE(driver::IsChecked(Item(d, kCheck)));
    AfxDeleteTempMap();
}

}  // namespace
