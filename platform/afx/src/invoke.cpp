// CWnd::InvokeHelper: a real IDispatch::Invoke on the hosted control behind
// the window, with MFC's VTS_ parameter strings and its exceptions.
#include <afxdisp.h>

#include <hosted_control.h>

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
    constexpr BYTE kByRef = 0x40;  // VTS_Pxx: VT_BYREF squeezed into one byte
    if (vt & kByRef) {
        arg.vt = static_cast<VARTYPE>((vt & ~kByRef) | VT_BYREF);
        arg.byref = va_arg(args, void*);
        return;
    }
    switch (vt) {
    case VT_I2:
        arg.vt = VT_I2;
        arg.iVal = static_cast<SHORT>(va_arg(args, int));
        break;
    case VT_I4:
        arg.vt = VT_I4;
        arg.lVal = va_arg(args, long);
        break;
    case VT_R4:
        arg.vt = VT_R4;
        arg.fltVal = static_cast<float>(va_arg(args, double));
        break;
    case VT_R8:
        arg.vt = VT_R8;
        arg.dblVal = va_arg(args, double);
        break;
    case VT_DATE:
        arg.vt = VT_DATE;
        arg.date = va_arg(args, DATE);
        break;
    case VT_CY:
        arg.vt = VT_CY;
        arg.cyVal = *va_arg(args, CY*);
        break;
    case VT_BSTR: {
        const wchar_t* s = va_arg(args, const wchar_t*);
        arg.vt = VT_BSTR;
        arg.bstrVal = ::SysAllocString(s ? s : L"");
        if (!arg.bstrVal)
            AfxThrowMemoryException();
        break;
    }
    case VT_DISPATCH:
    case VT_UNKNOWN: {
        IUnknown* p = va_arg(args, IUnknown*);
        arg.vt = vt;
        arg.punkVal = p;
        if (p)
            p->AddRef();
        break;
    }
    case VT_ERROR:
        arg.vt = VT_ERROR;
        arg.scode = va_arg(args, SCODE);
        break;
    case VT_BOOL:
        arg.vt = VT_BOOL;
        arg.boolVal = va_arg(args, BOOL) ? VARIANT_TRUE : VARIANT_FALSE;
        break;
    case VT_VARIANT: {
        const VARIANT* p = va_arg(args, const VARIANT*);
        if (p) {
            HRESULT hr = ::VariantCopy(&arg, const_cast<VARIANT*>(p));
            if (FAILED(hr))
                AfxThrowOleException(hr);
        }
        break;
    }
    case VT_UI1:
        arg.vt = VT_UI1;
        arg.bVal = static_cast<BYTE>(va_arg(args, int));
        break;
    default:
        AfxThrowNotSupportedException();
    }
}

// Stores the converted result where pvRet points, typed as vtRet says.
void StoreResult(VARIANT& result, VARTYPE vtRet, void* pvRet)
{
    if (vtRet == VT_EMPTY || !pvRet)
        return;
    if (vtRet == VT_VARIANT) {
        *static_cast<VARIANT*>(pvRet) = result;  // ownership passes to the caller
        ::VariantInit(&result);
        return;
    }
    HRESULT hr = ::VariantChangeType(&result, &result, 0, vtRet);
    if (FAILED(hr))
        AfxThrowOleException(hr);
    switch (vtRet) {
    case VT_I2:
        *static_cast<short*>(pvRet) = result.iVal;
        break;
    case VT_I4:
        *static_cast<long*>(pvRet) = result.lVal;
        break;
    case VT_R4:
        *static_cast<float*>(pvRet) = result.fltVal;
        break;
    case VT_R8:
        *static_cast<double*>(pvRet) = result.dblVal;
        break;
    case VT_DATE:
        *static_cast<DATE*>(pvRet) = result.date;
        break;
    case VT_CY:
        *static_cast<CY*>(pvRet) = result.cyVal;
        break;
    case VT_BSTR:
        *static_cast<CString*>(pvRet) = CString(result.bstrVal, static_cast<int>(::SysStringLen(result.bstrVal)));
        break;
    case VT_DISPATCH:
    case VT_UNKNOWN:
        *static_cast<IUnknown**>(pvRet) = result.punkVal;  // the caller's reference now
        result.punkVal = nullptr;
        result.vt = VT_EMPTY;
        break;
    case VT_ERROR:
        *static_cast<SCODE*>(pvRet) = result.scode;
        break;
    case VT_BOOL:
        *static_cast<BOOL*>(pvRet) = result.boolVal != VARIANT_FALSE;
        break;
    case VT_UI1:
        *static_cast<BYTE*>(pvRet) = result.bVal;
        break;
    default:
        AfxThrowNotSupportedException();
    }
}

