// The application object's start-up path (what WinMain runs) and the
// common-control wrappers the training page uses.
#include <afxcmn.h>
#include <gtest/gtest.h>

#include "afx_test_ids.h"
#include "support/Drive.h"

namespace {

class CTestApp : public CWinApp {
public:
    bool keepRunning = false;
    int inits = 0;
    bool laterRan = false;
    CDialog mainDlg{IDD_ROUTING};

    BOOL InitInstance() override
    {
        ++inits;
        Later([this] { laterRan = true; });
        if (!keepRunning)
            return FALSE;
        mainDlg.Create(IDD_ROUTING, nullptr);
        m_pMainWnd = &mainDlg;
        // The program's loop runs until its main window is gone.
        Later([this] { mainDlg.DestroyWindow(); });
        return TRUE;
    }
};

TEST(AfxApp, InitInstanceFalseEndsWithoutALoop)
{
    CTestApp app;
    EXPECT_EQ(AfxWinMain(::GetModuleHandleW(nullptr), nullptr, nullptr, SW_SHOWNORMAL), 0);
    EXPECT_EQ(app.inits, 1);
    EXPECT_FALSE(app.laterRan) << "no message loop ran";
    PumpUntilIdle();
    EXPECT_TRUE(app.laterRan);
}

TEST(AfxApp, InitInstanceTrueRunsTheLoopUntilTheMainWindowIsGone)
{
    CTestApp app;
    app.keepRunning = true;
    EXPECT_EQ(AfxWinMain(::GetModuleHandleW(nullptr), nullptr, nullptr, SW_SHOWNORMAL), 0);
    EXPECT_EQ(app.inits, 1);
    EXPECT_TRUE(app.laterRan);
    EXPECT_EQ(app.m_pMainWnd, nullptr);
    EXPECT_EQ(app.mainDlg.m_hWnd, nullptr);
}

class AfxCommonControls : public testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(dlg.Create(IDD_ROUTING, nullptr)); }
    void TearDown() override { dlg.DestroyWindow(); }
    CDialog dlg{IDD_ROUTING};
};

TEST_F(AfxCommonControls, SliderRangeAndClampedPosition)
{
    CSliderCtrl slider;
    ASSERT_TRUE(slider.SubclassDlgItem(IDC_SLIDER, &dlg));
    slider.SetRange(1, 10);
    EXPECT_EQ(slider.GetRangeMin(), 1);
    EXPECT_EQ(slider.GetRangeMax(), 10);
    EXPECT_EQ(slider.GetPos(), 1);
    slider.SetPos(15);
    EXPECT_EQ(slider.GetPos(), 10);
    slider.SetPos(4);
    EXPECT_EQ(slider.GetPos(), 4);
}

TEST_F(AfxCommonControls, TabItemsSelectionAndFocus)
{
    CTabCtrl tab;
    ASSERT_TRUE(tab.SubclassDlgItem(IDC_TAB, &dlg));
    EXPECT_EQ(tab.InsertItem(0, L"单词查询"), 0);
    EXPECT_EQ(tab.InsertItem(1, L"拼音训练"), 1);
    EXPECT_EQ(tab.InsertItem(2, L"拼音学习"), 2);
    EXPECT_EQ(tab.GetItemCount(), 3);
    EXPECT_EQ(tab.GetCurSel(), 0) << "the first item inserted is the selected one";
    tab.SetCurSel(2);
    EXPECT_EQ(tab.GetCurSel(), 2);
    EXPECT_EQ(tab.GetCurFocus(), 2);
    CRect item;
    EXPECT_TRUE(tab.GetItemRect(1, &item));
    EXPECT_GT(item.Width(), 0);
    wchar_t text[32] = {};
    TCITEMW tci{};
    tci.mask = TCIF_TEXT;
    tci.pszText = text;
    tci.cchTextMax = 32;
    ASSERT_TRUE(tab.GetItem(1, &tci));
    EXPECT_STREQ(text, L"拼音训练");
}

TEST_F(AfxCommonControls, TooltipToolTextAndAutomaticDelays)
{
    CToolTipCtrl tip;
    ASSERT_TRUE(tip.Create(&dlg));
    EXPECT_EQ(::GetWindow(tip.m_hWnd, GW_OWNER), dlg.m_hWnd);
    tip.Activate(TRUE);
    CWnd* button = dlg.GetDlgItem(IDC_PUSH);
    ASSERT_TRUE(tip.AddTool(button, L"点击这里更新练习库"));
    EXPECT_EQ(tip.GetToolCount(), 1);
    CString text;
    tip.GetText(text, button);
    EXPECT_EQ(text, L"点击这里更新练习库");
    tip.SetTipTextColor(RGB(0, 0, 0));
    EXPECT_EQ(tip.GetTipTextColor(), RGB(0, 0, 0));
    tip.SetDelayTime(150);
    EXPECT_EQ(tip.GetDelayTime(TTDT_INITIAL), 150);
    EXPECT_EQ(tip.GetDelayTime(TTDT_AUTOPOP), 1500);

    MSG msg{button->m_hWnd, WM_MOUSEMOVE, 0, MAKELPARAM(2, 2), ::GetMessageTime(), {}};
    tip.RelayEvent(&msg);  // the page relays what passes its PreTranslateMessage

    HWND h = tip.m_hWnd;
    dlg.DestroyWindow();  // an owned pop-up goes with its owner
    EXPECT_FALSE(::IsWindow(h));
    EXPECT_EQ(tip.m_hWnd, nullptr);
    tip.RelayEvent(&msg);  // nothing to relay to: no effect
}

}  // namespace
