// What <comutil.h> and <comdef.h> declare and MinGW-w64 leaves undefined.
// (_com_issue_error itself is inline in <comdef.h>.) Behaviour follows the
// documented compiler COM support: ANSI code page conversions, and errors raised
// through the handler that _set_com_error_handler installs.

#include <comdef.h>
#include <new>

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

// Caller frees the result with delete[] (as _bstr_t does). The whole BSTR is
// converted, embedded NULs included.
char* WINAPI ConvertBSTRToString(BSTR pSrc)
{
    if (!pSrc)
        return nullptr;
    const int nWide = static_cast<int>(SysStringLen(pSrc)) + 1;   // with the terminator
    const int nBytes = WideCharToMultiByte(CP_ACP, 0, pSrc, nWide, nullptr, 0, nullptr, nullptr);
    if (nBytes <= 0)
        return nullptr;
    char* psz = new (std::nothrow) char[nBytes];
    if (psz)
        WideCharToMultiByte(CP_ACP, 0, pSrc, nWide, psz, nBytes, nullptr, nullptr);
    return psz;
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

// The "parameter not given" value of optional VARIANT arguments. Constructed early:
// the program's own static objects (from priority 2000 on) may already pass it.
_variant_t vtMissing __attribute__((init_priority(200)))(DISP_E_PARAMNOTFOUND, VT_ERROR);
