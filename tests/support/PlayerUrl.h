// What a media player control was last asked to play, read from the control
// itself through its dispatch (the program only ever sets it).
#pragma once

#include <hosting/HostedControl.h>

#include <string>

namespace test_support {

// The control's URL; "<no player>" when `player` hands out no dispatch.
inline std::wstring PlayerUrl(HWND player)
{
    IDispatch* dispatch = hosting::QueryDispatch(player);
    if (!dispatch)
        return L"<no player>";
    DISPPARAMS none{};
    VARIANT url;
    VariantInit(&url);
    const HRESULT hr = dispatch->Invoke(1, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_PROPERTYGET, &none, &url,
                                        nullptr, nullptr);
    dispatch->Release();
    std::wstring text = SUCCEEDED(hr) && url.vt == VT_BSTR ? std::wstring(url.bstrVal, SysStringLen(url.bstrVal))
                                                          : L"<failed>";
    VariantClear(&url);
    return text;
}

}  // namespace test_support
