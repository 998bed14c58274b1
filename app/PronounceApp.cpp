#include "app/PronounceApp.h"

#include <afxdisp.h>

#include "app/PronounceDlg.h"

BEGIN_MESSAGE_MAP(CPronounceApp, CWinApp)
    ON_COMMAND(ID_HELP, CWinApp::OnHelp)
END_MESSAGE_MAP()

// Constructed before the dictionary object g_db (2001) and the tooltip (2002), after
// the framework's own state; no name, so message boxes are titled with the exe's name.
CPronounceApp theApp __attribute__((init_priority(2000)));

CPronounceApp::CPronounceApp() = default;

BOOL CPronounceApp::InitInstance()
{
    AfxEnableControlContainer();
    Enable3dControls();

    CPronounceDlg dlg;  // connects its dictionary object
    m_pMainWnd = &dlg;
    dlg.DoModal();
    m_pMainWnd = nullptr;  // the dialog object dies with this scope

    // The dialog has ended: no message loop of our own, the process ends.
    return FALSE;
}
