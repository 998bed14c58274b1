// Hosting: CreateControl by CLSID and InvokeHelper through the control's real
// IDispatch, first on a logging test control, then the wrappers on our controls.
#include <afxdisp.h>
#include <gtest/gtest.h>

#include <browser/WebBrowserCtl.h>
#include <player/MediaPlayerCtl.h>
#include <richtext/RichTextCtl.h>

#include <fstream>

#include "TestControl.h"
#include "afx_test_ids.h"
#include "controls/RichText.h"
#include "controls/WMPPlayer4.h"
#include "controls/WebBrowser2.h"
#include "support/Drive.h"
#include "support/MessageBoxes.h"
#include "support/WavBytes.h"

namespace {

const struct Registrar {
    Registrar() { AfxRegisterHostedControl(testctl::kClsid, testctl::kClassName, &testctl::RegisterWindowClass); }
} registrar;

std::wstring ClassOf(HWND h)
{
    wchar_t cls[64] = {};
    ::GetClassNameW(h, cls, 64);
    return cls;
}

class AfxHosting : public testing::Test {
protected:
    void SetUp() override
    {
        testctl::ResetLog();
        ASSERT_TRUE(parent.Create(IDD_ROUTING, nullptr));
        ASSERT_TRUE(control.CreateControl(testctl::kClsid, L"测试", WS_VISIBLE, CRect(0, 0, 50, 20), &parent, 4321));
    }
    void TearDown() override { parent.DestroyWindow(); }

