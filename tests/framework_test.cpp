// The framework layer through a test dialog over a template of its own: the
// notifications each control message raises (the portable controls and the
// real ones must agree), message routing, data exchange, the combo box with
// its owner drawing, and dialog units. Links the framework alone.
#include <gtest/gtest.h>

#include <algorithm>
#include <cfloat>
#include <climits>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <iterator>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "framework/afx.h"
#include "framework/dialog_template.h"
#include "support/driver.h"
#if !defined(_WIN32)
#include "framework/portable/portable_testing.h"
#endif

namespace {

constexpr uint32_t kChildStyle = WS_CHILD | WS_VISIBLE;
constexpr uint32_t kEditStyle = kChildStyle | WS_BORDER | WS_TABSTOP | ES_AUTOHSCROLL;
constexpr uint32_t kCheckStyle = kChildStyle | WS_TABSTOP | BS_AUTOCHECKBOX;
constexpr uint32_t kComboStyle =
    kChildStyle | WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWNLIST | CBS_OWNERDRAWFIXED | CBS_SORT;

// Control ids of the test template: edits A..C are the id range the map
// routes; the read-only and the count edit lie outside it.
constexpr int kTemplateId = 100;
enum : int { kLabel = 1000, kEditA, kEditB, kEditC, kReadOnly, kCount, kCombo, kCheckA, kCheckB };

constexpr DialogControl kControls[] = {
    {kLabel, ControlClass::Static, kChildStyle | SS_CENTER, 2, 7, 261, 18, ""},
    {kEditA, ControlClass::Edit, kEditStyle, 96, 53, 52, 12, ""},
    {kEditB, ControlClass::Edit, kEditStyle, 96, 38, 52, 12, ""},
    {kEditC, ControlClass::Edit, kEditStyle, 156, 38, 52, 12, ""},
    {kCombo, ControlClass::ComboBox, kComboStyle, 171, 289, 92, 150, ""},
    {kCheckA, ControlClass::Button, kCheckStyle, 77, 288, 37, 13, "A"},
    {kCheckB, ControlClass::Button, kCheckStyle, 120, 290, 44, 11, "B"},
    {kReadOnly, ControlClass::Edit, kChildStyle | ES_READONLY, 96, 68, 52, 12, "fixed"},
    {kCount, ControlClass::Edit, kEditStyle, 45, 288, 27, 12, ""},
};
constexpr uint32_t kDialogStyle = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_SHELLFONT;
const DialogTemplate kTemplate = {kTemplateId, kDialogStyle,     268,
                                  308,         "Framework Test", "MS Shell Dlg",
                                  8,           kControls,        int(std::size(kControls))};

using Command = std::pair<int, int>;  // control id, notification code

// The pixels of the DIB the combo box's item draws, 0x00RRGGBB, top row first.
constexpr uint32_t kDibColors[2][3] = {{0xFF0000, 0x00FF00, 0x0000FF}, {0x0A141E, 0xC86432, 0x010203}};

class TestDialog : public CDialog {
public:
    TestDialog() : CDialog(kTemplateId) { AfxRegisterDialogTemplate(kTemplate); }

    double m_dMax = 12.5;
    double m_dMin = 0.25;
    int m_bNotify = 1;
    CString m_strName = "alpha";
    int m_nCount = 256;
    int m_bLog = 0;
    CComboBox m_combo;

    std::vector<Command> commands;  // routed by the message map
    std::vector<Command> seen;      // every WM_COMMAND that reached the dialog
    DRAWITEMSTRUCT lastItem{};      // of the combo box

    void DoDataExchange(CDataExchange* pDX) override {
        DDX_Text(pDX, kEditA, m_dMax);
        DDX_Text(pDX, kEditB, m_dMin);
        DDX_Control(pDX, kCombo, m_combo);
        DDX_Check(pDX, kCheckA, m_bNotify);
        DDX_Text(pDX, kLabel, m_strName);
        DDX_Text(pDX, kCount, m_nCount);
        DDV_MinMaxInt(pDX, m_nCount, 256, 10240);
        DDX_Check(pDX, kCheckB, m_bLog);
    }

