// The library's entry: starts the framework for this module with its
// application object and puts the library's resources into the chain.
#include <new>

#include "../framework/afx.h"
#include "../histogram/kernels/histogram_kernels.h"
#include "app.h"

namespace {

AFX_EXTENSION_MODULE g_extension;

// Undoes the start-up after the application object has started.
BOOL AbandonAttach() {
    theApp.ExitInstance();
    AfxWinTerm();
    return FALSE;
}

BOOL ProcessAttach(HINSTANCE hInstance) {
    AFX_MANAGE_STATE(AfxGetStaticModuleState());
    if (!AfxWinInit(hInstance)) {
        AfxWinTerm();
        return FALSE;
    }
    if (!theApp.InitInstance()) return AbandonAttach();
    if (!AfxInitExtensionModule(g_extension, hInstance)) return AbandonAttach();
    try {
        new CDynLinkLibrary(g_extension);  // owned by the chain; AfxTermExtensionModule deletes it
    } catch (const std::bad_alloc&) {
        return AbandonAttach();
    }
    return TRUE;
}

void ProcessDetach() {
    AFX_MANAGE_STATE(AfxGetStaticModuleState());
    theApp.ExitInstance();
    AfxDeleteTempMap();
    AfxWinTerm();
    AfxTermExtensionModule(g_extension);
}

void ThreadDetach() {
    qorcolor::histogram::ReleaseThreadCounters();
    AFX_MANAGE_STATE(AfxGetStaticModuleState());
    AfxDeleteTempMap();
}

}  // namespace

extern "C" BOOL WINAPI DllMain(HINSTANCE hInstance, DWORD reason, LPVOID /*reserved*/) {
    switch (reason) {
        case DLL_PROCESS_ATTACH:
            return ProcessAttach(hInstance);
        case DLL_PROCESS_DETACH:
            ProcessDetach();
            break;
        case DLL_THREAD_DETACH:
            ThreadDetach();
            break;
        default:
            break;
    }
    return TRUE;
}
