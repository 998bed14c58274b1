// Message maps: real controls send real notifications to a real dialog from
// the test resource; the handlers named in the map must see them.
#include <afxcmn.h>
#include <afxdisp.h>
#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

#include "afx_test_ids.h"
#include "support/Drive.h"
#include "support/MessageBoxes.h"

namespace {

class CRoutingDlg : public CDialog {
public:
    CRoutingDlg() : CDialog(IDD_ROUTING) {}

    std::vector<std::string> events;
    LRESULT selChangingResult = FALSE;
    int focusAtClick = -1;
    std::vector<UINT_PTR> timers;
    std::vector<UINT> scrollCodes;
    HWND scrollBar = nullptr;
    UINT ctlColorKind = 99;
    HWND ctlColorWnd = nullptr;
    HBRUSH ctlColorBrush = nullptr;
    CTabCtrl m_tab;
    CSliderCtrl m_slider;

protected:
    void DoDataExchange(CDataExchange* pDX) override
    {
        CDialog::DoDataExchange(pDX);
        DDX_Control(pDX, IDC_TAB, m_tab);
        DDX_Control(pDX, IDC_SLIDER, m_slider);
    }
    BOOL OnInitDialog() override
    {
        CDialog::OnInitDialog();
        m_tab.InsertItem(0, L"第一页");
        m_tab.InsertItem(1, L"第二页");
        m_slider.SetRange(1, 10);
        return TRUE;
    }
    void OnOK() override { events.push_back("OnOK"); }
    afx_msg void OnPush() { events.push_back("push"); }
    afx_msg void OnEditChange() { events.push_back("change"); }
    afx_msg void OnSelChanging(NMHDR* pNMHDR, LRESULT* pResult)
    {
        events.push_back("selchanging " + std::to_string(pNMHDR->idFrom));
        *pResult = selChangingResult;
    }
    afx_msg void OnClickTab(NMHDR*, LRESULT*)
    {
        events.push_back("click");
        focusAtClick = m_tab.GetCurFocus();
    }
    afx_msg void OnTimer(UINT_PTR nIDEvent) { timers.push_back(nIDEvent); }
    afx_msg void OnHScroll(UINT nSBCode, UINT, CScrollBar* pScrollBar)
    {
        scrollCodes.push_back(nSBCode);
        scrollBar = pScrollBar->GetSafeHwnd();
    }
    afx_msg HBRUSH OnCtlColor(CDC* pDC, CWnd* pWnd, UINT nCtlColor)
    {
        HBRUSH brush = CDialog::OnCtlColor(pDC, pWnd, nCtlColor);
        if (pWnd->GetDlgCtrlID() == IDC_LABEL) {
            ctlColorKind = nCtlColor;
            ctlColorWnd = pWnd->GetSafeHwnd();
            ctlColorBrush = brush;
        }
        return brush;
    }
    afx_msg void OnThrow()
    {
        if (events.empty())
            throw new COleException(E_ACCESSDENIED);
        throw std::runtime_error("boom");
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CRoutingDlg, CDialog)
    ON_BN_CLICKED(IDC_PUSH, OnPush)
    ON_EN_CHANGE(IDC_EDIT, OnEditChange)
    ON_NOTIFY(TCN_SELCHANGING, IDC_TAB, OnSelChanging)
    ON_NOTIFY(NM_CLICK, IDC_TAB, OnClickTab)
    ON_WM_TIMER()
    ON_WM_HSCROLL()
    ON_WM_CTLCOLOR()
    ON_BN_CLICKED(IDC_THROW, OnThrow)
END_MESSAGE_MAP()

class AfxMessageMap : public testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dlg.Create(IDD_ROUTING, nullptr));
        dlg.ShowWindow(SW_SHOW);
        PumpUntilIdle();
    }
    void TearDown() override
    {
        dlg.DestroyWindow();
        PumpUntilIdle();
    }
    HWND Item(int id) { return ::GetDlgItem(dlg.m_hWnd, id); }

    CRoutingDlg dlg;
};