    void Record(WPARAM wParam) { commands.push_back({LOWORD(wParam), HIWORD(wParam)}); }
    bool OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) override {
        if (message == WM_COMMAND) seen.push_back({LOWORD(wParam), HIWORD(wParam)});
        return CDialog::OnWndMsg(message, wParam, lParam, pResult);
    }
    // As the product's scheme list draws: a fill, the DIB as it is and
    // stretched three times across and twice down, then transparent text.
    void OnDrawItem(int nIDCtl, LPDRAWITEMSTRUCT item) override {
        if (nIDCtl != kCombo) return CWnd::OnDrawItem(nIDCtl, item);
        lastItem = *item;
        CDC* dc = CDC::FromHandle(item->hDC);
        const RECT& r = item->rcItem;
        dc->FillSolidRect(&r, RGB(10, 200, 30));
        // kDibColors as a 3 x 2 bottom-up 24-bit DIB: blue, green, red per
        // pixel, each row padded to 4 bytes.
        BITMAPINFO info{};
        info.bmiHeader = {sizeof info.bmiHeader, 3, 2, 1, 24, BI_RGB, 0, 0, 0, 0, 0};
        static const uint8_t bits[24] = {30, 20, 10,  50, 100, 200, 3,   2, 1, 0xEE, 0xEE, 0xEE,
                                         0,  0,  255, 0,  255, 0,   255, 0, 0, 0xEE, 0xEE, 0xEE};
        SetDIBitsToDevice(item->hDC, r.left + 2, r.top + 1, 3, 2, 0, 0, 0, 2, bits, &info, DIB_RGB_COLORS);
        StretchDIBits(item->hDC, r.left + 8, r.top + 1, 9, 4, 0, 0, 3, 2, bits, &info, DIB_RGB_COLORS,
                      SRCCOPY);
        dc->SetTextColor(RGB(0, 0, 128));
        dc->SetBkColor(RGB(255, 255, 0));
        dc->SetBkMode(TRANSPARENT);
        dc->TextOut(r.left + 20, r.top, "H", 1);
    }

    DECLARE_MESSAGE_MAP()
};

// Records each command of `code` from the controls `first` ... `last`.
#define ON_RECORD_RANGE(code, first, last)                                        \
    { WM_COMMAND, code, first, last, AFX_THUNK(pThis->Record(wParam); return 0) } \
    ,
BEGIN_MESSAGE_MAP(TestDialog, CDialog)
ON_RECORD_RANGE(EN_CHANGE, kEditA, kEditC)
ON_WM_DRAWITEM()
END_MESSAGE_MAP()

class FrameworkTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dlg.Create(kTemplateId));
        hDlg = dlg.m_hWnd;
        ShowWindow(hDlg, SW_SHOW);
        driver::PumpMessages();
        dlg.commands.clear();
        dlg.seen.clear();
    }
    void TearDown() override { AfxDeleteTempMap(); }

    HWND Item(int id) const { return GetDlgItem(hDlg, id); }

    driver::RecordingProviders providers;
    TestDialog dlg;
    HWND hDlg = nullptr;
};

// For each sequence of control messages, the notifications the parent gets.
// (Setting a check, selecting text or a combo item raise none: the tests of
// data exchange and of the combo box see every notification the map routes.)
TEST(FrameworkControls, NotificationsPerMessage) {
    using Step = std::function<void(HWND)>;
    auto type = [](int id, const char* text) -> Step {
        return [=](HWND d) { driver::TypeText(GetDlgItem(d, id), text); };
    };
    auto click = [](int id) -> Step { return [=](HWND d) { driver::Click(GetDlgItem(d, id)); }; };
    auto focus = [](int id) -> Step { return [=](HWND d) { SetFocus(GetDlgItem(d, id)); }; };
    auto setText = [](int id) -> Step { return [=](HWND d) { SetWindowTextA(GetDlgItem(d, id), "x"); }; };
    const Command update{kEditA, EN_UPDATE}, change{kEditA, EN_CHANGE};
    const std::vector<Command> twice = {update, change, update, change};
    const struct {
        const char* what;
        std::vector<Step> steps;
        std::vector<Command> expected;
    } rows[] = {
        {"typing notifies per character", {type(kEditA, "ab")}, twice},
        {"WM_SETTEXT of the same text notifies again", {setText(kEditA), setText(kEditA)}, twice},
        {"backspace on an empty edit", {type(kEditC, "\b")}, {}},
        {"typing into a read-only edit", {type(kReadOnly, "zz")}, {}},
        {"focus from edit to edit",
         {focus(kEditA), focus(kEditB)},
         {{kEditA, EN_SETFOCUS}, {kEditA, EN_KILLFOCUS}, {kEditB, EN_SETFOCUS}}},
        {"focus to the edit that has it", {focus(kEditA), focus(kEditA)}, {{kEditA, EN_SETFOCUS}}},
        {"BM_CLICK on a check box", {click(kCheckA)}, {{kCheckA, BN_CLICKED}}},
        {"WM_SETTEXT on a static", {setText(kLabel)}, {}},
    };
    driver::RecordingProviders providers;
    for (const auto& row : rows) {
        TestDialog dlg;
        ASSERT_TRUE(dlg.Create(kTemplateId));
        dlg.ShowWindow(SW_SHOW);
        SetFocus(nullptr);
        driver::PumpMessages();
        dlg.seen.clear();
        for (const Step& step : row.steps) step(dlg.m_hWnd);
        EXPECT_EQ(dlg.seen, row.expected) << row.what;
        EXPECT_EQ(driver::Text(GetDlgItem(dlg.m_hWnd, kReadOnly)), "fixed") << row.what;
    }
    AfxDeleteTempMap();
}