[[noreturn]] void ThrowDispatchException(EXCEPINFO& info)
{
    if (info.pfnDeferredFillIn)
        info.pfnDeferredFillIn(&info);
    auto* e = new COleDispatchException(info.bstrDescription, info.dwHelpContext, info.wCode);
    e->m_scError = info.scode ? info.scode : DISP_E_EXCEPTION;
    e->m_strSource = info.bstrSource;
    e->m_strHelpFile = info.bstrHelpFile;
    ::SysFreeString(info.bstrSource);
    ::SysFreeString(info.bstrDescription);
    ::SysFreeString(info.bstrHelpFile);
    throw e;
}

}  // namespace

void CWnd::InvokeHelper(DISPID dwDispID, WORD wFlags, VARTYPE vtRet, void* pvRet, const BYTE* pbParamInfo, ...)
{
    va_list args;
    va_start(args, pbParamInfo);
    try {
        InvokeHelperV(dwDispID, wFlags, vtRet, pvRet, pbParamInfo, args);
    } catch (...) {
        va_end(args);
        throw;
    }
    va_end(args);
}

void CWnd::InvokeHelperV(DISPID dwDispID, WORD wFlags, VARTYPE vtRet, void* pvRet, const BYTE* pbParamInfo,
                         va_list argList)
{
    IDispatch* pDisp = hosting::QueryDispatch(m_hWnd);
    if (!pDisp)
        AfxThrowOleException(E_NOINTERFACE);  // no hosted control behind this window

    Args built;
    if (pbParamInfo) {
        for (const BYTE* p = pbParamInfo; *p; ++p)
            built.v.emplace_back();
        va_list args;
        va_copy(args, argList);
        try {
            for (size_t i = 0; i < built.v.size(); ++i)
                ReadArg(built.v[i], pbParamInfo[i], args);
        } catch (...) {
            va_end(args);
            pDisp->Release();
            throw;
        }
        va_end(args);
    }
    // IDispatch takes the arguments last first.
    std::vector<VARIANT> reversed(built.v.rbegin(), built.v.rend());

    DISPID named = DISPID_PROPERTYPUT;
    DISPPARAMS params{};
    params.cArgs = static_cast<UINT>(reversed.size());
    params.rgvarg = reversed.empty() ? nullptr : reversed.data();
    if (wFlags & (DISPATCH_PROPERTYPUT | DISPATCH_PROPERTYPUTREF)) {
        params.cNamedArgs = 1;
        params.rgdispidNamedArgs = &named;
    }

    VARIANT result;
    ::VariantInit(&result);
    EXCEPINFO info{};
    UINT argErr = 0;
    HRESULT hr = pDisp->Invoke(dwDispID, IID_NULL, LOCALE_USER_DEFAULT, wFlags, &params,
                               vtRet == VT_EMPTY ? nullptr : &result, &info, &argErr);
    pDisp->Release();
    if (hr == DISP_E_EXCEPTION)
        ThrowDispatchException(info);
    if (FAILED(hr)) {
        ::VariantClear(&result);
        AfxThrowOleException(hr);
    }
    try {
        StoreResult(result, vtRet, pvRet);
    } catch (...) {
        ::VariantClear(&result);
        throw;
    }
    ::VariantClear(&result);
}

void CWnd::SetProperty(DISPID dwDispID, VARTYPE vtProp, ...)
{
    va_list args;
    va_start(args, vtProp);
    BYTE paramInfo[2] = {static_cast<BYTE>(vtProp), 0};
    try {
        InvokeHelperV(dwDispID, vtProp == VT_DISPATCH ? DISPATCH_PROPERTYPUTREF : DISPATCH_PROPERTYPUT, VT_EMPTY,
                      nullptr, paramInfo, args);
    } catch (...) {
        va_end(args);
        throw;
    }
    va_end(args);
}

void CWnd::GetProperty(DISPID dwDispID, VARTYPE vtProp, void* pvProp) const
{
    const_cast<CWnd*>(this)->InvokeHelper(dwDispID, DISPATCH_PROPERTYGET, vtProp, pvProp, nullptr);
}
