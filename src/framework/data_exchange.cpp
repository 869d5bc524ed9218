// CDataExchange and the DDX_/DDV_ routines: text, numbers, check boxes and
// control binding, with the framework's messages for unreadable input.
#include <cerrno>
#include <climits>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "afx.h"

namespace {

std::string WindowText(HWND hWnd) {
    const int length = ::GetWindowTextLengthA(hWnd);
    std::string text(static_cast<size_t>(length > 0 ? length : 0) + 1, '\0');
    const int copied = ::GetWindowTextA(hWnd, text.data(), static_cast<int>(text.size()));
    text.resize(static_cast<size_t>(copied > 0 ? copied : 0));
    return text;
}

// Writes a control's text only when it differs, so that an edit raises its
// change notification only for a real change.
void SetTextIfChanged(HWND hWnd, const char* text) {
    if (WindowText(hWnd) != text) ::SetWindowTextA(hWnd, text);
}

bool IsBlank(const char* p) {
    while (*p == ' ' || *p == '\t') ++p;
    return *p == '\0';
}

bool ParseDouble(const std::string& text, double& value) {
    const char* begin = text.c_str();
    if (IsBlank(begin)) return false;
    char* end = nullptr;
    const double parsed = std::strtod(begin, &end);
    // Infinities and NaN are no numbers a field can hold.
    if (end == begin || !IsBlank(end) || !std::isfinite(parsed)) return false;
    value = parsed;
    return true;
}

bool ParseInt(const std::string& text, int& value) {
    const char* begin = text.c_str();
    if (IsBlank(begin)) return false;
    char* end = nullptr;
    errno = 0;
    const long parsed = std::strtol(begin, &end, 10);
    if (end == begin || !IsBlank(end) || errno == ERANGE || parsed < INT_MIN || parsed > INT_MAX)
        return false;
    value = static_cast<int>(parsed);
    return true;
}

void Complain(CDataExchange* pDX, const char* message) {
    AfxMessageBox(message, MB_OK | MB_ICONEXCLAMATION);
    pDX->Fail();
}

}  // namespace

CDataExchange::CDataExchange(CWnd* pDlgWnd, BOOL bSaveAndValidate)
    : m_bSaveAndValidate(bSaveAndValidate), m_pDlgWnd(pDlgWnd) {}

HWND CDataExchange::PrepareCtrl(int nIDC) {
    m_hWndLastControl = m_pDlgWnd ? ::GetDlgItem(m_pDlgWnd->m_hWnd, nIDC) : nullptr;
    m_bEditLastControl = false;
    return m_hWndLastControl;
}

HWND CDataExchange::PrepareEditCtrl(int nIDC) {
    HWND hWnd = PrepareCtrl(nIDC);
    m_bEditLastControl = true;
    return hWnd;
}

void CDataExchange::Fail() {
    m_bFailed = true;
    if (!m_hWndLastControl) return;
    ::SetFocus(m_hWndLastControl);
    if (m_bEditLastControl) ::SendMessageA(m_hWndLastControl, EM_SETSEL, 0, -1);
}

void DDX_Text(CDataExchange* pDX, int nIDC, double& value) {
    if (pDX->m_bFailed) return;
    HWND hWnd = pDX->PrepareEditCtrl(nIDC);
    if (!hWnd) return;
    if (pDX->m_bSaveAndValidate) {
        if (!ParseDouble(WindowText(hWnd), value)) Complain(pDX, "Please enter a number.");
        return;
    }
    // 15 significant digits, as many as a double always keeps through text:
    // what a user types reads back exactly, and a computed value such as
    // 1587.1999999999998 shows as 1587.2 instead of filling the edit.
    char text[64];
    std::snprintf(text, sizeof(text), "%.15g", value);
    SetTextIfChanged(hWnd, text);
}

void DDX_Text(CDataExchange* pDX, int nIDC, int& value) {
    if (pDX->m_bFailed) return;
    HWND hWnd = pDX->PrepareEditCtrl(nIDC);
    if (!hWnd) return;
    if (pDX->m_bSaveAndValidate) {
        if (!ParseInt(WindowText(hWnd), value)) Complain(pDX, "Please enter an integer.");
        return;
    }
    char text[16];
    std::snprintf(text, sizeof(text), "%d", value);
    SetTextIfChanged(hWnd, text);
}

void DDX_Text(CDataExchange* pDX, int nIDC, CString& value) {
    if (pDX->m_bFailed) return;
    HWND hWnd = pDX->PrepareEditCtrl(nIDC);
    if (!hWnd) return;
    if (pDX->m_bSaveAndValidate) {
        value = WindowText(hWnd);
        return;
    }
    SetTextIfChanged(hWnd, value);
}

void DDX_Check(CDataExchange* pDX, int nIDC, int& value) {
    if (pDX->m_bFailed) return;
    HWND hWnd = pDX->PrepareCtrl(nIDC);
    if (!hWnd) return;
    if (pDX->m_bSaveAndValidate) {
        value = static_cast<int>(::SendMessageA(hWnd, BM_GETCHECK, 0, 0));
        return;
    }
    ::SendMessageA(hWnd, BM_SETCHECK, static_cast<WPARAM>(value), 0);
}

void DDX_Control(CDataExchange* pDX, int nIDC, CWnd& rControl) {
    if (pDX->m_bFailed || rControl.m_hWnd) return;
    HWND hWnd = pDX->PrepareCtrl(nIDC);
    if (!hWnd) return;
    // A child object that GetDlgItem made for the control gives way to the bound one.
    CWnd* owner = pDX->m_pDlgWnd;
    if (owner) owner->m_childObjects.erase(hWnd);
    rControl.Attach(hWnd);
}

void DDV_MinMaxInt(CDataExchange* pDX, int value, int minVal, int maxVal) {
    if (pDX->m_bFailed || !pDX->m_bSaveAndValidate) return;
    if (value >= minVal && value <= maxVal) return;
    CString message;
    message.Format("Please enter an integer between %d and %d.", minVal, maxVal);
    Complain(pDX, message);
}
