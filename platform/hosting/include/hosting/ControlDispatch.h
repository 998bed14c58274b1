// The IDispatch that every in-process control of ours hands to its host.
//
// A control lists its members in a table (DISPID, which kinds of call it
// answers); this base does the COM bookkeeping and the checks that every
// Invoke needs (interface id, call kind, the DISPID_PROPERTYPUT named argument,
// argument count), and passes the call on to the control's handlers. Members it
// does not know, or calls of a kind a member does not answer, give
// DISP_E_MEMBERNOTFOUND. Hosts call by DISPID: names are not resolved.
#pragma once

#include <windows.h>
#include <oaidl.h>

#include <span>
#include <string>

namespace hosting {

enum MemberKind : unsigned { kGet = 1, kPut = 2, kMethod = 4 };

struct DispatchMember {
    DISPID id;
    unsigned kinds;  // MemberKind bits
};

class ControlDispatch : public IDispatch {
public:
    // `members` must outlive the object (a static table).
    explicit ControlDispatch(std::span<const DispatchMember> members);

    // The window calls this when it is destroyed: later calls fail with
    // CO_E_OBJNOTCONNECTED instead of reaching a window that is gone.
    void Disconnect() { connected_ = false; }

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
    virtual HRESULT GetProperty(DISPID id, VARIANT* result);
    virtual HRESULT PutProperty(DISPID id, const VARIANT& value);
    // `args` are in call order (the first argument first).
    virtual HRESULT CallMethod(DISPID id, std::span<const VARIANT> args, EXCEPINFO* excepInfo);

    // Fills the EXCEPINFO (when the caller gave one) and returns DISP_E_EXCEPTION.
    static HRESULT Fail(EXCEPINFO* excepInfo, HRESULT code, const std::wstring& description);

private:
    const DispatchMember* Find(DISPID id) const;

    ULONG refs_ = 1;  // the control's thread only
    bool connected_ = true;
    std::span<const DispatchMember> members_;
};

// `in` as a string, converted as VariantChangeType does (arguments passed by
// reference included); nothing when it cannot be converted.
bool ArgAsString(const VARIANT& in, std::wstring& out);
// `in` as a 32-bit integer, likewise.
bool ArgAsLong(const VARIANT& in, long& out);

}  // namespace hosting
