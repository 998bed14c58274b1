#include "PlayerDispatch.h"

#include "PlayerWindow.h"

#include <oleauto.h>

namespace player {
namespace {

// The ids of the Windows Media Player's own interface, so callers written for it work.
enum : DISPID { kUrl = 1, kPlayState = 10 };

constexpr hosting::DispatchMember kMembers[] = {
    {kUrl, hosting::kGet | hosting::kPut},
    {kPlayState, hosting::kGet},
};

}  // namespace

PlayerDispatch::PlayerDispatch(PlayerWindow* window) : ControlDispatch(kMembers), window_(window) {}

HRESULT PlayerDispatch::GetProperty(DISPID id, VARIANT* result)
{
    if (id == kPlayState) {
        result->vt = VT_I4;
        result->lVal = long(window_->State());
        return S_OK;
    }
    const std::wstring& url = window_->Url();
    result->vt = VT_BSTR;
    result->bstrVal = SysAllocStringLen(url.data(), UINT(url.size()));
    return result->bstrVal ? S_OK : E_OUTOFMEMORY;
}

HRESULT PlayerDispatch::PutProperty(DISPID, const VARIANT& value)
{
    std::wstring url;
    if (!hosting::ArgAsString(value, url))
        return DISP_E_TYPEMISMATCH;
    window_->SetUrl(url);
    return S_OK;
}

}  // namespace player