    CDialog parent{IDD_ROUTING};
    CWnd control;
};

TEST_F(AfxHosting, CreateControlMakesAChildOfTheRegisteredClass)
{
    EXPECT_EQ(ClassOf(control.m_hWnd), testctl::kClassName);
    EXPECT_EQ(::GetParent(control.m_hWnd), parent.m_hWnd);
    EXPECT_EQ(control.GetDlgCtrlID(), 4321);
    EXPECT_TRUE(control.GetStyle() & WS_CHILD);
    EXPECT_EQ(parent.GetDlgItem(4321), &control);

    CWnd unknown;
    const CLSID nobody = {0x12345678, 0, 0, {0, 0, 0, 0, 0, 0, 0, 1}};
    EXPECT_FALSE(unknown.CreateControl(nobody, nullptr, WS_VISIBLE, CRect(0, 0, 5, 5), &parent, 1));
    EXPECT_EQ(unknown.m_hWnd, nullptr);
}

TEST_F(AfxHosting, PropertyPutAndGetGoThroughInvoke)
{
    static const BYTE bstrParam[] = VTS_BSTR;
    control.InvokeHelper(1, DISPATCH_PROPERTYPUT, VT_EMPTY, nullptr, bstrParam, L"C:\\声音\\nei5.wav");
    ASSERT_EQ(testctl::TheLog().calls.size(), 1u);
    const testctl::Call& put = testctl::TheLog().calls[0];
    EXPECT_EQ(put.id, 1);
    EXPECT_EQ(put.flags, DISPATCH_PROPERTYPUT);
    EXPECT_EQ(put.args, 1u);
    EXPECT_EQ(put.namedArgs, 1u);
    EXPECT_EQ(put.firstNamed, DISPID_PROPERTYPUT);
    EXPECT_EQ(testctl::TheLog().text, L"C:\\声音\\nei5.wav");

    long state = 0;
    control.InvokeHelper(10, DISPATCH_PROPERTYGET, VT_I4, &state, nullptr);
    EXPECT_EQ(state, 1);
}

TEST_F(AfxHosting, MethodArgumentsArriveInOrderWithTheirTypes)
{
    static const BYTE loadParams[] = VTS_BSTR VTS_VARIANT;
    VARIANT type;
    ::VariantInit(&type);
    type.vt = VT_UI1;
    type.bVal = 1;
    control.InvokeHelper(37, DISPATCH_METHOD, VT_EMPTY, nullptr, loadParams, L"C:\\练习.txt", &type);
    EXPECT_EQ(testctl::TheLog().loadedPath, L"C:\\练习.txt");
    EXPECT_EQ(testctl::TheLog().loadedType.vt, VT_UI1);
    EXPECT_EQ(testctl::TheLog().loadedType.bVal, 1);
}

TEST_F(AfxHosting, DispatchExceptionBecomesCOleDispatchException)
{
    bool caught = false;
    try {
        control.InvokeHelper(99, DISPATCH_METHOD, VT_EMPTY, nullptr, nullptr);
    } catch (COleDispatchException* e) {
        caught = true;
        EXPECT_EQ(e->m_strDescription, testctl::kFailure);
        EXPECT_EQ(e->m_scError, E_ACCESSDENIED);
        wchar_t text[256] = {};
        EXPECT_TRUE(e->GetErrorMessage(text, 256));
        EXPECT_STREQ(text, testctl::kFailure);
        e->Delete();
    }
    EXPECT_TRUE(caught);
}

TEST_F(AfxHosting, OtherFailuresBecomeCOleExceptionWithTheResult)
{
    SCODE sc = S_OK;
    try {
        control.InvokeHelper(12345, DISPATCH_METHOD, VT_EMPTY, nullptr, nullptr);
    } catch (COleException* e) {
        sc = e->m_sc;
        e->Delete();
    }
    EXPECT_EQ(sc, DISP_E_MEMBERNOTFOUND);

    CWnd notAControl;
    notAControl.Attach(parent.m_hWnd);
    sc = S_OK;
    try {
        long v = 0;
        notAControl.InvokeHelper(10, DISPATCH_PROPERTYGET, VT_I4, &v, nullptr);
    } catch (COleException* e) {
        sc = e->m_sc;
        e->Delete();
    }
    notAControl.Detach();
    EXPECT_EQ(sc, E_NOINTERFACE);
}

class CHostedDlg : public CDialog {
public:
    CHostedDlg() : CDialog(IDD_HOSTED) {}
    CWnd m_control;

protected:
    void DoDataExchange(CDataExchange* pDX) override { DDX_Control(pDX, IDC_CONTROL, m_control); }
};

TEST(AfxHostingDialog, ControlNamedInTheTemplateIsBoundAndAutomated)
{
    CHostedDlg dlg;
    ASSERT_TRUE(dlg.Create(IDD_HOSTED, nullptr));
    ASSERT_NE(dlg.m_control.m_hWnd, nullptr);
    EXPECT_EQ(ClassOf(dlg.m_control.m_hWnd), testctl::kClassName);
    long state = 0;
    dlg.m_control.InvokeHelper(10, DISPATCH_PROPERTYGET, VT_I4, &state, nullptr);
    EXPECT_EQ(state, 1);
    dlg.DestroyWindow();
    EXPECT_EQ(dlg.m_control.m_hWnd, nullptr);
}

// The wrappers on the real controls.
TEST(AfxRealControls, WrappersCreateOurControlsByTheirClsids)
{
    CDialog parent(IDD_ROUTING);
    ASSERT_TRUE(parent.Create(IDD_ROUTING, nullptr));

    wchar_t dir[MAX_PATH];
    ::GetTempPathW(MAX_PATH, dir);
    const std::wstring wav = std::wstring(dir) + L"afx_recording.wav";
    {
        std::ofstream out(wav.c_str(), std::ios::binary);
        out << test_support::PcmWav(200);
    }
    CWMPPlayer4 player;
    ASSERT_TRUE(player.Create(nullptr, nullptr, 0, CRect(0, 0, 100, 60), &parent, 1004));
    EXPECT_EQ(ClassOf(player.m_hWnd), player::kClassName);
    EXPECT_EQ(player.GetPlayState(), 1);
    player.SetURL(wav.c_str());
    EXPECT_EQ(player.GetPlayState(), 3);
    EXPECT_TRUE(PumpUntil([&] { return player.GetPlayState() == 1; }, 3000));
    player.SetURL(L"C:\\no\\such\\file.wav");  // silently nothing
    EXPECT_EQ(player.GetPlayState(), 1);

    CWebBrowser2 browser;
    ASSERT_TRUE(browser.Create(nullptr, nullptr, WS_VISIBLE, CRect(0, 0, 6, 6), &parent, 1028));
    EXPECT_EQ(ClassOf(browser.m_hWnd), browser::kClassName);

    const std::wstring path = std::wstring(dir) + L"afx_practice.txt";
    {
        std::ofstream out(path.c_str(), std::ios::binary);
        out << "\xEF\xBB\xBF" "\xE4\xBD\xA0\xE5\xA5\xBD" "abc";  // UTF-8: 你好abc
    }
    CRichText rich;
    ASSERT_TRUE(rich.Create(nullptr, nullptr, 0, CRect(0, 0, 10, 10), &parent, 1016));
    EXPECT_EQ(ClassOf(rich.m_hWnd), richtext::kClassName);
    VARIANT type;
    ::VariantInit(&type);
    type.vt = VT_UI1;
    type.bVal = 1;
    rich.LoadFile(path.c_str(), type);
    CString text;
    rich.GetWindowText(text);
    EXPECT_EQ(text, L"你好abc");
    ::DeleteFileW(path.c_str());
    parent.DestroyWindow();
    ::DeleteFileW(wav.c_str());
}

}  // namespace