// A load writes only the edits whose text changes, and only they notify;
// setting a check does not notify; a string grows as it is formatted and is
// exchanged whole; the map routes a command by its code and id range;
// without a window nothing is exchanged.
TEST_F(FrameworkTest, LoadsWriteOnlyChangedEditsAndCommandsRoute) {
    EXPECT_TRUE(dlg.UpdateData(FALSE) && dlg.seen.empty());
    dlg.m_dMin = 3.0;
    dlg.m_bNotify = 0;
    const std::string name = std::string(300, 'x') + "-42!";
    dlg.m_strName.Format("%s-%d", std::string(300, 'x').c_str(), 42);
    dlg.m_strName += "!";
    ASSERT_TRUE(dlg.UpdateData(FALSE));
    EXPECT_EQ(dlg.seen, (std::vector<Command>{{kEditB, EN_UPDATE}, {kEditB, EN_CHANGE}}));
    EXPECT_EQ(
        std::tuple(driver::Text(Item(kEditB)), driver::Text(Item(kLabel)), driver::IsChecked(Item(kCheckA))),
        std::tuple("3", name, false));
    driver::Click(Item(kCheckB));
    ASSERT_TRUE(dlg.UpdateData(TRUE));
    EXPECT_EQ(std::tuple(dlg.m_bLog, std::string(dlg.m_strName.GetString())), std::tuple(1, name));
    // Just before the range, its first and last ids, just after it; then another code.
    for (const int id : {kLabel, kEditA, kEditC, kReadOnly})
        SendMessageA(hDlg, WM_COMMAND, MAKEWPARAM(id, EN_CHANGE), reinterpret_cast<LPARAM>(Item(id)));
    SendMessageA(hDlg, WM_COMMAND, MAKEWPARAM(kEditB, EN_UPDATE), reinterpret_cast<LPARAM>(Item(kEditB)));
    EXPECT_EQ(dlg.commands,
              (std::vector<Command>{{kEditB, EN_CHANGE}, {kEditA, EN_CHANGE}, {kEditC, EN_CHANGE}}));
    TestDialog unmade;
    EXPECT_FALSE(unmade.UpdateData(FALSE) || unmade.UpdateData(TRUE));
}

