// The dialog manager: dialogs and their controls from the template data,
// dialog units, the default processing of dialog messages and the dialog's
// keyboard interface.
#include <algorithm>
#include <climits>
#include <cstdlib>

#include "../backend.h"
#include "window_system.h"

using namespace portable;

namespace {

constexpr POINT kTopLevelOrigin = {100, 100};
// A drop-down list's selection field: its item height and a frame of three pixels.
constexpr int kComboFrame = 9;

// The base units are those of the dialog's font: the average width of the
// Latin letters and the height.
SIZE BaseUnits(const Font& font) {
    const FontMetrics& m = MetricsOf(font);
    return {std::max(1, m.baseUnitX), std::max(1, m.height)};
}

// Origin and size are converted each on their own, as the dialog manager does.
RECT DialogUnitsToPixels(const SIZE& units, int x, int y, int cx, int cy) {
    const int left = MulDiv(x, units.cx, 4);
    const int top = MulDiv(y, units.cy, 8);
    return {left, top, left + MulDiv(cx, units.cx, 4), top + MulDiv(cy, units.cy, 8)};
}

struct ControlKind {
    WindowKind kind;
    const char* className;
    WNDPROC proc;
};

ControlKind KindOf(ControlClass cls) {
    const char* name = ControlClassName(cls);
    switch (cls) {
        case ControlClass::Edit:
            return {WindowKind::Edit, name, &EditWindowProc};
        case ControlClass::Button:
            return {WindowKind::Button, name, &ButtonWindowProc};
        case ControlClass::ComboBox:
            return {WindowKind::ComboBox, name, &ComboBoxWindowProc};
        case ControlClass::Static:
        default:
            return {WindowKind::Static, name, &StaticWindowProc};
    }
}

bool IsTabStop(const Window* c) {
    return c && (c->style & WS_TABSTOP) && (c->style & WS_VISIBLE) && !(c->style & WS_DISABLED);
}

// The first visible, enabled tab stop: where a dialog puts the focus.
HWND FirstTabStop(const Window* dialog) {
    for (HWND child : dialog->children) {
        if (IsTabStop(FindWindowRecord(child))) return child;
    }
    return nullptr;
}

Window* CreateFrame(const DialogTemplate& tmpl, HWND parent) {
    const DWORD style = tmpl.style & ~static_cast<DWORD>(WS_VISIBLE | WS_CHILD);
    const Font& font = (tmpl.style & DS_SETFONT) ? FindFont(tmpl.fontName, tmpl.fontPoints) : DefaultFont();
    const RECT client = DialogUnitsToPixels(BaseUnits(font), 0, 0, tmpl.cx, tmpl.cy);
    Window probe;
    probe.style = style;
    const RECT insets = FrameInsets(&probe);
    const RECT rect = {kTopLevelOrigin.x, kTopLevelOrigin.y,
                       kTopLevelOrigin.x + insets.left + client.right + insets.right,
                       kTopLevelOrigin.y + insets.top + client.bottom + insets.bottom};
    Window* dialog = CreateWindowRecord(WindowKind::Dialog, "#32770", style, 0, rect, parent, 0, tmpl.caption,
                                        &DialogWindowProc);
    dialog->font = &font;
    return dialog;
}

void CreateControls(const DialogTemplate& tmpl, HWND hDlg) {
    const SIZE units = BaseUnits(FontOf(FindWindowRecord(hDlg)));
    for (int i = 0; tmpl.controls && i < tmpl.controlCount; ++i) {
        const DialogControl& control = tmpl.controls[i];
        const ControlKind kind = KindOf(control.kind);
        RECT rect = DialogUnitsToPixels(units, control.x, control.y, control.cx, control.cy);
        // A drop-down list shows its selection field; the template height is the list's.
        const int dropHeight = rect.bottom - rect.top;
        if (kind.kind == WindowKind::ComboBox)
            rect.bottom = rect.top + MetricsOf(FontOf(FindWindowRecord(hDlg))).height + kComboFrame;
        Window* created =
            CreateWindowRecord(kind.kind, kind.className, control.style | WS_CHILD, control.exStyle, rect,
                               hDlg, control.id, control.text, kind.proc);
        created->dropHeight = dropHeight;
    }
}

bool ReturnsDirectly(UINT message) {
    return message == WM_INITDIALOG || message == WM_CTLCOLOREDIT || message == WM_CTLCOLORDLG ||
           message == WM_CTLCOLORSTATIC;
}

}  // namespace

