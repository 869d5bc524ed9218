// CWnd: the permanent and temporary handle maps, attaching, child control
// objects, the one-call wrappers of the Win32 window functions, and the class
// hierarchy queries of CRuntimeClass.
#include <cstring>
#include <unordered_map>

#include "afx.h"

namespace {

// Both maps outlive every static framework object: they are never destroyed.
std::unordered_map<HWND, CWnd*>& PermanentMap() {
    static auto& map = *new std::unordered_map<HWND, CWnd*>;
    return map;
}

std::unordered_map<HWND, std::unique_ptr<CWnd>>& TemporaryMap() {
    static auto& map = *new std::unordered_map<HWND, std::unique_ptr<CWnd>>;
    return map;
}

// A combo box gets a CComboBox so that callers may use it as one.
std::unique_ptr<CWnd> MakeObjectFor(HWND hWnd) {
    char className[32] = {};
    ::GetClassNameA(hWnd, className, static_cast<int>(sizeof(className)));
    if (std::strcmp(className, "ComboBox") == 0) return std::make_unique<CComboBox>();
    return std::make_unique<CWnd>();
}

}  // namespace

const CRuntimeClass CWnd::classCWnd = {"CWnd", sizeof(CWnd), nullptr};

const CRuntimeClass* CWnd::GetRuntimeClass() const { return &classCWnd; }

CWnd::~CWnd() {
    DeleteChildObjects();
    Detach();
}

BOOL CWnd::Attach(HWND hWnd) {
    if (!hWnd || m_hWnd) return FALSE;
    auto& map = PermanentMap();
    if (map.count(hWnd)) return FALSE;
    map[hWnd] = this;
    m_hWnd = hWnd;
    return TRUE;
}

HWND CWnd::Detach() {
    HWND hWnd = m_hWnd;
    if (hWnd) {
        auto& map = PermanentMap();
        auto it = map.find(hWnd);
        if (it != map.end() && it->second == this) map.erase(it);
    }
    m_hWnd = nullptr;
    return hWnd;
}

CWnd* CWnd::FromHandlePermanent(HWND hWnd) {
    auto& map = PermanentMap();
    auto it = map.find(hWnd);
    return it == map.end() ? nullptr : it->second;
}

CWnd* CWnd::FromHandle(HWND hWnd) {
    if (!hWnd) return nullptr;
    if (CWnd* permanent = FromHandlePermanent(hWnd)) return permanent;
    auto& temporary = TemporaryMap()[hWnd];
    if (!temporary) {
        temporary = MakeObjectFor(hWnd);
        temporary->m_hWnd = hWnd;  // not in the permanent map
    }
    return temporary.get();
}

void AfxDeleteTempMap() {
    auto& map = TemporaryMap();
    for (auto& entry : map) entry.second->m_hWnd = nullptr;
    map.clear();
}

CWnd* CWnd::GetDlgItem(int nID) const {
    if (!m_hWnd) return nullptr;
    HWND hChild = ::GetDlgItem(m_hWnd, nID);
    if (!hChild) return nullptr;
    if (CWnd* permanent = FromHandlePermanent(hChild)) return permanent;
    std::unique_ptr<CWnd> child = MakeObjectFor(hChild);
    child->Attach(hChild);
    CWnd* result = child.get();
    m_childObjects[hChild] = std::move(child);
    return result;
}

void CWnd::DeleteChildObjects() { m_childObjects.clear(); }

LRESULT CWnd::SendMessage(UINT message, WPARAM wParam, LPARAM lParam) const {
    return ::SendMessageA(m_hWnd, message, wParam, lParam);
}

BOOL CWnd::ShowWindow(int nCmdShow) { return ::ShowWindow(m_hWnd, nCmdShow); }

BOOL CWnd::IsWindowVisible() const { return ::IsWindowVisible(m_hWnd); }


BOOL CWnd::BringWindowToTop() { return ::BringWindowToTop(m_hWnd); }

void CWnd::SetWindowText(const char* text) { ::SetWindowTextA(m_hWnd, text); }

void CWnd::GetWindowText(CString& text) const {
    const int length = m_hWnd ? ::GetWindowTextLengthA(m_hWnd) : 0;
    std::string buffer(static_cast<size_t>(length > 0 ? length : 0) + 1, '\0');
    const int copied = m_hWnd ? ::GetWindowTextA(m_hWnd, buffer.data(), static_cast<int>(buffer.size())) : 0;
    buffer.resize(static_cast<size_t>(copied > 0 ? copied : 0));
    text = buffer;
}

int CWnd::GetDlgCtrlID() const { return ::GetDlgCtrlID(m_hWnd); }

void CWnd::GetWindowRect(LPRECT rect) const { ::GetWindowRect(m_hWnd, rect); }

void CWnd::GetClientRect(LPRECT rect) const { ::GetClientRect(m_hWnd, rect); }

void CWnd::ScreenToClient(LPPOINT point) const { ::ScreenToClient(m_hWnd, point); }

void CWnd::ScreenToClient(LPRECT rect) const {
    if (!rect) return;
    POINT topLeft = {rect->left, rect->top};
    POINT bottomRight = {rect->right, rect->bottom};
    ::ScreenToClient(m_hWnd, &topLeft);
    ::ScreenToClient(m_hWnd, &bottomRight);
    *rect = {topLeft.x, topLeft.y, bottomRight.x, bottomRight.y};
}

CWnd* CWnd::SetFocus() { return FromHandle(::SetFocus(m_hWnd)); }

CWnd* CWnd::GetFocus() { return FromHandle(::GetFocus()); }

CWnd* CWnd::SetCapture() { return FromHandle(::SetCapture(m_hWnd)); }

void CWnd::Invalidate(BOOL bErase) { ::InvalidateRect(m_hWnd, nullptr, bErase); }

void CWnd::UpdateWindow() { ::UpdateWindow(m_hWnd); }

BOOL CWnd::DestroyWindow() {
    HWND hWnd = m_hWnd;
    if (!hWnd) return FALSE;
    const BOOL destroyed = ::DestroyWindow(hWnd);
    if (m_hWnd == hWnd) Detach();
    DeleteChildObjects();
    return destroyed;
}

BOOL CWnd::UpdateData(BOOL bSaveAndValidate) {
    if (!m_hWnd || !::IsWindow(m_hWnd)) return FALSE;
    CDataExchange dx(this, bSaveAndValidate);
    DoDataExchange(&dx);
    return dx.m_bFailed ? FALSE : TRUE;
}

void CWnd::DoDataExchange(CDataExchange* /*pDX*/) {}

bool CRuntimeClass::IsDerivedFrom(const CRuntimeClass* base) const {
    for (const CRuntimeClass* cls = this; cls; cls = cls->m_pBaseClass) {
        if (cls == base) return true;
    }
    return false;
}
