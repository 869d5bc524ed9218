// CDC, CPaintDC, CClientDC: device context wrappers, one call each.
#include <new>

#include "afx.h"

BOOL CDC::Attach(HDC hDC) {
    if (!hDC) return FALSE;
    m_hDC = hDC;
    return TRUE;
}

HDC CDC::Detach() {
    HDC hDC = m_hDC;
    m_hDC = nullptr;
    return hDC;
}

// One wrapper per thread, built in place and never destroyed: a CDC owns
// nothing, and a thread_local with a destructor would keep the DLL loaded for
// as long as the thread lives.
CDC* CDC::FromHandle(HDC hDC) {
    if (!hDC) return nullptr;
    alignas(CDC) thread_local unsigned char storage[sizeof(CDC)];
    thread_local CDC* temporary = nullptr;
    if (!temporary) temporary = new (storage) CDC;
    temporary->m_hDC = hDC;
    return temporary;
}

BOOL CDC::TextOut(int x, int y, const char* text, int count) { return ::TextOutA(m_hDC, x, y, text, count); }

BOOL CDC::GetTextMetrics(LPTEXTMETRIC metrics) const { return ::GetTextMetricsA(m_hDC, metrics); }

COLORREF CDC::GetTextColor() const { return ::GetTextColor(m_hDC); }

COLORREF CDC::SetTextColor(COLORREF color) { return ::SetTextColor(m_hDC, color); }

COLORREF CDC::GetBkColor() const { return ::GetBkColor(m_hDC); }

COLORREF CDC::SetBkColor(COLORREF color) { return ::SetBkColor(m_hDC, color); }

int CDC::SetBkMode(int mode) { return ::SetBkMode(m_hDC, mode); }

void CDC::FillSolidRect(const RECT* rect, COLORREF color) {
    if (!rect) return;
    HBRUSH brush = ::CreateSolidBrush(color);
    ::FillRect(m_hDC, rect, brush);
    ::DeleteObject(brush);
}

CPaintDC::CPaintDC(CWnd* wnd) : m_hWnd(wnd ? wnd->m_hWnd : nullptr) {
    if (m_hWnd) Attach(::BeginPaint(m_hWnd, &m_ps));
}

CPaintDC::~CPaintDC() {
    if (m_hWnd && m_hDC) ::EndPaint(m_hWnd, &m_ps);
    Detach();
}

CClientDC::CClientDC(CWnd* wnd) : m_hWnd(wnd ? wnd->m_hWnd : nullptr) { Attach(::GetDC(m_hWnd)); }

CClientDC::~CClientDC() {
    if (m_hDC) ::ReleaseDC(m_hWnd, m_hDC);
    Detach();
}
