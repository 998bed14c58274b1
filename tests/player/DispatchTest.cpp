// The player's IDispatch as a host sees it: names, ids, call kinds and errors.
#include "PlayerHost.h"

#include "hosted_control.h"
#include "player/MediaPlayerCtl.h"

#include <gtest/gtest.h>

namespace player_test {
namespace {

DISPID IdOf(IDispatch* dispatch, const wchar_t* name, HRESULT* hr = nullptr)
{
    LPOLESTR names[] = {const_cast<LPOLESTR>(name)};
    DISPID id = 12345;
    const HRESULT result = dispatch->GetIDsOfNames(IID_NULL, names, 1, LOCALE_USER_DEFAULT, &id);
    if (hr)
        *hr = result;
    return id;
}

TEST(PlayerDispatch, NamesGiveTheMediaPlayerIds)
{
    PlayerHost host;
    IDispatch* d = host.Dispatch();
    ASSERT_NE(d, nullptr);
    EXPECT_EQ(IdOf(d, L"URL"), 1);
    EXPECT_EQ(IdOf(d, L"url"), 1);  // automation names are case-insensitive
    EXPECT_EQ(IdOf(d, L"close"), 3);
    EXPECT_EQ(IdOf(d, L"playState"), 10);
    EXPECT_EQ(IdOf(d, L"uiMode"), 23);
    HRESULT hr = S_OK;
    EXPECT_EQ(IdOf(d, L"settings", &hr), DISPID_UNKNOWN);
    EXPECT_EQ(hr, DISP_E_UNKNOWNNAME);
}

TEST(PlayerDispatch, EachWindowMessageHandsOutAnotherReference)
{
    PlayerHost host;
    IDispatch* second = hosting::QueryDispatch(host.Control());
    ASSERT_EQ(second, host.Dispatch());
    IUnknown* unknown = nullptr;
    ASSERT_EQ(second->QueryInterface(IID_IUnknown, reinterpret_cast<void**>(&unknown)), S_OK);
    unknown->Release();
    EXPECT_EQ(second->QueryInterface(IID_IStream, reinterpret_cast<void**>(&unknown)), E_NOINTERFACE);
    second->Release();
    EXPECT_EQ(host.PlayState(), 1);
}

TEST(PlayerDispatch, WrongKindsOfCallAreRefused)
{
    PlayerHost host;
    IDispatch* d = host.Dispatch();
    VARIANT v;
    v.vt = VT_I4;
    v.lVal = 3;
    // playState cannot be written, URL cannot be called, unknown ids are unknown.
    EXPECT_EQ(PutProperty(d, 10, v), DISP_E_MEMBERNOTFOUND);
    VARIANT result;
    VariantInit(&result);
    EXPECT_EQ(GetProperty(d, 1, &result, DISPATCH_METHOD), DISP_E_MEMBERNOTFOUND);
    EXPECT_EQ(GetProperty(d, 999, &result), DISP_E_MEMBERNOTFOUND);
    EXPECT_EQ(PutProperty(d, 999, v), DISP_E_MEMBERNOTFOUND);

    // A put must name its value DISPID_PROPERTYPUT.
    DISPPARAMS unnamed{&v, nullptr, 1, 0};
    EXPECT_EQ(d->Invoke(1, IID_NULL, 0, DISPATCH_PROPERTYPUT, &unnamed, nullptr, nullptr, nullptr),
              DISP_E_PARAMNOTFOUND);
    // A get takes no arguments.
    EXPECT_EQ(d->Invoke(10, IID_NULL, 0, DISPATCH_PROPERTYGET, &unnamed, &result, nullptr, nullptr),
              DISP_E_BADPARAMCOUNT);
    DISPPARAMS none{};
    EXPECT_EQ(d->Invoke(10, IID_IDispatch, 0, DISPATCH_PROPERTYGET, &none, &result, nullptr, nullptr),
              DISP_E_UNKNOWNINTERFACE);
}

TEST(PlayerDispatch, CloseEndsPlayback)
{
    PlayerHost host;
    ASSERT_EQ(host.PutUrl(WriteWav(L"close.wav", 60000)), S_OK);
    ASSERT_NE(host.PlayState(), 1);
    DISPPARAMS none{};
    EXPECT_EQ(host.Dispatch()->Invoke(3, IID_NULL, 0, DISPATCH_METHOD, &none, nullptr, nullptr, nullptr), S_OK);
    EXPECT_EQ(host.PlayState(), 1);
    EXPECT_EQ(host.Url(), L"");
}

TEST(PlayerDispatch, BadUiModeIsAnExceptionWithADescription)
{
    PlayerHost host;
    VARIANT mode;
    mode.vt = VT_BSTR;
    mode.bstrVal = SysAllocString(L"sideways");
    EXCEPINFO info{};
    EXPECT_EQ(PutProperty(host.Dispatch(), 23, mode, &info), DISP_E_EXCEPTION);
    VariantClear(&mode);
    ASSERT_NE(info.bstrDescription, nullptr);
    EXPECT_NE(std::wstring(info.bstrDescription).find(L"sideways"), std::wstring::npos);
    EXPECT_NE(info.bstrSource, nullptr);
    SysFreeString(info.bstrDescription);
    SysFreeString(info.bstrSource);

    VARIANT result;
    VariantInit(&result);
    ASSERT_EQ(GetProperty(host.Dispatch(), 23, &result), S_OK);
    EXPECT_STREQ(result.bstrVal, L"full");
    VariantClear(&result);
}

TEST(PlayerDispatch, ReferenceOutlivingTheWindowFailsCleanly)
{
    IDispatch* kept = nullptr;
    {
        PlayerHost host;
        kept = hosting::QueryDispatch(host.Control());
        ASSERT_NE(kept, nullptr);
    }
    VARIANT result;
    VariantInit(&result);
    EXPECT_EQ(GetProperty(kept, 10, &result), CO_E_OBJNOTCONNECTED);
    kept->Release();
}

}  // namespace
}  // namespace player_test
