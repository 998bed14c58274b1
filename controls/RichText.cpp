#include "controls/RichText.h"

#include <afxdisp.h>

#include <richtext/RichTextCtl.h>

namespace {

constexpr DISPID kDispLoadFile = 37;

const struct Registrar {
    Registrar() { AfxRegisterHostedControl(CRichText::GetClsid(), richtext::kClassName, &richtext::RegisterWindowClass); }
} registrar;

}  // namespace

IMPLEMENT_DYNCREATE(CRichText, CWnd)

const CLSID& CRichText::GetClsid()
{
    static const CLSID clsid = {0x3B7C8860, 0xD78F, 0x101B, {0xB9, 0xB5, 0x04, 0x02, 0x1C, 0x00, 0x94, 0x02}};
    return clsid;
}

BOOL CRichText::Create(LPCTSTR, LPCTSTR lpszWindowName, DWORD dwStyle, const RECT& rect, CWnd* pParentWnd,
                       UINT nID, CCreateContext*)
{
    return CreateControl(GetClsid(), lpszWindowName, dwStyle, rect, pParentWnd, nID);
}

void CRichText::LoadFile(LPCTSTR lpszFileName, const VARIANT& fileType)
{
    static const BYTE parms[] = VTS_BSTR VTS_VARIANT;
    InvokeHelper(kDispLoadFile, DISPATCH_METHOD, VT_EMPTY, nullptr, parms, lpszFileName, &fileType);
}
