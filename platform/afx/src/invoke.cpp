// CWnd::InvokeHelper: a real IDispatch::Invoke on the hosted control behind
// the window, with MFC's VTS_ parameter strings and its exceptions. It knows
// the types the program passes (strings and VARIANTs) and gets (32-bit
// integers); any other throws CNotSupportedException.
#include <afxdisp.h>

#include <hosting/HostedControl.h>

#include <vector>

namespace {

// Owns the VARIANTs built for one call.
struct Args {
    std::vector<VARIANT> v;
    ~Args()
    {
        for (VARIANT& a : v)
            ::VariantClear(&a);
    }
};

// Reads one argument of type vt from the list into a VARIANT.
void ReadArg(VARIANT& arg, BYTE vt, va_list& args)
{
    ::VariantInit(&arg);
    if (vt == VT_BSTR) {
        const wchar_t* s = va_arg(args, const wchar_t*);
        arg.vt = VT_BSTR;
        arg.bstrVal = ::SysAllocString(s ? s : L"");
        if (!arg.bstrVal)
            AfxThrowMemoryException();
    } else if (vt == VT_VARIANT) {
        const VARIANT* p = va_arg(args, const VARIANT*);
        if (p) {
            const HRESULT hr = ::VariantCopy(&arg, const_cast<VARIANT*>(p));
            if (FAILED(hr))
                AfxThrowOleException(hr);
        }
    } else {
        AfxThrowNotSupportedException();
    }
}

// Stores the result where pvRet points, typed as vtRet says.
void StoreResult(VARIANT& result, VARTYPE vtRet, void* pvRet)
{
    if (vtRet == VT_EMPTY || !pvRet)
        return;
    if (vtRet != VT_I4)
        AfxThrowNotSupportedException();
    const HRESULT hr = ::VariantChangeType(&result, &result, 0, VT_I4);
    if (FAILED(hr))
        AfxThrowOleException(hr);
    *static_cast<long*>(pvRet) = result.lVal;
}

[[noreturn]] void ThrowDispatchException(EXCEPINFO& info)
{
    if (info.pfnDeferredFillIn)
        info.pfnDeferredFillIn(&info);
    auto* e = new COleDispatchException(info.bstrDescription, info.scode ? info.scode : DISP_E_EXCEPTION);
    ::SysFreeString(info.bstrSource);
    ::SysFreeString(info.bstrDescription);
    ::SysFreeString(info.bstrHelpFile);
    throw e;
}

void Invoke(HWND hwnd, DISPID dwDispID, WORD wFlags, VARTYPE vtRet, void* pvRet, const BYTE* pbParamInfo,
            va_list argList)
{
    IDispatch* pDisp = hosting::QueryDispatch(hwnd);
    if (!pDisp)
        AfxThrowOleException(E_NOINTERFACE);  // no hosted control behind this window

    Args built;
    if (pbParamInfo) {
        for (const BYTE* p = pbParamInfo; *p; ++p)
            built.v.emplace_back();
        try {
            for (size_t i = 0; i < built.v.size(); ++i)
                ReadArg(built.v[i], pbParamInfo[i], argList);
        } catch (...) {
            pDisp->Release();
            throw;
        }
    }
    // IDispatch takes the arguments last first.
    std::vector<VARIANT> reversed(built.v.rbegin(), built.v.rend());

    DISPID named = DISPID_PROPERTYPUT;
    DISPPARAMS params{};
    params.cArgs = static_cast<UINT>(reversed.size());
    params.rgvarg = reversed.empty() ? nullptr : reversed.data();
    if (wFlags & DISPATCH_PROPERTYPUT) {
        params.cNamedArgs = 1;
        params.rgdispidNamedArgs = &named;
    }

    VARIANT result;
    ::VariantInit(&result);
    EXCEPINFO info{};
    UINT argErr = 0;
    const HRESULT hr = pDisp->Invoke(dwDispID, IID_NULL, LOCALE_USER_DEFAULT, wFlags, &params,
                                     vtRet == VT_EMPTY ? nullptr : &result, &info, &argErr);
    pDisp->Release();
    if (hr == DISP_E_EXCEPTION)
        ThrowDispatchException(info);
    try {
        if (FAILED(hr))
            AfxThrowOleException(hr);
        StoreResult(result, vtRet, pvRet);
    } catch (...) {
        ::VariantClear(&result);
        throw;
    }
    ::VariantClear(&result);
}

}  // namespace

void CWnd::InvokeHelper(DISPID dwDispID, WORD wFlags, VARTYPE vtRet, void* pvRet, const BYTE* pbParamInfo, ...)
{
    va_list args;
    va_start(args, pbParamInfo);
    try {
        Invoke(m_hWnd, dwDispID, wFlags, vtRet, pvRet, pbParamInfo, args);
    } catch (...) {
        va_end(args);
        throw;
    }
    va_end(args);
}