HWND BackendCreateDialog(HINSTANCE /*resources*/, const DialogTemplate& tmpl, HWND parent, DLGPROC proc,
                         LPARAM param) {
    System().preTranslate = [](HWND hDlg, MSG* msg) {
        return AfxPreTranslateDialogMessage(hDlg, msg) != FALSE;
    };
    Window* dialog = CreateFrame(tmpl, parent);
    dialog->dialogProc = proc;
    HWND hDlg = dialog->handle;
    CreateControls(tmpl, hDlg);
    const LRESULT defaultFocus =
        SendMessageA(hDlg, WM_INITDIALOG, reinterpret_cast<WPARAM>(FirstTabStop(dialog)), param);
    if (!(dialog = FindWindowRecord(hDlg))) return nullptr;
    if (defaultFocus) {
        if (HWND focus = FirstTabStop(dialog)) {
            const Window* control = FindWindowRecord(focus);
            if (control->kind == WindowKind::Edit) SendMessageA(focus, EM_SETSEL, 0, -1);
            SetFocus(focus);
        }
    }
    if (tmpl.style & WS_VISIBLE) ShowWindow(hDlg, SW_SHOW);
    return IsWindow(hDlg) ? hDlg : nullptr;
}

// The product in 64 bits, the quotient rounded to the nearest integer with
// halves away from zero; -1 for a zero divisor or a quotient beyond 32 bits.
int MulDiv(int nNumber, int nNumerator, int nDenominator) {
    if (nDenominator == 0) return -1;
    const long long product = static_cast<long long>(nNumber) * nNumerator;
    const long long divisor = nDenominator;
    const long long magnitude = (std::llabs(product) + std::llabs(divisor) / 2) / std::llabs(divisor);
    const long long quotient = (product < 0) != (divisor < 0) ? -magnitude : magnitude;
    if (quotient > INT_MAX || quotient < INT_MIN) return -1;
    return static_cast<int>(quotient);
}

BOOL MapDialogRect(HWND hDlg, LPRECT lpRect) {
    const Window* w = FindWindowRecord(hDlg);
    if (!w || w->kind != WindowKind::Dialog || !lpRect) return FALSE;
    const SIZE units = BaseUnits(FontOf(w));
    *lpRect = {MulDiv(lpRect->left, units.cx, 4), MulDiv(lpRect->top, units.cy, 8),
               MulDiv(lpRect->right, units.cx, 4), MulDiv(lpRect->bottom, units.cy, 8)};
    return TRUE;
}

namespace portable {

LRESULT CALLBACK DialogWindowProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam) {
    Window* w = FindWindowRecord(hWnd);
    if (!w) return 0;
    DLGPROC proc = w->dialogProc;
    w->msgResult = 0;
    const INT_PTR handled = proc ? proc(hWnd, message, wParam, lParam) : FALSE;
    if (!(w = FindWindowRecord(hWnd))) return handled;
    if (handled) return ReturnsDirectly(message) ? handled : w->msgResult;
    switch (message) {
        case WM_INITDIALOG:
            return 0;
        case WM_CLOSE:
            // Closing a dialog is cancelling it; the dialog decides what that does.
            PostMessageA(hWnd, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED),
                         reinterpret_cast<LPARAM>(GetDlgItem(hWnd, IDCANCEL)));
            return 0;
        case WM_ERASEBKGND: {
            RECT client;
            GetClientRect(hWnd, &client);
            FillOn(ClientTarget(w), client, GetSysColor(COLOR_3DFACE));
            return 1;
        }
        default:
            return DefWindowProcA(hWnd, message, wParam, lParam);
    }
}

}  // namespace portable

