#include "hosted/ControlDispatch.h"

#include <oleauto.h>

#include <vector>

namespace hosted {

ControlDispatch::ControlDispatch(const wchar_t* source, std::span<const DispatchMember> members)
    : source_(source), members_(members) {}

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

STDMETHODIMP ControlDispatch::GetIDsOfNames(REFIID iid, LPOLESTR* names, UINT count, LCID, DISPID* ids)
{
    if (!IsEqualIID(iid, IID_NULL))
        return DISP_E_UNKNOWNINTERFACE;
    if (!names || !ids || count == 0)
        return E_INVALIDARG;
    // Only the member name can be resolved: controls of ours take no named arguments.
    for (UINT i = 0; i < count; ++i)
        ids[i] = DISPID_UNKNOWN;
    for (const DispatchMember& m : members_) {
        if (names[0] && _wcsicmp(names[0], m.name) == 0) {
            ids[0] = m.id;
            return count == 1 ? S_OK : DISP_E_UNKNOWNNAME;
        }
    }
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
                                     VARIANT* result, EXCEPINFO* excepInfo, UINT* argErr)
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
        return PutProperty(id, params->rgvarg[0], excepInfo);
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
        const HRESULT hr = GetProperty(id, out, excepInfo);
        VariantClear(&scratch);
        return hr;
    }
    if ((flags & DISPATCH_METHOD) && (member->kinds & kMethod)) {
        // DISPPARAMS holds the arguments last first.
        std::vector<VARIANT> args(params->rgvarg, params->rgvarg + params->cArgs);
        std::vector<VARIANT> inOrder(args.rbegin(), args.rend());
        if (result)
            VariantInit(result);
        UINT localErr = 0;
        const HRESULT hr = CallMethod(id, inOrder, result, excepInfo, &localErr);
        // The callee counts arguments in call order; DISPPARAMS counts them backwards.
        if (argErr && (hr == DISP_E_TYPEMISMATCH || hr == DISP_E_PARAMNOTOPTIONAL))
            *argErr = params->cArgs - 1 - localErr;
        return hr;
    }
    return DISP_E_MEMBERNOTFOUND;
}

HRESULT ControlDispatch::GetProperty(DISPID, VARIANT*, EXCEPINFO*) { return DISP_E_MEMBERNOTFOUND; }

HRESULT ControlDispatch::PutProperty(DISPID, const VARIANT&, EXCEPINFO*) { return DISP_E_MEMBERNOTFOUND; }

HRESULT ControlDispatch::CallMethod(DISPID, std::span<const VARIANT>, VARIANT*, EXCEPINFO*, UINT*)
{
    return DISP_E_MEMBERNOTFOUND;
}

HRESULT ControlDispatch::Fail(EXCEPINFO* excepInfo, HRESULT code, const std::wstring& description) const
{
    if (excepInfo) {
        *excepInfo = EXCEPINFO{};
        excepInfo->bstrSource = SysAllocString(source_);
        excepInfo->bstrDescription = SysAllocStringLen(description.data(), UINT(description.size()));
        excepInfo->scode = code;
    }
    return DISP_E_EXCEPTION;
}

HRESULT CoerceArg(const VARIANT& in, VARTYPE type, VARIANT* out)
{
    // Arguments passed by reference arrive as VT_BYREF | type; VariantChangeType
    // dereferences them.
    const HRESULT hr = VariantChangeType(out, const_cast<VARIANT*>(&in), 0, type);
    if (FAILED(hr))
        return DISP_E_TYPEMISMATCH;
    return S_OK;
}

}  // namespace hosted
