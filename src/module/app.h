// The library's application object.
//
// Classes: CQorColorDlgApp
// Data: theApp
#pragma once

#include "../framework/afx.h"

class CQorColorDlgApp : public CWinApp {
public:
    CQorColorDlgApp();
    // Runs the base start-up; the library starts whatever that answers.
    BOOL InitInstance() override;
};

extern CQorColorDlgApp theApp;
