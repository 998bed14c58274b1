#include "PlayerDispatch.h"

#include "PlayerWindow.h"

#include <oleauto.h>

namespace player {
namespace {

// The ids of the Windows Media Player's own interface, so callers written for it work.
enum : DISPID { kUrl = 1, kClose = 3, kPlayState = 10, kUiMode = 23 };

constexpr hosted::DispatchMember kMembers[] = {
    {L"URL", kUrl, hosted::kGet | hosted::kPut},
    {L"close", kClose, hosted::kMethod},
    {L"playState", kPlayState, hosted::kGet},
    {L"uiMode", kUiMode, hosted::kGet | hosted::kPut},
};

HRESULT ReturnString(VARIANT* result, const std::wstring& text)
{
    result->vt = VT_BSTR;
    result->bstrVal = SysAllocStringLen(text.data(), UINT(text.size()));
    return result->bstrVal ? S_OK : E_OUTOFMEMORY;
}

}  // namespace

PlayerDispatch::PlayerDispatch(PlayerWindow* window) : ControlDispatch(L"MediaPlayerCtl", kMembers), window_(window) {}

HRESULT PlayerDispatch::GetProperty(DISPID id, VARIANT* result, EXCEPINFO*)
{
    switch (id) {
    case kUrl: return ReturnString(result, window_->Url());
    case kUiMode: return ReturnString(result, window_->UiMode());
    case kPlayState:
        result->vt = VT_I4;
        result->lVal = long(window_->State());
        return S_OK;
    }
    return DISP_E_MEMBERNOTFOUND;
}

HRESULT PlayerDispatch::PutProperty(DISPID id, const VARIANT& value, EXCEPINFO* excepInfo)
{
    VARIANT text;
    VariantInit(&text);
    if (FAILED(hosted::CoerceArg(value, VT_BSTR, &text)))
        return DISP_E_TYPEMISMATCH;
    const std::wstring string(text.bstrVal ? text.bstrVal : L"", SysStringLen(text.bstrVal));
    VariantClear(&text);
    if (id == kUrl) {
        window_->SetUrl(string);
        return S_OK;
    }
    if (id == kUiMode) {
        if (window_->SetUiMode(string))
            return S_OK;
        return Fail(excepInfo, E_INVALIDARG, L"uiMode 只能是 full、mini、none 或 invisible，不能是“" + string + L"”。");
    }
    return DISP_E_MEMBERNOTFOUND;
}

HRESULT PlayerDispatch::CallMethod(DISPID id, std::span<const VARIANT> args, VARIANT*, EXCEPINFO*, UINT*)
{
    if (id != kClose)
        return DISP_E_MEMBERNOTFOUND;
    if (!args.empty())
        return DISP_E_BADPARAMCOUNT;
    window_->Close();
    return S_OK;
}

}  // namespace player