TEST_F(AfxMessageMap, ButtonClickReachesItsHandler)
{
    ASSERT_TRUE(ClickButton(Item(IDC_PUSH)));
    PumpUntilIdle();
    EXPECT_EQ(dlg.events, (std::vector<std::string>{"push"}));

    // Like the mouse, a click on a disabled button does nothing.
    ::EnableWindow(Item(IDC_PUSH), FALSE);
    EXPECT_FALSE(ClickButton(Item(IDC_PUSH)));
    PumpUntilIdle();
    EXPECT_EQ(dlg.events.size(), 1u);
}

TEST_F(AfxMessageMap, EditChangeReachesItsHandlerOnlyWhenTheTextChanges)
{
    ::SetFocus(Item(IDC_EDIT));
    TypeText(Item(IDC_EDIT), L"ab");
    PumpUntilIdle();
    EXPECT_EQ(dlg.events, (std::vector<std::string>{"change", "change"}));
}

TEST_F(AfxMessageMap, OkCommandNotInTheMapReachesTheVirtualOnOK)
{
    ClickButton(Item(IDOK));
    PumpUntilIdle();
    ::SetFocus(Item(IDC_EDIT));
    PostKey(Item(IDC_EDIT), VK_RETURN);  // the dialog manager turns Enter into IDOK
    PumpUntilIdle();
    EXPECT_EQ(dlg.events, (std::vector<std::string>{"OnOK", "OnOK"}));
    EXPECT_TRUE(dlg.IsWindowVisible());
}

TEST_F(AfxMessageMap, NotifyResultGoesBackToTheControl)
{
    RECT item{};
    ASSERT_TRUE(dlg.m_tab.GetItemRect(1, &item));
    const POINT centre{(item.left + item.right) / 2, (item.top + item.bottom) / 2};

    dlg.selChangingResult = TRUE;  // refuse the change
    ClickAt(dlg.m_tab.m_hWnd, centre);
    PumpUntilIdle();
    EXPECT_EQ(dlg.m_tab.GetCurSel(), 0) << "TRUE from TCN_SELCHANGING must reach the tab control";
    ASSERT_FALSE(dlg.events.empty());
    EXPECT_EQ(dlg.events.front(), "selchanging " + std::to_string(IDC_TAB));

    dlg.events.clear();
    dlg.selChangingResult = FALSE;
    ClickAt(dlg.m_tab.m_hWnd, centre);
    PumpUntilIdle();
    EXPECT_EQ(dlg.m_tab.GetCurSel(), 1);
    EXPECT_EQ(dlg.events, (std::vector<std::string>{"selchanging " + std::to_string(IDC_TAB), "click"}));
    EXPECT_EQ(dlg.focusAtClick, 1);
}

TEST_F(AfxMessageMap, TimerFromSetTimerAndSentWmTimerReachOnTimer)
{
    ASSERT_NE(dlg.SetTimer(7, 10), 0u);
    EXPECT_TRUE(PumpUntil([&] { return dlg.timers.size() >= 2; }, 3000));
    dlg.KillTimer(7);
    PumpUntilIdle();
    EXPECT_EQ(dlg.timers.front(), 7u);

    dlg.timers.clear();
    dlg.SendMessage(WM_TIMER, 2, 0);
    EXPECT_EQ(dlg.timers, (std::vector<UINT_PTR>{2}));
}

TEST_F(AfxMessageMap, TrackbarKeysArriveAsHScrollWithTheTrackbar)
{
    ASSERT_EQ(dlg.m_slider.GetPos(), 1);
    dlg.m_slider.SetFocus();
    PostKey(dlg.m_slider.m_hWnd, VK_RIGHT);
    PumpUntilIdle();
    EXPECT_EQ(dlg.m_slider.GetPos(), 2);
    ASSERT_FALSE(dlg.scrollCodes.empty());
    EXPECT_EQ(dlg.scrollCodes.front(), static_cast<UINT>(TB_LINEDOWN));
    EXPECT_EQ(dlg.scrollCodes.back(), static_cast<UINT>(TB_ENDTRACK));
    EXPECT_EQ(dlg.scrollBar, dlg.m_slider.m_hWnd);
}

