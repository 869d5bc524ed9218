// The library's application object: constructed at load, it registers itself
// with the library's module state.
#include "app.h"

CQorColorDlgApp theApp;

CQorColorDlgApp::CQorColorDlgApp() : CWinApp("qorcolor") {}

BOOL CQorColorDlgApp::InitInstance() {
    CWinApp::InitInstance();
    return TRUE;
}
