#include "hosting/ControlDispatch.h"

#include <oleauto.h>

#include <iterator>
#include <vector>

namespace hosting {

ControlDispatch::ControlDispatch(std::span<const DispatchMember> members) : members_(members) {}

STDMETHODIMP ControlDispatch::QueryInterface(REFIID iid, void** out)
{
    if (!out)
        return E_POINTER;
    if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IDispatch)) {
        *out = static_cast<IDispatch*>(this);
        AddRef();
        return S_OK;
    }
    *out = nullptr;
    return E_NOINTERFACE;
}

STDMETHODIMP_(ULONG) ControlDispatch::AddRef() { return ++refs_; }

STDMETHODIMP_(ULONG) ControlDispatch::Release()
{
    const ULONG left = --refs_;
    if (left == 0)
        delete this;
    return left;
}

STDMETHODIMP ControlDispatch::GetTypeInfoCount(UINT* count)
{
    if (!count)
        return E_POINTER;
    *count = 0;
    return S_OK;
}

STDMETHODIMP ControlDispatch::GetTypeInfo(UINT, LCID, ITypeInfo** info)
{
    if (info)
        *info = nullptr;
    return DISP_E_BADINDEX;
}

STDMETHODIMP ControlDispatch::GetIDsOfNames(REFIID, LPOLESTR*, UINT count, LCID, DISPID* ids)
{
    for (UINT i = 0; ids && i < count; ++i)
        ids[i] = DISPID_UNKNOWN;
    return DISP_E_UNKNOWNNAME;
}

const DispatchMember* ControlDispatch::Find(DISPID id) const
{
    for (const DispatchMember& m : members_)
        if (m.id == id)
            return &m;
    return nullptr;
}

STDMETHODIMP ControlDispatch::Invoke(DISPID id, REFIID iid, LCID, WORD flags, DISPPARAMS* params,
                                     VARIANT* result, EXCEPINFO* excepInfo, UINT*)
{
    if (!IsEqualIID(iid, IID_NULL))
        return DISP_E_UNKNOWNINTERFACE;
    if (!params)
        return E_INVALIDARG;
    if (!connected_)
        return CO_E_OBJNOTCONNECTED;
    const DispatchMember* member = Find(id);
    if (!member)
        return DISP_E_MEMBERNOTFOUND;
    if (excepInfo)
        *excepInfo = EXCEPINFO{};

    if (flags & (DISPATCH_PROPERTYPUT | DISPATCH_PROPERTYPUTREF)) {
        if (!(member->kinds & kPut))
            return DISP_E_MEMBERNOTFOUND;
        if (params->cNamedArgs != 1 || !params->rgdispidNamedArgs ||
            params->rgdispidNamedArgs[0] != DISPID_PROPERTYPUT)
            return DISP_E_PARAMNOTFOUND;
        if (params->cArgs != 1)
            return DISP_E_BADPARAMCOUNT;
        return PutProperty(id, params->rgvarg[0]);
    }
    if (params->cNamedArgs != 0)
        return DISP_E_NONAMEDARGS;

    // Automation clients often ask for METHOD | PROPERTYGET at once: a property
    // answers the get, a method the call.
    if ((flags & DISPATCH_PROPERTYGET) && (member->kinds & kGet)) {
        if (params->cArgs != 0)
            return DISP_E_BADPARAMCOUNT;
        VARIANT scratch;
        VariantInit(&scratch);
        VARIANT* out = result ? result : &scratch;
        VariantInit(out);
        const HRESULT hr = GetProperty(id, out);
        VariantClear(&scratch);
        return hr;
    }
    if ((flags & DISPATCH_METHOD) && (member->kinds & kMethod)) {
        // DISPPARAMS holds the arguments last first.
        const std::vector<VARIANT> args(std::make_reverse_iterator(params->rgvarg + params->cArgs),
                                        std::make_reverse_iterator(params->rgvarg));
        if (result)
            VariantInit(result);
        return CallMethod(id, args, excepInfo);
    }
    return DISP_E_MEMBERNOTFOUND;
}

HRESULT ControlDispatch::GetProperty(DISPID, VARIANT*) { return DISP_E_MEMBERNOTFOUND; }

HRESULT ControlDispatch::PutProperty(DISPID, const VARIANT&) { return DISP_E_MEMBERNOTFOUND; }

HRESULT ControlDispatch::CallMethod(DISPID, std::span<const VARIANT>, EXCEPINFO*) { return DISP_E_MEMBERNOTFOUND; }

HRESULT ControlDispatch::Fail(EXCEPINFO* excepInfo, HRESULT code, const std::wstring& description)
{
    if (excepInfo) {
        *excepInfo = EXCEPINFO{};
        excepInfo->bstrDescription = SysAllocStringLen(description.data(), UINT(description.size()));
        excepInfo->scode = code;
    }
    return DISP_E_EXCEPTION;
}

namespace {

// Arguments passed by reference arrive as VT_BYREF | type; VariantChangeType
// dereferences them.
bool Convert(const VARIANT& in, VARTYPE type, VARIANT& out)
{
    VariantInit(&out);
    return SUCCEEDED(VariantChangeType(&out, const_cast<VARIANT*>(&in), 0, type));
}

}  // namespace

bool ArgAsString(const VARIANT& in, std::wstring& out)
{
    VARIANT text;
    if (!Convert(in, VT_BSTR, text))
        return false;
    out.assign(text.bstrVal ? text.bstrVal : L"", SysStringLen(text.bstrVal));
    VariantClear(&text);
    return true;
}

bool ArgAsLong(const VARIANT& in, long& out)
{
    VARIANT number;
    if (!Convert(in, VT_I4, number))
        return false;
    out = number.lVal;
    return true;
}

}  // namespace hosting
