// AfxMessageBox and CFileDialog: modal questions answered by the installed
// answerers, or by the backend's defaults when none is installed.
#include <algorithm>
#include <string>
#include <vector>

#include "afx.h"
#include "backend.h"

namespace {

struct Providers {
    AfxMessageBoxAnswerer messageBox = nullptr;
    void* messageBoxContext = nullptr;
    AfxFileDialogAnswerer fileDialog = nullptr;
    void* fileDialogContext = nullptr;
};

Providers& CurrentProviders() {
    static Providers providers;
    return providers;
}

constexpr int kPathSize = 4096;

}  // namespace

void AfxSetMessageBoxAnswerer(AfxMessageBoxAnswerer provider, void* context) {
    CurrentProviders().messageBox = provider;
    CurrentProviders().messageBoxContext = provider ? context : nullptr;
}

void AfxSetFileDialogAnswerer(AfxFileDialogAnswerer provider, void* context) {
    CurrentProviders().fileDialog = provider;
    CurrentProviders().fileDialogContext = provider ? context : nullptr;
}

int AfxMessageBox(const char* text, UINT nType) {
    const CWinApp* app = AfxGetApp();
    const char* caption = app && app->m_pszAppName ? app->m_pszAppName : "qorcolor";
    if (!text) text = "";
    const Providers& providers = CurrentProviders();
    if (providers.messageBox) return providers.messageBox(text, caption, nType, providers.messageBoxContext);
    return BackendMessageBox(::GetFocus(), text, caption, nType);
}

CFileDialog::CFileDialog(BOOL bOpenFileDialog, const char* lpszDefExt, const char* lpszFileName,
                         DWORD dwFlags, const char* lpszFilter, CWnd* /*pParentWnd*/, DWORD /*dwSize*/,
                         BOOL /*bVistaStyle*/)
    : m_bOpenFileDialog(bOpenFileDialog),
      m_strDefExt(lpszDefExt),
      m_strFilter(lpszFilter),
      m_dwFlags(dwFlags),
      m_path(lpszFileName) {}

INT_PTR CFileDialog::DoModal() {
    const Providers& providers = CurrentProviders();
    if (providers.fileDialog) {
        // The buffer starts with the proposed file name, as the common dialog's does.
        std::vector<char> path(kPathSize, '\0');
        const std::string initial = m_path.GetString();
        initial.copy(path.data(), std::min<size_t>(initial.size(), kPathSize - 1));
        const int chosen =
            providers.fileDialog(m_bOpenFileDialog ? 1 : 0, m_strDefExt, m_strFilter, m_dwFlags, path.data(),
                                 kPathSize, providers.fileDialogContext);
        if (!chosen) return IDCANCEL;
        path[kPathSize - 1] = '\0';
        m_path = path.data();
        return IDOK;
    }
    std::string path = m_path.GetString();
    if (!BackendFileDialog(m_bOpenFileDialog != FALSE, m_strDefExt, m_strFilter, m_dwFlags, path))
        return IDCANCEL;
    m_path = path;
    return IDOK;
}

CString CFileDialog::GetFileName() const {
    const std::string path = m_path.GetString();
    const size_t slash = path.find_last_of("\\/");
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

CString CFileDialog::GetFileExt() const {
    const std::string name = GetFileName().GetString();
    const size_t dot = name.find_last_of('.');
    return dot == std::string::npos ? std::string() : name.substr(dot + 1);
}