namespace {

// Tab and Shift+Tab: the next or previous tab stop after the focus, round
// the dialog; an edit reached this way has its text selected.
void MoveFocus(Window* dialog, bool backwards) {
    std::vector<HWND> stops;
    for (HWND child : dialog->children) {
        if (IsTabStop(FindWindowRecord(child))) stops.push_back(child);
    }
    if (stops.empty()) return;
    const auto at = std::find(stops.begin(), stops.end(), GetFocus());
    const int count = static_cast<int>(stops.size());
    int index = at == stops.end() ? (backwards ? 0 : -1) : static_cast<int>(at - stops.begin());
    index = ((backwards ? index - 1 : index + 1) % count + count) % count;
    HWND next = stops[static_cast<size_t>(index)];
    if (FindWindowRecord(next)->kind == WindowKind::Edit) SendMessageA(next, EM_SETSEL, 0, -1);
    SetFocus(next);
}

void PressButton(HWND hDlg, int id) {
    SendMessageA(hDlg, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(hDlg, id)));
}

}  // namespace

// The dialog's keyboard interface: Tab, Shift+Tab, Enter (IDOK) and Escape
// (IDCANCEL); every other message for the dialog or its controls is dispatched.
BOOL IsDialogMessageA(HWND hDlg, LPMSG lpMsg) {
    Window* dialog = FindWindowRecord(hDlg);
    const Window* target = lpMsg ? FindWindowRecord(lpMsg->hwnd) : nullptr;
    if (!dialog || dialog->kind != WindowKind::Dialog || !target ||
        TopLevelOf(const_cast<Window*>(target)) != dialog) {
        return FALSE;
    }
    const bool key = lpMsg->message == WM_KEYDOWN || lpMsg->message == WM_CHAR;
    const WPARAM code = lpMsg->wParam;
    // An open drop-down list takes Enter and Escape itself.
    const bool listOpen = target->kind == WindowKind::ComboBox && FindWindowRecord(target->list);
    if (key && !listOpen &&
        (code == VK_TAB || code == VK_RETURN || code == VK_ESCAPE || code == '\r' || code == 0x1B)) {
        if (lpMsg->message == WM_CHAR) return TRUE;  // the key itself has acted
        if (code == VK_TAB) MoveFocus(dialog, (GetKeyState(VK_SHIFT) & 0x8000) != 0);
        if (code == VK_RETURN) PressButton(hDlg, IDOK);
        if (code == VK_ESCAPE) PressButton(hDlg, IDCANCEL);
        return TRUE;
    }
    DispatchMessageA(lpMsg);
    return TRUE;
}

namespace portable {

// The desktop's route for input: keyboard messages go to a tracking menu,
// else through the dialog's pre-translation and keyboard interface.
void RouteInput(MSG& msg) {
    const bool keyboard = msg.message >= WM_KEYFIRST && msg.message <= WM_KEYLAST;
    if (keyboard && FindWindowRecord(System().tracking)) msg.hwnd = System().tracking;
    Window* top = TopLevelOf(FindWindowRecord(msg.hwnd));
    if (top && top->kind == WindowKind::Dialog) {
        if (keyboard && System().preTranslate && System().preTranslate(top->handle, &msg)) return;
        if (IsDialogMessageA(top->handle, &msg)) return;
    }
    DispatchMessageA(&msg);
}

}  // namespace portable

// Hosts of the portable backend deliver input to the window system directly;
// there is no host loop to reach into.
void BackendDialogCreated(HWND /*dialog*/) {}
void BackendDialogEnded(HWND /*dialog*/) {}
