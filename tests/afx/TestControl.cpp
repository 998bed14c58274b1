#include "TestControl.h"

#include <hosted_control.h>

#include <oleauto.h>

#include <string>

namespace testctl {

Log& TheLog()
{
    static Log log;
    return log;
}

void ResetLog()
{
    ::VariantClear(&TheLog().loadedType);
    TheLog().calls.clear();
    TheLog().loadedPath.clear();
}

namespace {

std::wstring Describe(const VARIANT& v)
{
    VARIANT s;
    ::VariantInit(&s);
    std::wstring out = std::to_wstring(v.vt) + L":";
    if (SUCCEEDED(::VariantChangeType(&s, const_cast<VARIANT*>(&v), VARIANT_ALPHABOOL, VT_BSTR)))
        out += s.bstrVal ? s.bstrVal : L"";
    ::VariantClear(&s);
    return out;
}

class Dispatch final : public IDispatch {
public:
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** ppv) override
    {
        if (riid == IID_IUnknown || riid == IID_IDispatch) {
            *ppv = static_cast<IDispatch*>(this);
            AddRef();
            return S_OK;
        }
        *ppv = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ++m_refs; }
    ULONG STDMETHODCALLTYPE Release() override
    {
        ULONG n = --m_refs;
        if (n == 0)
            delete this;
        return n;
    }
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* pctinfo) override
    {
        *pctinfo = 0;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override
    {
        return DISP_E_UNKNOWNNAME;
    }

    HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID, LCID, WORD flags, DISPPARAMS* p, VARIANT* result,
                                     EXCEPINFO* info, UINT*) override
    {
        TheLog().calls.push_back({id, flags, p->cArgs, p->cNamedArgs,
                                  p->cNamedArgs ? p->rgdispidNamedArgs[0] : DISPID_UNKNOWN});
        const bool put = (flags & DISPATCH_PROPERTYPUT) && p->cArgs == 1 && p->cNamedArgs == 1 &&
                         p->rgdispidNamedArgs[0] == DISPID_PROPERTYPUT;
        const bool get = (flags & DISPATCH_PROPERTYGET) && p->cArgs == 0;
        switch (id) {
        case 1:
            if (put) {
                if (p->rgvarg[0].vt != VT_BSTR)
                    return DISP_E_TYPEMISMATCH;
                m_text = p->rgvarg[0].bstrVal ? p->rgvarg[0].bstrVal : L"";
                return S_OK;
            }
            if (get && result) {
                result->vt = VT_BSTR;
                result->bstrVal = ::SysAllocString(m_text.c_str());
                return S_OK;
            }
            break;
        case 10:
            if (put) {
                if (p->rgvarg[0].vt != VT_I4)
                    return DISP_E_TYPEMISMATCH;
                m_state = p->rgvarg[0].lVal;
                return S_OK;
            }
            if (get && result) {
                result->vt = VT_I4;
                result->lVal = m_state;
                return S_OK;
            }
            break;
        case 37:
            if ((flags & DISPATCH_METHOD) && p->cArgs == 2 && p->cNamedArgs == 0) {
                if (p->rgvarg[1].vt != VT_BSTR)
                    return DISP_E_TYPEMISMATCH;
                TheLog().loadedPath = p->rgvarg[1].bstrVal;
                ::VariantClear(&TheLog().loadedType);
                ::VariantCopy(&TheLog().loadedType, &p->rgvarg[0]);
                return S_OK;
            }
            break;
        case 50:
            if (flags & DISPATCH_METHOD) {
                std::wstring all;
                for (UINT i = p->cArgs; i-- > 0;)
                    all += Describe(p->rgvarg[i]) + (i ? L"," : L"");
                if (result) {
                    result->vt = VT_BSTR;
                    result->bstrVal = ::SysAllocString(all.c_str());
                }
                return S_OK;
            }
            break;
        case 99:
            if (info) {
                *info = EXCEPINFO{};
                info->wCode = 1001;
                info->bstrDescription = ::SysAllocString(kFailure);
                info->bstrSource = ::SysAllocString(L"AfxTestCtl");
            }
            return DISP_E_EXCEPTION;
        default:
            return DISP_E_MEMBERNOTFOUND;
        }
        return DISP_E_BADPARAMCOUNT;
    }

private:
    ULONG m_refs = 1;
    std::wstring m_text;
    long m_state = 1;
};

LRESULT CALLBACK WndProc(HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    auto* disp = reinterpret_cast<Dispatch*>(::GetWindowLongPtrW(hWnd, 0));
    if (msg == WM_NCCREATE) {
        ::SetWindowLongPtrW(hWnd, 0, reinterpret_cast<LONG_PTR>(new Dispatch));
    } else if (msg == WM_NCDESTROY && disp) {
        ::SetWindowLongPtrW(hWnd, 0, 0);
        disp->Release();
    } else if (msg == hosting::GetDispatchMessageId()) {
        if (!disp)
            return 0;
        disp->AddRef();
        return reinterpret_cast<LRESULT>(static_cast<IDispatch*>(disp));
    }
    return ::DefWindowProcW(hWnd, msg, wParam, lParam);
}

}  // namespace

void RegisterWindowClass(HINSTANCE instance)
{
    WNDCLASSW wc{};
    wc.lpfnWndProc = &WndProc;
    wc.cbWndExtra = sizeof(LONG_PTR);
    wc.hInstance = instance;
    wc.lpszClassName = kClassName;
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    ::RegisterClassW(&wc);
}

}  // namespace testctl
