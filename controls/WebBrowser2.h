// The web browser control: hosted, never called.
#pragma once

#include <afxwin.h>

class CWebBrowser2 : public CWnd {
protected:
    DECLARE_DYNCREATE(CWebBrowser2)
public:
    static const CLSID& GetClsid();
    BOOL Create(LPCTSTR lpszClassName, LPCTSTR lpszWindowName, DWORD dwStyle, const RECT& rect,
                CWnd* pParentWnd, UINT nID, CCreateContext* pContext = nullptr) override;
};