TEST_F(FrameworkTest, NumbersReadBackExactlyOrStopTheExchangeAtTheirControl) {
    // A written value reads back exactly while its text is unchanged, and the
    // text is at most 7 significant digits, fewer where the edit has no room
    // for them (null: as many as there is room for); every text is one the
    // exchange itself accepts.
    const std::pair<double, const char*> written[] = {{1587.1999999999998, "1587.2"},
                                                      {1.0 / 3.0, "0.3333333"},
                                                      {77.375565610859731, "77.37557"},
                                                      {332.99999999999994, "333"},
                                                      {-2.5e-300, "-2.5e-300"},
                                                      {DBL_MAX, nullptr},
                                                      {-DBL_MAX, nullptr}};
    RECT client, unit = {0, 0, 4, 8};
    GetClientRect(Item(kEditA), &client);
    MapDialogRect(hDlg, &unit);
    for (const auto& [value, expected] : written) {
        dlg.m_dMax = value;
        ASSERT_TRUE(dlg.UpdateData(FALSE));
        const std::string text = driver::Text(Item(kEditA));
        EXPECT_TRUE(!expected || text == expected) << text;
        EXPECT_LE(static_cast<LONG>(text.size()) * unit.right, client.right - 4) << text;  // never clipped
        dlg.m_dMax = 42.0;
        EXPECT_TRUE(dlg.UpdateData(TRUE) && dlg.m_dMax == value) << text;
        // The same text typed by the user is read as typed.
        driver::TypeText(Item(kEditA), text.c_str());
        EXPECT_TRUE(dlg.UpdateData(TRUE) && dlg.m_dMax == std::strtod(text.c_str(), nullptr)) << text;
    }
    // Numbers may have spaces around them.
    SetWindowTextA(Item(kEditA), "  42.5 ");
    SetWindowTextA(Item(kCount), " 300 ");
    EXPECT_TRUE(dlg.UpdateData(TRUE) && dlg.m_dMax == 42.5 && dlg.m_nCount == 300);

    // A failure names its control, selects its text and stops the exchange:
    // the fields after it keep their values.
    const char* const number = "Please enter a number.";
    const std::tuple<int, const char*, const char*> failures[] = {
        {kEditA, "abc", number},
        {kEditA, "12x", number},
        {kEditA, " ", number},
        {kEditA, "1e999", number},
        {kEditA, "nan", number},
        {kCount, "3.5", "Please enter an integer."},
        {kCount, "100", "Please enter an integer between 256 and 10240."}};
    for (const auto& [id, text, message] : failures) {
        providers.boxes.clear();
        dlg.m_dMin = 2.0;
        dlg.m_bLog = 0;
        SetWindowTextA(Item(kEditA), "5");
        SetWindowTextA(Item(id), text);
        SetWindowTextA(Item(kEditB), "9");
        driver::Click(Item(kCheckB));
        EXPECT_FALSE(dlg.UpdateData(TRUE)) << text;
        DWORD start = 1, end = 0;
        SendMessageA(Item(id), EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
        // Edit B is read after edit A and before the count; check B after both.
        EXPECT_EQ(std::tuple(dlg.m_dMin, dlg.m_bLog, providers.boxes, GetFocus(), start, end),
                  std::tuple(id == kEditA ? 2.0 : 9.0, 0, std::vector<std::string>{message}, Item(id), 0u,
                             DWORD(std::strlen(text))))
            << text;
        driver::Click(Item(kCheckB));
    }
    EXPECT_EQ(dlg.m_nCount, 100);    // read, then refused
    dlg.m_nCount = -2147483647 - 1;  // a range is checked on reading only
    EXPECT_EQ((std::tuple{dlg.UpdateData(FALSE), driver::Text(Item(kCount))}),
              (std::tuple{TRUE, "-2147483648"}));
}

// Items keep their data where they are inserted; only a pick by the user
// notifies; the parent's drawing of the selection reaches the closed field.
TEST_F(FrameworkTest, ComboBoxItemsSelectionAndDrawing) {
    HWND hCombo = Item(kCombo);
    CComboBox& combo = dlg.m_combo;
    ASSERT_TRUE(dlg.UpdateData(TRUE));
    EXPECT_EQ(std::tuple(combo.m_hWnd, dlg.GetDlgItem(kCombo)), std::tuple(hCombo, &combo));  // bound once
    const std::tuple<int, UINT_PTR, int> adds[] = {{-1, 100, 0}, {-1, 300, 1}, {1, 200, 1}, {9, 900, CB_ERR}};
    for (const auto& [at, data, index] : adds)
        EXPECT_EQ(combo.InsertString(at, reinterpret_cast<const char*>(data)), index) << data;
    // Braces: evaluated in order. What an invalid selection leaves differs between systems.
    EXPECT_EQ((std::tuple{combo.GetCount(), combo.GetItemData(1), combo.GetItemData(2), combo.GetItemData(3),
                          combo.GetCurSel(), combo.SetCurSel(2), combo.SetCurSel(5)}),
              (std::tuple{3, UINT_PTR{200}, UINT_PTR{300}, UINT_PTR(CB_ERR), CB_ERR, 2, CB_ERR}));
    driver::PickItem(hCombo, 1);
    EXPECT_EQ(std::tuple(combo.GetCurSel(), dlg.seen),
              std::tuple(1, std::vector<Command>{{kCombo, CBN_SELCHANGE}}));
    InvalidateRect(hCombo, nullptr, TRUE);
    driver::PumpMessages();
    const DRAWITEMSTRUCT& item = dlg.lastItem;
    EXPECT_EQ(std::tuple(item.CtlType, item.CtlID, item.itemID, item.itemData, item.hwndItem,
                         item.itemState & ODS_COMBOBOXEDIT),
              std::tuple(UINT{ODT_COMBOBOX}, UINT{kCombo}, 1u, decltype(item.itemData){200}, hCombo,
                         UINT{ODS_COMBOBOXEDIT}));
    const driver::Capture capture = driver::CaptureClient(hCombo);
    const RECT& r = item.rcItem;
    ASSERT_TRUE(capture.width >= r.right && capture.height >= r.bottom && r.bottom - r.top >= 6);
    EXPECT_EQ(capture.At((r.left + r.right) / 2, (r.top + r.bottom) / 2), 0x0AC81Eu);  // the fill
    for (int y = 0; y < 4; ++y) {
        for (int x = 0; x < 9; ++x) {
            EXPECT_TRUE(x >= 3 || y >= 2 || capture.At(r.left + 2 + x, r.top + 1 + y) == kDibColors[y][x])
                << x << "," << y;
            EXPECT_EQ(capture.At(r.left + 8 + x, r.top + 1 + y), kDibColors[y / 2][x / 3]) << x << "," << y;
        }
    }
    // The text is drawn in its colour, without its background.
    EXPECT_EQ(std::tuple(std::ranges::count(capture.pixels, 0x000080u) > 0,
                         std::ranges::count(capture.pixels, 0xFFFF00u)),
              std::tuple(true, 0));
}

// Each control, and the client area, at its template rectangle in pixels:
// origin and size converted each on their own with the dialog's base units,
// rounded as MulDiv rounds, which is Win32's: the product in 64 bits, halves
// away from zero, -1 for a zero divisor or an overflow.
TEST_F(FrameworkTest, DialogUnitsBecomePixels) {
    const std::tuple<int, int, int, int> mulDiv[] = {
        {5, 1, 2, 3},        {-5, 1, 2, -3}, {5, 1, -2, -3},
        {7, 3, 2, 11},       {10, 7, 4, 18}, {INT_MAX, INT_MAX, INT_MAX, INT_MAX},
        {INT_MAX, 2, 1, -1}, {1, 1, 0, -1}};
    for (const auto& [a, b, c, expected] : mulDiv)
        EXPECT_EQ(MulDiv(a, b, c), expected) << a << " * " << b << " / " << c;
    RECT unit = {0, 0, 4, 8};  // exactly the base units, however MulDiv rounds
    MapDialogRect(hDlg, &unit);
    const double baseX = unit.right, baseY = unit.bottom;
#if !defined(_WIN32)
    // The base units are the font's: the average width of the 52 Latin letters, and its height.
    CClientDC dc(&dlg);
    SIZE letters{};
    TEXTMETRIC metrics{};
    GetTextExtentPoint32A(dc.m_hDC, "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz", 52, &letters);
    dc.GetTextMetrics(&metrics);
    EXPECT_EQ(std::tuple(unit.right, unit.bottom), std::tuple((letters.cx / 26 + 1) / 2, metrics.tmHeight));
#endif
    const auto pixels = [&](const RECT& units) {
        const auto x = [&](LONG v) { return static_cast<LONG>(std::lround(v * baseX / 4)); };
        const auto y = [&](LONG v) { return static_cast<LONG>(std::lround(v * baseY / 8)); };
        return std::tuple(x(units.left), y(units.top), x(units.left) + x(units.right),
                          y(units.top) + y(units.bottom));
    };
    const auto mapped = [&](const RECT& units) {
        RECT r = units;
        MapDialogRect(hDlg, &r);
        return std::tuple(r.left, r.top, r.left + r.right, r.top + r.bottom);
    };
    for (const DialogControl& c : kControls) {
        const RECT units = {c.x, c.y, c.cx, c.cy};
        EXPECT_EQ(mapped(units), pixels(units)) << c.id;
        if (c.kind == ControlClass::ComboBox) continue;  // its height is the open list's
        RECT r;
        GetWindowRect(Item(c.id), &r);
        POINT p[2] = {{r.left, r.top}, {r.right, r.bottom}};
        for (POINT& q : p) ScreenToClient(hDlg, &q);
        EXPECT_EQ(std::tuple(p[0].x, p[0].y, p[1].x, p[1].y), pixels(units)) << c.id;
    }
    RECT client;
    dlg.GetClientRect(&client);
    EXPECT_EQ(std::tuple(client.left, client.top, client.right, client.bottom), pixels({0, 0, 268, 308}));
}

// A dialog that takes Ctrl keys before its controls and records context
// menus and system commands.
class ShortcutDialog : public TestDialog {
public:
    std::vector<std::pair<HWND, WPARAM>> taken;
    std::vector<std::tuple<HWND, LONG, LONG>> contextMenus;
    std::vector<UINT> sysCommands;
    BOOL PreTranslateMessage(MSG* pMsg) override {
        if (pMsg->message != WM_KEYDOWN || !(GetKeyState(VK_CONTROL) & 0x8000)) return FALSE;
        taken.push_back({pMsg->hwnd, pMsg->wParam});
        return TRUE;
    }
    void OnContextMenu(CWnd* pWnd, CPoint point) { contextMenus.push_back({pWnd->m_hWnd, point.x, point.y}); }
    void OnSysCommand(UINT nID, LPARAM lParam) {
        if (nID == 0x0010) return sysCommands.push_back(nID);
        CWnd::OnSysCommand(nID, lParam);
    }
    DECLARE_MESSAGE_MAP()
};
BEGIN_MESSAGE_MAP(ShortcutDialog, TestDialog)
ON_WM_CONTEXTMENU()
ON_WM_SYSCOMMAND()
END_MESSAGE_MAP()

class ShortcutTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dlg.Create(kTemplateId));
        hDlg = dlg.m_hWnd;
        ShowWindow(hDlg, SW_SHOW);
        driver::PumpMessages();
    }
    void TearDown() override { AfxDeleteTempMap(); }
    HWND Item(int id) const { return GetDlgItem(hDlg, id); }
    driver::RecordingProviders providers;
    ShortcutDialog dlg;
    HWND hDlg = nullptr;
};

