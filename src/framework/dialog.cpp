// CDialog: modeless creation from the template data, the shared dialog
// procedure and the OK/Cancel defaults that only hide the window.
#include "afx.h"
#include "backend.h"

const CRuntimeClass CDialog::classCDialog = {"CDialog", sizeof(CDialog), &CWnd::classCWnd};

const CRuntimeClass* CDialog::GetRuntimeClass() const { return &classCDialog; }

BEGIN_MESSAGE_MAP(CDialog, CWnd)
ON_COMMAND(IDOK, OnOK)
ON_COMMAND(IDCANCEL, OnCancel)
END_MESSAGE_MAP()

CDialog::CDialog(UINT nIDTemplate, CWnd* pParentWnd) : m_nIDTemplate(nIDTemplate), m_pParentWnd(pParentWnd) {}

CDialog::~CDialog() {
    // Detach first: the messages of the destruction find no object any more.
    HWND hWnd = Detach();
    DeleteChildObjects();
    if (hWnd) ::DestroyWindow(hWnd);
}

BOOL CDialog::Create(UINT nIDTemplate, CWnd* pParentWnd) {
    if (m_hWnd) return FALSE;
    const DialogTemplate* tmpl = FindDialogTemplate(static_cast<int>(nIDTemplate));
    if (!tmpl) return FALSE;
    m_nIDTemplate = nIDTemplate;
    if (pParentWnd) m_pParentWnd = pParentWnd;
    HWND hParent = m_pParentWnd ? m_pParentWnd->m_hWnd : nullptr;
    HWND hWnd = BackendCreateDialog(AfxGetResourceHandle(), *tmpl, hParent, &CDialog::DialogProc,
                                    reinterpret_cast<LPARAM>(this));
    if (!hWnd) return FALSE;
    if (!m_hWnd) Attach(hWnd);
    return TRUE;
}

BOOL CDialog::OnInitDialog() {
    UpdateData(FALSE);
    return TRUE;
}

void CDialog::OnOK() {
    if (UpdateData(TRUE)) ShowWindow(SW_HIDE);
}

void CDialog::OnCancel() { ShowWindow(SW_HIDE); }

namespace {

// Messages whose dialog procedure result is the message result itself.
bool ReturnsDirectly(UINT message) {
    return message == WM_INITDIALOG || message == WM_CTLCOLOREDIT || message == WM_CTLCOLORDLG ||
           message == WM_CTLCOLORSTATIC;
}

}  // namespace

INT_PTR CALLBACK CDialog::DialogProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam) {
    AFX_MANAGE_STATE(AfxGetStaticModuleState());
    if (message == WM_INITDIALOG) {
        auto* dialog = reinterpret_cast<CDialog*>(lParam);
        if (!dialog) return FALSE;
        if (dialog->m_hWnd != hWnd) dialog->Attach(hWnd);
        dialog->BeginHandling();
        const BOOL focusDefault = dialog->OnInitDialog();
        dialog->EndHandling();
        return focusDefault;
    }
    if (message == WM_NCDESTROY) BackendDialogEnded(hWnd);
    CWnd* wnd = FromHandlePermanent(hWnd);
    if (!wnd) return FALSE;
    if (message == WM_NCDESTROY) {
        wnd->DeleteChildObjects();
        wnd->Detach();
        return FALSE;
    }
    LRESULT result = 0;
    // The object may be gone when this returns: only the handle is used after it.
    if (!RouteMessage(wnd, message, wParam, lParam, &result)) return FALSE;
    if (ReturnsDirectly(message)) return result;
    ::SetWindowLongPtrA(hWnd, DWLP_MSGRESULT, result);
    return TRUE;
}
