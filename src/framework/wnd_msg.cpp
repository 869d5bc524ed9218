// CWnd message routing: the message map walk and Default().
#include "afx.h"
#include "backend.h"

const AFX_MSGMAP* CWnd::GetThisMessageMap() {
    static const AFX_MSGMAP_ENTRY entries[] = {{0, 0, 0, 0, nullptr}};
    static const AFX_MSGMAP messageMap = {nullptr, &entries[0]};
    return &messageMap;
}

const AFX_MSGMAP* CWnd::GetMessageMap() const { return GetThisMessageMap(); }

namespace {

bool Matches(const AFX_MSGMAP_ENTRY& entry, UINT message, WPARAM wParam) {
    if (entry.nMessage != message) return false;
    if (message != WM_COMMAND) return true;
    const UINT id = LOWORD(wParam);
    return HIWORD(wParam) == entry.nCode && entry.nID <= id && id <= entry.nLastID;
}

const AFX_MSGMAP_ENTRY* FindEntry(const AFX_MSGMAP* map, UINT message, WPARAM wParam) {
    for (; map; map = map->pfnGetBaseMap ? map->pfnGetBaseMap() : nullptr) {
        for (const AFX_MSGMAP_ENTRY* entry = map->lpEntries; entry && entry->pfn; ++entry) {
            if (Matches(*entry, message, wParam)) return entry;
        }
    }
    return nullptr;
}

}  // namespace

bool CWnd::OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) {
    // A number edit changed by anyone but the exchange holds the user's text now.
    if (message == WM_COMMAND && HIWORD(wParam) == EN_CHANGE) {
        HWND hEdit = reinterpret_cast<HWND>(lParam);
        if (hEdit != m_hWndNumberBeingWritten) m_writtenNumbers.erase(hEdit);
    }
    const AFX_MSGMAP_ENTRY* entry = FindEntry(GetMessageMap(), message, wParam);
    if (!entry) return false;
    // Handlers re-enter through synchronous notifications: keep the outer
    // message's Default() request apart from this one.
    const bool outerDefault = m_bDefaultRequested;
    m_bDefaultRequested = false;
    const LRESULT result = entry->pfn(this, wParam, lParam);
    const bool handled = !m_bDefaultRequested;
    m_bDefaultRequested = outerDefault;
    if (pResult) *pResult = handled ? result : 0;
    return handled;
}

bool CWnd::RouteMessage(CWnd* wnd, UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) {
    wnd->BeginHandling();
    const bool handled = wnd->OnWndMsg(message, wParam, lParam, pResult);
    wnd->EndHandling();
    return handled;
}

void CWnd::EndHandling() {
    if (--m_nHandling == 0 && m_bDeletePending) delete this;
}

void CWnd::DeleteWhenIdle() {
    if (m_nHandling > 0) {
        m_bDeletePending = true;
        return;
    }
    delete this;
}

LRESULT CWnd::Default() {
    m_bDefaultRequested = true;
    return 0;
}

void CWnd::OnDrawItem(int /*nIDCtl*/, LPDRAWITEMSTRUCT /*lpDrawItemStruct*/) { Default(); }

BOOL CWnd::PreTranslateMessage(MSG* /*pMsg*/) { return FALSE; }

void CWnd::OnSysCommand(UINT /*nID*/, LPARAM /*lParam*/) { Default(); }

void CWnd::OnContextMenu(CWnd* /*pWnd*/, CPoint /*point*/) { Default(); }

BOOL AfxPreTranslateDialogMessage(HWND dialog, MSG* msg) {
    CWnd* wnd = CWnd::FromHandlePermanent(dialog);
    return wnd && msg && msg->message >= WM_KEYFIRST && msg->message <= WM_KEYLAST
               ? wnd->PreTranslateMessage(msg)
               : FALSE;
}
