// The application object: builds the main window, runs it modally, then lets the
// process end. It runs no message loop of its own.
#pragma once

#include <afxwin.h>

class CPronounceApp : public CWinApp
{
public:
    CPronounceApp();

    BOOL InitInstance() override;

    DECLARE_MESSAGE_MAP()
};

extern CPronounceApp theApp;
