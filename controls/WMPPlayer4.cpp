#include "controls/WMPPlayer4.h"

#include <afxdisp.h>

#include <player/MediaPlayerCtl.h>

namespace {

constexpr DISPID kDispUrl = 1;
constexpr DISPID kDispPlayState = 10;

const struct Registrar {
    Registrar() { AfxRegisterHostedControl(CWMPPlayer4::GetClsid(), player::kClassName, &player::RegisterWindowClass); }
} registrar;

}  // namespace

IMPLEMENT_DYNCREATE(CWMPPlayer4, CWnd)

const CLSID& CWMPPlayer4::GetClsid()
{
    static const CLSID clsid = {0x6BF52A52, 0x394A, 0x11D3, {0xB1, 0x53, 0x00, 0xC0, 0x4F, 0x79, 0xFA, 0xA6}};
    return clsid;
}

BOOL CWMPPlayer4::Create(LPCTSTR, LPCTSTR lpszWindowName, DWORD dwStyle, const RECT& rect, CWnd* pParentWnd,
                         UINT nID, CCreateContext*)
{
    return CreateControl(GetClsid(), lpszWindowName, dwStyle, rect, pParentWnd, nID);
}

void CWMPPlayer4::SetURL(LPCTSTR lpszNewValue)
{
    static const BYTE parms[] = VTS_BSTR;
    InvokeHelper(kDispUrl, DISPATCH_PROPERTYPUT, VT_EMPTY, nullptr, parms, lpszNewValue);
}

long CWMPPlayer4::GetPlayState()
{
    long result = 0;
    InvokeHelper(kDispPlayState, DISPATCH_PROPERTYGET, VT_I4, &result, nullptr);
    return result;
}