TEST_F(AfxMessageMap, CtlColorDefaultIsTheDialogManagersBrush)
{
    HDC hdc = ::GetDC(dlg.m_hWnd);
    const LRESULT expected = ::DefWindowProcW(dlg.m_hWnd, WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(hdc),
                                              reinterpret_cast<LPARAM>(Item(IDC_LABEL)));
    const LRESULT got = ::SendMessageW(dlg.m_hWnd, WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(hdc),
                                       reinterpret_cast<LPARAM>(Item(IDC_LABEL)));
    ::ReleaseDC(dlg.m_hWnd, hdc);
    EXPECT_NE(expected, 0);
    EXPECT_EQ(got, expected);
    EXPECT_EQ(dlg.ctlColorKind, static_cast<UINT>(CTLCOLOR_STATIC));
    EXPECT_EQ(dlg.ctlColorWnd, Item(IDC_LABEL));

    // The static asks by itself when it paints.
    dlg.ctlColorWnd = nullptr;
    ::RedrawWindow(Item(IDC_LABEL), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
    EXPECT_EQ(dlg.ctlColorWnd, Item(IDC_LABEL));
}

TEST_F(AfxMessageMap, ExceptionFromAHandlerIsReportedAndTheDialogGoesOn)
{
    ClickButton(Item(IDC_THROW));
    PumpUntilIdle();
    ASSERT_EQ(Boxes().Count(), 1u);
    EXPECT_FALSE(Boxes().Taken()[0].text.empty());

    dlg.events.push_back("again");
    ClickButton(Item(IDC_THROW));  // a standard exception this time
    PumpUntilIdle();
    ASSERT_EQ(Boxes().Count(), 2u);
    EXPECT_NE(Boxes().Taken()[1].text.find(L"boom"), std::wstring::npos) << testing::PrintToString(Boxes().Taken()[1]);

    ClickButton(Item(IDC_PUSH));
    PumpUntilIdle();
    EXPECT_EQ(dlg.events.back(), "push");
}

TEST(AfxWindowMap, GetDlgItemGivesTheBoundObjectAndBindingEndsWithTheWindow)
{
    CRoutingDlg dlg;
    ASSERT_TRUE(dlg.Create(IDD_ROUTING, nullptr));
    EXPECT_EQ(dlg.GetDlgItem(IDC_TAB), &dlg.m_tab);
    EXPECT_EQ(CWnd::FromHandle(dlg.m_hWnd), &dlg);
    CWnd* edit = dlg.GetDlgItem(IDC_EDIT);  // not bound: a temporary wrapper
    ASSERT_NE(edit, nullptr);
    EXPECT_EQ(edit->m_hWnd, ::GetDlgItem(dlg.m_hWnd, IDC_EDIT));
    EXPECT_EQ(CWnd::FromHandlePermanent(edit->m_hWnd), nullptr);
    EXPECT_EQ(dlg.GetDlgItem(4242), nullptr);

    HWND tab = dlg.m_tab.m_hWnd;
    dlg.DestroyWindow();
    EXPECT_EQ(dlg.m_hWnd, nullptr);
    EXPECT_EQ(dlg.m_tab.m_hWnd, nullptr);
    EXPECT_EQ(CWnd::FromHandlePermanent(tab), nullptr);

    // The same objects bind again to a new window.
    ASSERT_TRUE(dlg.Create(IDD_ROUTING, nullptr));
    EXPECT_EQ(dlg.GetDlgItem(IDC_TAB), &dlg.m_tab);
    EXPECT_EQ(dlg.m_tab.GetItemCount(), 2);
}

TEST(AfxWindowMap, NullPointersGiveNullHandles)
{
    CWnd* none = nullptr;
    EXPECT_EQ(none->GetSafeHwnd(), nullptr);
    CDC* noDc = nullptr;
    EXPECT_EQ(noDc->GetSafeHdc(), nullptr);
    EXPECT_EQ(CWnd::FromHandle(nullptr), nullptr);
}

}  // namespace
