#include "app/AboutDlg.h"

// No parent: the framework makes the main window the owner and disables it meanwhile.
CAboutDlg::CAboutDlg() : CDialog(IDD) {}

CAboutDlg::~CAboutDlg() = default;

// Kept on purpose, with the empty message map: the box has no data of its own to exchange.
void CAboutDlg::DoDataExchange(CDataExchange* pDX)
{
    CDialog::DoDataExchange(pDX);
}

BEGIN_MESSAGE_MAP(CAboutDlg, CDialog)
END_MESSAGE_MAP()
