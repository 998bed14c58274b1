#include "controls/WebBrowser2.h"

#include <afxdisp.h>

#include <browser/WebBrowserCtl.h>

namespace {

const struct Registrar {
    Registrar() { AfxRegisterHostedControl(CWebBrowser2::GetClsid(), browser::kClassName, &browser::RegisterWindowClass); }
} registrar;

}  // namespace

IMPLEMENT_DYNCREATE(CWebBrowser2, CWnd)

const CLSID& CWebBrowser2::GetClsid()
{
    static const CLSID clsid = {0x8856F961, 0x340A, 0x11D0, {0xA9, 0x6B, 0x00, 0xC0, 0x4F, 0xD7, 0x05, 0xA2}};
    return clsid;
}

BOOL CWebBrowser2::Create(LPCTSTR, LPCTSTR lpszWindowName, DWORD dwStyle, const RECT& rect, CWnd* pParentWnd,
                          UINT nID, CCreateContext*)
{
    return CreateControl(GetClsid(), lpszWindowName, dwStyle, rect, pParentWnd, nID);
}
