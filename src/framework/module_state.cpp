// Module state, the application object, framework start-up and shutdown,
// extension modules and the resource chain.
#include <algorithm>
#include <vector>

#include "afx.h"

namespace {

// The state of the module that loaded the library (the host), in force
// until an entry point switches to the library's own.
AFX_MODULE_STATE& HostModuleState() {
    static AFX_MODULE_STATE state;
    return state;
}

thread_local AFX_MODULE_STATE* t_pModuleState = nullptr;

std::vector<CDynLinkLibrary*>& Libraries() {
    static auto& libraries = *new std::vector<CDynLinkLibrary*>;
    return libraries;
}

}  // namespace

AFX_MODULE_STATE* AfxGetStaticModuleState() {
    static AFX_MODULE_STATE state;
    return &state;
}

AFX_MODULE_STATE* AfxGetModuleState() { return t_pModuleState ? t_pModuleState : &HostModuleState(); }

CWinApp* AfxGetApp() { return AfxGetModuleState()->m_pCurrentWinApp; }


HINSTANCE AfxGetResourceHandle() { return AfxGetModuleState()->m_hCurrentResourceHandle; }

AFX_MAINTAIN_STATE2::AFX_MAINTAIN_STATE2(AFX_MODULE_STATE* pNewState) : m_pPrevModuleState(t_pModuleState) {
    if (pNewState) t_pModuleState = pNewState;
}

AFX_MAINTAIN_STATE2::~AFX_MAINTAIN_STATE2() { t_pModuleState = m_pPrevModuleState; }

CWinApp::CWinApp(const char* lpszAppName) : m_pszAppName(lpszAppName) {
    AFX_MODULE_STATE* state = AfxGetStaticModuleState();
    m_pPrevApp = state->m_pCurrentWinApp;
    state->m_pCurrentWinApp = this;
    state->m_lpszCurrentAppName = lpszAppName;
}

CWinApp::~CWinApp() {
    AFX_MODULE_STATE* state = AfxGetStaticModuleState();
    if (state->m_pCurrentWinApp != this) return;
    state->m_pCurrentWinApp = m_pPrevApp;
    state->m_lpszCurrentAppName = m_pPrevApp ? m_pPrevApp->m_pszAppName : nullptr;
}

BOOL CWinApp::InitInstance() { return TRUE; }

int CWinApp::ExitInstance() { return 0; }

BOOL AfxWinInit(HINSTANCE hInstance) {
    AFX_MODULE_STATE* state = AfxGetStaticModuleState();
    state->m_hCurrentInstanceHandle = hInstance;
    state->m_hCurrentResourceHandle = hInstance;
    if (state->m_pCurrentWinApp) state->m_pCurrentWinApp->m_hInstance = hInstance;
    return TRUE;
}

void AfxWinTerm() { AfxDeleteTempMap(); }

BOOL AfxInitExtensionModule(AFX_EXTENSION_MODULE& state, HMODULE hModule) {
    if (state.bInitialized) return TRUE;
    state.hModule = hModule;
    state.hResource = hModule;
    state.bInitialized = TRUE;
    return TRUE;
}

void AfxTermExtensionModule(AFX_EXTENSION_MODULE& state, BOOL /*bAll*/) {
    if (!state.bInitialized) return;
    std::vector<CDynLinkLibrary*> owned;
    for (CDynLinkLibrary* library : Libraries()) {
        if (library->m_hModule == state.hModule) owned.push_back(library);
    }
    for (CDynLinkLibrary* library : owned) delete library;
    state.bInitialized = FALSE;
}

CDynLinkLibrary::CDynLinkLibrary(AFX_EXTENSION_MODULE& state)
    : m_hModule(state.hModule), m_hResource(state.hResource) {
    Libraries().push_back(this);
}

CDynLinkLibrary::~CDynLinkLibrary() {
    auto& libraries = Libraries();
    libraries.erase(std::remove(libraries.begin(), libraries.end(), this), libraries.end());
}

int AfxResourceChainCount() {
    const int own = AfxGetResourceHandle() ? 1 : 0;
    return own + static_cast<int>(Libraries().size());
}

HINSTANCE AfxResourceChainAt(int index) {
    HINSTANCE own = AfxGetResourceHandle();
    if (own) {
        if (index == 0) return own;
        --index;
    }
    const auto& libraries = Libraries();
    if (index < 0 || index >= static_cast<int>(libraries.size())) return nullptr;
    return libraries[static_cast<size_t>(index)]->m_hResource;
}