// The dialog's pre-translation sees a Ctrl key aimed at its edit before the
// edit does; a key it leaves reaches the edit unchanged.
TEST_F(ShortcutTest, PreTranslationTakesKeysBeforeTheControls) {
    HWND edit = Item(kEditA);
    SetWindowTextA(edit, "abc");
    SetFocus(edit);
    SendMessageA(edit, EM_SETSEL, 0, 0);
    const auto selection = [&] {
        DWORD start = 9, end = 9;
        SendMessageA(edit, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
        return std::pair(start, end);
    };
    driver::Key(edit, WM_KEYDOWN, VK_END, false, true);
    EXPECT_EQ(
        std::tuple(dlg.taken, selection()),
        std::tuple(std::vector<std::pair<HWND, WPARAM>>{{edit, VK_END}}, std::pair(DWORD{0}, DWORD{0})));
    driver::Key(edit, WM_KEYDOWN, VK_END);
    EXPECT_EQ(std::tuple(dlg.taken.size(), selection()),
              std::tuple(size_t{1}, std::pair(DWORD{3}, DWORD{3})));
}

#if !defined(_WIN32)
// The portable menu is driven offscreen through its answerer; Win32's real
// menus need a desktop's input and are not run here.
struct MenuScript {
    std::vector<UINT> keys;  // delivered while the menu tracks; none: answer with `answer`
    int answer = -1;
    std::vector<portable::PopupMenuItem> seen;
    int height = 0;  // of the menu's pixels, which a desktop shows
    static int Answer(HWND menu, const std::vector<portable::PopupMenuItem>& items, void* context) {
        auto* self = static_cast<MenuScript*>(context);
        self->seen = items;
        int width = 0;
        std::vector<uint32_t> pixels;
        portable::ReadClientPixels(menu, width, self->height, pixels);
        for (UINT key : self->keys) portable::DeliverInput(GetFocus(), WM_KEYDOWN, key, 1);
        return self->answer;
    }
};

// Down and Up pass over separators only, Enter chooses an enabled item,
// Escape and a click outside cancel; without TPM_RETURNCMD the choice arrives as WM_COMMAND.
TEST_F(ShortcutTest, PopupMenuTracksByKeysAndByAnswer) {
    CMenu menu;
    ASSERT_TRUE(menu.CreatePopupMenu());
    menu.AppendMenu(MF_STRING, 1, "&One");
    menu.AppendMenu(MF_SEPARATOR);
    menu.AppendMenu(MF_STRING | MF_GRAYED, 2, "Two");
    menu.AppendMenu(MF_STRING, 3, "Three\tCtrl+T");
    EXPECT_EQ(menu.TrackPopupMenu(TPM_RETURNCMD | TPM_NONOTIFY, 10, 10, &dlg), 0);  // offscreen: cancelled
    const std::pair<std::vector<UINT>, int> runs[] = {
        {{VK_DOWN, VK_DOWN, VK_DOWN, VK_RETURN}, 3},
        {{VK_DOWN, VK_DOWN, VK_RETURN}, 0},  // greyed: stays open
        {{VK_DOWN, VK_DOWN, VK_DOWN, VK_DOWN, VK_RETURN}, 1},
        {{VK_UP, VK_RETURN}, 3},
        {{VK_DOWN, VK_ESCAPE}, 0},
        {{VK_RETURN}, 0}};
    for (const auto& [keys, expected] : runs) {
        MenuScript script{keys, -1, {}};
        portable::SetPopupMenuAnswerer(&MenuScript::Answer, &script);
        EXPECT_EQ(menu.TrackPopupMenu(TPM_RETURNCMD | TPM_NONOTIFY, 10, 10, &dlg), expected) << keys.size();
        EXPECT_EQ(script.seen.size(), 4u);
        EXPECT_GT(script.height, 3 * 8) << "three rows and a separator";
    }
    MenuScript script{{}, 3, {}};
    portable::SetPopupMenuAnswerer(&MenuScript::Answer, &script);
    dlg.seen.clear();
    EXPECT_TRUE(menu.TrackPopupMenu(0, 10, 10, &dlg));
    driver::PumpMessages();
    portable::SetPopupMenuAnswerer(nullptr, nullptr);
    EXPECT_EQ(dlg.seen, (std::vector<Command>{{3, 0}}));
    EXPECT_EQ(
        std::tuple(script.seen[2].text, script.seen[2].id, script.seen[2].grayed, script.seen[1].separator),
        std::tuple("Two", 2u, true, true));
}

// Shift+F10 and the menu key ask the dialog for a context menu with the
// point -1, -1, except from an edit; a right click asks on button up with
// the screen point, as Win32's default processing does.
TEST_F(ShortcutTest, ContextMenuFromKeysAndSystemMenuCommand) {
    driver::Key(Item(kCheckA), WM_SYSKEYDOWN, VK_F10, true);
    driver::Key(Item(kCheckA), WM_SYSKEYDOWN, VK_F10);
    driver::Key(Item(kCheckB), WM_KEYUP, VK_APPS);
    driver::Key(Item(kEditA), WM_SYSKEYDOWN, VK_F10, true);
    driver::Key(Item(kEditA), WM_KEYUP, VK_APPS);
    POINT screen = {5, 6};
    ClientToScreen(hDlg, &screen);
    driver::RightDown(hDlg, 5, 6);
    using Menu = std::tuple<HWND, LONG, LONG>;
    EXPECT_EQ(
        dlg.contextMenus,
        (std::vector<Menu>{{Item(kCheckA), -1, -1}, {Item(kCheckB), -1, -1}, {hDlg, screen.x, screen.y}}));
    // Alt+Space opens the system menu; its custom item comes back as WM_SYSCOMMAND.
    ASSERT_TRUE(AppendMenuA(GetSystemMenu(hDlg, FALSE), MF_STRING, 0x0010, "Custom"));
    MenuScript script{{VK_DOWN, VK_DOWN, VK_RETURN}, -1, {}};
    portable::SetPopupMenuAnswerer(&MenuScript::Answer, &script);
    driver::Key(Item(kEditB), WM_SYSKEYDOWN, VK_SPACE);
    portable::SetPopupMenuAnswerer(nullptr, nullptr);
    EXPECT_EQ(std::tuple(dlg.sysCommands, script.seen.size()), std::tuple(std::vector<UINT>{0x0010}, 2u));
}
#endif

}  // namespace
