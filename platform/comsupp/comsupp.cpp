// What the program uses of <comutil.h> and <comdef.h> that MinGW-w64 leaves undefined.
// (_com_issue_error itself is inline in <comdef.h>.) Behaviour follows the
// documented compiler COM support: the ANSI code page conversion, and errors raised
// through the handler that _set_com_error_handler installs.

#include <comdef.h>

namespace _com_util {

// Caller frees the result with SysFreeString. NULL in, NULL out; NULL also when
// memory runs out (the _bstr_t callers turn that into E_OUTOFMEMORY).
BSTR WINAPI ConvertStringToBSTR(const char* pSrc)
{
    if (!pSrc)
        return nullptr;
    const int nWide = MultiByteToWideChar(CP_ACP, 0, pSrc, -1, nullptr, 0);
    if (nWide <= 0)
        return SysAllocString(L"");
    BSTR bstr = SysAllocStringLen(nullptr, nWide - 1);
    if (bstr)
        MultiByteToWideChar(CP_ACP, 0, pSrc, -1, bstr, nWide);
    return bstr;
}

}  // namespace _com_util

// Raises hr with the thread's error information, but only when the object that
// failed says (ISupportErrorInfo) that the interface it was called through sets
// it; otherwise the information could be left over from an unrelated call.
void WINAPI _com_issue_errorex(HRESULT hr, IUnknown* punk, REFIID riid)
{
    IErrorInfo* pInfo = nullptr;
    ISupportErrorInfo* pSupport = nullptr;
    if (punk && SUCCEEDED(punk->QueryInterface(IID_ISupportErrorInfo,
                                               reinterpret_cast<void**>(&pSupport)))) {
        if (pSupport->InterfaceSupportsErrorInfo(riid) == S_OK && GetErrorInfo(0, &pInfo) != S_OK)
            pInfo = nullptr;
        pSupport->Release();
    }
    __mingw_com_error_handler(hr, pInfo);   // the handler owns pInfo
}
