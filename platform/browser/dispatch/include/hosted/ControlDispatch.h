// The IDispatch that every in-process control of ours hands to its host.
//
// A control names its members in a table (name, DISPID, which kinds of call it
// answers); this base does the COM bookkeeping and the checks that every
// Invoke needs (interface id, call kind, the DISPID_PROPERTYPUT named argument,
// argument count), and passes the call on to the control's handlers. Members it
// does not know, or calls of a kind a member does not answer, give
// DISP_E_MEMBERNOTFOUND.
#pragma once

#include <windows.h>
#include <oaidl.h>

#include <atomic>
#include <span>
#include <string>

namespace hosted {

enum MemberKind : unsigned { kGet = 1, kPut = 2, kMethod = 4 };

struct DispatchMember {
    const wchar_t* name;
    DISPID id;
    unsigned kinds;  // MemberKind bits
};

class ControlDispatch : public IDispatch {
public:
    // `members` must outlive the object (a static table).
    ControlDispatch(const wchar_t* source, std::span<const DispatchMember> members);

    // The window calls this when it is destroyed: later calls fail with
    // CO_E_OBJNOTCONNECTED instead of reaching a window that is gone.
    void Disconnect() { connected_ = false; }
    bool IsConnected() const { return connected_; }

    STDMETHODIMP QueryInterface(REFIID iid, void** out) override;
    STDMETHODIMP_(ULONG) AddRef() override;
    STDMETHODIMP_(ULONG) Release() override;

    STDMETHODIMP GetTypeInfoCount(UINT* count) override;
    STDMETHODIMP GetTypeInfo(UINT index, LCID, ITypeInfo** info) override;
    STDMETHODIMP GetIDsOfNames(REFIID iid, LPOLESTR* names, UINT count, LCID, DISPID* ids) override;
    STDMETHODIMP Invoke(DISPID id, REFIID iid, LCID, WORD flags, DISPPARAMS* params, VARIANT* result,
                        EXCEPINFO* excepInfo, UINT* argErr) override;

protected:
    virtual ~ControlDispatch() = default;

    // `result` is never null. Return S_OK, a DISP_E_ code, or Fail(...).
    virtual HRESULT GetProperty(DISPID id, VARIANT* result, EXCEPINFO* excepInfo);
    virtual HRESULT PutProperty(DISPID id, const VARIANT& value, EXCEPINFO* excepInfo);
    // `args` are in call order (the first argument first), `result` may be null.
    virtual HRESULT CallMethod(DISPID id, std::span<const VARIANT> args, VARIANT* result,
                               EXCEPINFO* excepInfo, UINT* argErr);

    // Fills the EXCEPINFO (when the caller gave one) and returns DISP_E_EXCEPTION.
    HRESULT Fail(EXCEPINFO* excepInfo, HRESULT code, const std::wstring& description) const;

private:
    const DispatchMember* Find(DISPID id) const;

    std::atomic<ULONG> refs_{1};
    bool connected_ = true;
    const wchar_t* source_;
    std::span<const DispatchMember> members_;
};

// Converts `in` to `type` into `out` (VariantInit'ed by the caller, VariantClear'ed
// by it afterwards). Gives DISP_E_TYPEMISMATCH when it cannot, like DispGetParam.
HRESULT CoerceArg(const VARIANT& in, VARTYPE type, VARIANT* out);

}  // namespace hosted
