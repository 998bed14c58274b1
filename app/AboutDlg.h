// The About box: names the product, its version and its author. Closing is all it does.
#pragma once

#include <afxwin.h>

#include "resources/resource.h"

class CAboutDlg : public CDialog
{
public:
    enum { IDD = IDD_ABOUTBOX };

    CAboutDlg();
    ~CAboutDlg() override;

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    DECLARE_MESSAGE_MAP()
};
