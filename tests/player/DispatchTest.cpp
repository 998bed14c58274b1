// The player's IDispatch as a host sees it: ids, call kinds and errors.
#include "PlayerHost.h"

#include "hosting/HostedControl.h"

#include <gtest/gtest.h>

namespace player_test {
namespace {

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
