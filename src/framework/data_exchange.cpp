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

// Characters of average width that fit an edit's client area inside its margins.
int MaxChars(HWND hEdit) {
    RECT client{};
    ::GetClientRect(hEdit, &client);
    RECT unit = {0, 0, 4, 8};  // one average character in dialog units
    ::MapDialogRect(::GetParent(hEdit), &unit);
    const int charWidth = unit.right > 0 ? unit.right : 1;
    const int chars = (client.right - client.left - 4) / charWidth;
    return chars > 1 ? chars : 1;
}

// Near the largest double a rounded text can name a number beyond it: its
// last digit then goes one step toward zero ("1.7977e+308" -> "1.7976e+308").
bool StepLastDigitTowardZero(char* text) {
    char* e = std::strchr(text, 'e');
    char* last = e ? e - 1 : text + std::strlen(text) - 1;
    if (last < text || *last < '1' || *last > '9') return false;
    --*last;
    return true;
}

// At most 7 significant digits, fewer until the text fits in `maxChars`;
// every text is one the parser accepts.
std::string ShortNumberText(double value, int maxChars) {
    std::string best;
    for (int digits = 7; digits >= 1; --digits) {
        char text[32];
        std::snprintf(text, sizeof(text), "%.*g", digits, value);
        double parsed = 0;
        if (!ParseDouble(text, parsed) && !(StepLastDigitTowardZero(text) && ParseDouble(text, parsed)))
            continue;
        best = text;
        if (static_cast<int>(best.size()) <= maxChars) break;
    }
    return best;
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
    auto& written = pDX->m_pDlgWnd->m_writtenNumbers;
    if (pDX->m_bSaveAndValidate) {
        const std::string text = WindowText(hWnd);
        const auto it = written.find(hWnd);
        if (it != written.end() && it->second.text == text) {
            value = it->second.value;  // the user has not changed what the program wrote
        } else if (!ParseDouble(text, value)) {
            Complain(pDX, "Please enter a number.");
        }
        return;
    }
    const std::string text = ShortNumberText(value, MaxChars(hWnd));
    written[hWnd] = {text, value};
    CWnd* dlg = pDX->m_pDlgWnd;
    const HWND outer = dlg->m_hWndNumberBeingWritten;
    dlg->m_hWndNumberBeingWritten = hWnd;
    SetTextIfChanged(hWnd, text.c_str());
    dlg->m_hWndNumberBeingWritten = outer;
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
