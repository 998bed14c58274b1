// The rich text box control, as the program drives it: LoadFile.
#pragma once

#include <afxwin.h>

class CRichText : public CWnd {
protected:
    DECLARE_DYNCREATE(CRichText)
public:
    static const CLSID& GetClsid();
    BOOL Create(LPCTSTR lpszClassName, LPCTSTR lpszWindowName, DWORD dwStyle, const RECT& rect,
                CWnd* pParentWnd, UINT nID, CCreateContext* pContext = nullptr) override;

    // fileType 1 (VT_I4 or any number): the file is plain text; it replaces the
    // control's text, which the window text then holds.
    void LoadFile(LPCTSTR lpszFileName, const VARIANT& fileType);
};
