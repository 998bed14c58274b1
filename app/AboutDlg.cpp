#include "app/AboutDlg.h"

// No parent: the framework makes the main window the owner and disables it meanwhile.
CAboutDlg::CAboutDlg() : CDialog(IDD) {}

CAboutDlg::~CAboutDlg() = default;

void CAboutDlg::DoDataExchange(CDataExchange* pDX)
{
    CDialog::DoDataExchange(pDX);
}

BEGIN_MESSAGE_MAP(CAboutDlg, CDialog)
END_MESSAGE_MAP()
