// Pieces shared by the COM objects of this library.
#pragma once

#include <ado.h>
#include <string>

namespace ado::detail {

// The IDispatch half of ADO's dual interfaces. The objects carry no type
// information, so they are reached through their vtables only.
template <class Interface>
class DispatchOnly : public Interface {
public:
    HRESULT __stdcall GetTypeInfoCount(UINT* pctinfo) override
    {
        if (!pctinfo)
            return E_POINTER;
        *pctinfo = 0;
        return S_OK;
    }
    HRESULT __stdcall GetTypeInfo(UINT, LCID, ITypeInfo** ppTInfo) override
    {
        if (ppTInfo)
            *ppTInfo = nullptr;
        return DISP_E_BADINDEX;
    }
    HRESULT __stdcall GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override
    {
        return DISP_E_UNKNOWNNAME;
    }
    HRESULT __stdcall Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*, UINT*) override
    {
        return DISP_E_MEMBERNOTFOUND;
    }
    HRESULT __stdcall get_Properties(Properties** ppvObject)
    {
        if (ppvObject)
            *ppvObject = nullptr;
        return E_NOTIMPL;
    }
};

// Sets the thread's error information (what _com_error::Description() shows) and
// returns hr, so that a failing method ends with `return Fail(...)`.
HRESULT Fail(HRESULT hr, REFIID iid, const wchar_t* source, const std::wstring& description);

// The answer of the ADO methods that this library does not carry out.
HRESULT NotAvailable(REFIID iid, const wchar_t* source, const wchar_t* member);

// True when riid is one of iids.
bool IsOneOf(REFIID riid, std::initializer_list<const IID*> iids);

std::wstring Utf8ToWide(const char* utf8);
std::string WideToUtf8(const std::wstring& wide);

}  // namespace ado::detail
