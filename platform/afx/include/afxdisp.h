// Hosting of our in-process controls and automation through their IDispatch.
#pragma once

#include <afxwin.h>
#include <oleauto.h>

// Parameter type strings for CWnd::InvokeHelper, one byte per parameter
// (concatenate them: VTS_BSTR VTS_VARIANT). The matching argument types:
#define VTS_NONE ""              // no parameters
#define VTS_I2 "\x02"            // short
#define VTS_I4 "\x03"            // long
#define VTS_R4 "\x04"            // float
#define VTS_R8 "\x05"            // double
#define VTS_CY "\x06"            // const CY*
#define VTS_DATE "\x07"          // DATE
#define VTS_WBSTR "\x08"         // const wchar_t*
#define VTS_BSTR VTS_WBSTR       // const wchar_t* (Unicode build)
#define VTS_DISPATCH "\x09"      // IDispatch*
#define VTS_SCODE "\x0A"         // SCODE
#define VTS_BOOL "\x0B"          // BOOL
#define VTS_VARIANT "\x0C"       // const VARIANT*
#define VTS_UNKNOWN "\x0D"       // IUnknown*
#define VTS_UI1 "\x11"           // BYTE
#define VTS_PI2 "\x42"           // short*
#define VTS_PI4 "\x43"           // long*
#define VTS_PR4 "\x44"           // float*
#define VTS_PR8 "\x45"           // double*
#define VTS_PBSTR "\x48"         // BSTR*
#define VTS_PBOOL "\x4B"         // VARIANT_BOOL*
#define VTS_PVARIANT "\x4C"      // VARIANT*

#ifndef VT_BSTRT
#define VT_BSTRT VT_BSTR
#endif

class COleException : public CException {
    DECLARE_DYNAMIC(COleException)
public:
    explicit COleException(SCODE sc = E_FAIL) : m_sc(sc) {}
    SCODE m_sc;
    static SCODE Process(const CException* pAnyException);
    BOOL GetErrorMessage(LPWSTR lpszError, UINT nMaxError, PUINT pnHelpContext = nullptr) override;
};

class COleDispatchException : public CException {
    DECLARE_DYNAMIC(COleDispatchException)
public:
    COleDispatchException(LPCTSTR lpszDescription, UINT nHelpID, WORD wCode);
    BOOL GetErrorMessage(LPWSTR lpszError, UINT nMaxError, PUINT pnHelpContext = nullptr) override;

    WORD m_wCode = 0;
    SCODE m_scError = 0;
    CString m_strSource;
    CString m_strDescription;
    CString m_strHelpFile;
    DWORD m_dwHelpContext = 0;
};

[[noreturn]] void AFXAPI AfxThrowOleException(SCODE sc);
[[noreturn]] void AFXAPI AfxThrowOleDispatchException(WORD wCode, LPCTSTR lpszDescription, UINT nHelpID = 0);

// Registers the window classes of every hosted control declared with
// AfxRegisterHostedControl (once each). Returns nothing, like MFC's.
void AFXAPI AfxEnableControlContainer();

// Declares a hosted control: CreateControl(clsid) creates a child window of
// className, whose class registerClass registers (called by
// AfxEnableControlContainer with the program's instance handle). Dialog
// templates name className directly.
void AFXAPI AfxRegisterHostedControl(REFCLSID clsid, LPCWSTR className, void (*registerClass)(HINSTANCE));
// The class registered for clsid, or nullptr.
LPCWSTR AFXAPI AfxFindHostedControlClass(REFCLSID clsid);
