// Hosting of our in-process controls and automation through their IDispatch.
#pragma once

#include <afxwin.h>
#include <oleauto.h>

// Parameter type strings for CWnd::InvokeHelper, one byte per parameter
// (concatenate them: VTS_BSTR VTS_VARIANT). The matching argument types:
#define VTS_BSTR "\x08"     // const wchar_t*
#define VTS_VARIANT "\x0C"  // const VARIANT*

class COleException : public CException {
    DECLARE_DYNAMIC(COleException)
public:
    explicit COleException(SCODE sc = E_FAIL) : m_sc(sc) {}
    SCODE m_sc;
    BOOL GetErrorMessage(LPWSTR lpszError, UINT nMaxError, PUINT pnHelpContext = nullptr) override;
};

// A control's own error: DISP_E_EXCEPTION, with the description it gave.
class COleDispatchException : public CException {
    DECLARE_DYNAMIC(COleDispatchException)
public:
    COleDispatchException(LPCTSTR lpszDescription, SCODE scError);
    BOOL GetErrorMessage(LPWSTR lpszError, UINT nMaxError, PUINT pnHelpContext = nullptr) override;

    SCODE m_scError;
    CString m_strDescription;
};

[[noreturn]] void AFXAPI AfxThrowOleException(SCODE sc);

// Registers the window classes of every hosted control declared with
// AfxRegisterHostedControl (once each). Returns nothing, like MFC's.
void AFXAPI AfxEnableControlContainer();

// Declares a hosted control: CreateControl(clsid) creates a child window of
// className, whose class registerClass registers (called by
// AfxEnableControlContainer with the program's instance handle). Dialog
// templates name className directly.
void AFXAPI AfxRegisterHostedControl(REFCLSID clsid, LPCWSTR className, void (*registerClass)(HINSTANCE));
