// Modal and modeless dialogs: the framework's modal loop, its owner handling,
// nesting inside a handler's own message pump, and the pre-translation walk
// that lets a child page see keys first.
#include <afxcmn.h>
#include <comdef.h>
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "afx_test_ids.h"
#include "support/Drive.h"
#include "support/MessageBoxes.h"

namespace {

// The read-aloud loop's way of staying responsive: drain the queue, no pre-translation.
void PumpPendingMessages()
{
    MSG msg;
    while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        ::TranslateMessage(&msg);
        ::DispatchMessageW(&msg);
    }
}

class CModalDlg : public CDialog {
public:
    explicit CModalDlg(CWnd* pParent = nullptr) : CDialog(IDD_MODAL, pParent) {}
    CString m_strEdit;
    int closes = 0;
    int endInInit = 0;  // nonzero: EndDialog(endInInit) from OnInitDialog
    std::function<void()> onOpen;

protected:
    void DoDataExchange(CDataExchange* pDX) override { DDX_Text(pDX, IDC_EDIT, m_strEdit); }
    BOOL OnInitDialog() override
    {
        CDialog::OnInitDialog();
        if (endInInit)
            EndDialog(endInInit);
        return TRUE;
    }
    afx_msg void OnClose()
    {
        ++closes;
        CDialog::OnClose();  // the dialog manager's default: the Cancel command
    }
    afx_msg void OnOpen()
    {
        if (onOpen)
            onOpen();
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CModalDlg, CDialog)
    ON_WM_CLOSE()
    ON_BN_CLICKED(IDC_OPEN_MODAL, OnOpen)
END_MESSAGE_MAP()

// A visible top-level window to own the modal dialogs.
class AfxModal : public testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(owner.Create(IDD_ROUTING, nullptr));
        owner.ShowWindow(SW_SHOW);
        PumpUntilIdle();
    }
    void TearDown() override
    {
        owner.DestroyWindow();
        PumpUntilIdle();
    }
    CDialog owner{IDD_ROUTING};
};

TEST_F(AfxModal, OkEndsTheLoopAfterSavingAndGivesTheOwnerBack)
{
    CModalDlg dlg(&owner);
    bool ownerDisabled = false, shown = false;
    Later([&] {
        ownerDisabled = !owner.IsWindowEnabled();
        shown = dlg.IsWindowVisible();
        ::SetFocus(::GetDlgItem(dlg.m_hWnd, IDC_EDIT));
        TypeText(::GetDlgItem(dlg.m_hWnd, IDC_EDIT), L"粤语");
        Later([&] { ClickButton(dlg.m_hWnd, IDOK); });
    });
    EXPECT_EQ(dlg.DoModal(), IDOK);
    EXPECT_TRUE(ownerDisabled);
    EXPECT_TRUE(shown);
    EXPECT_TRUE(owner.IsWindowEnabled());
    EXPECT_EQ(dlg.m_hWnd, nullptr);
    EXPECT_EQ(dlg.m_strEdit, L"粤语");
}

TEST_F(AfxModal, CancelButtonEndsWithIdCancel)
{
    CModalDlg dlg(&owner);
    Later([&] { ClickButton(dlg.m_hWnd, IDCANCEL); });
    EXPECT_EQ(dlg.DoModal(), IDCANCEL);
    EXPECT_EQ(dlg.closes, 0);
    EXPECT_TRUE(owner.IsWindowEnabled());
}

TEST_F(AfxModal, CloseRunsOnCloseWhoseDefaultIsCancel)
{
    CModalDlg dlg(&owner);
    Later([&] { dlg.PostMessage(WM_CLOSE); });
    EXPECT_EQ(dlg.DoModal(), IDCANCEL);
    EXPECT_EQ(dlg.closes, 1);
    EXPECT_TRUE(owner.IsWindowEnabled());

    // The system menu's Close comes the same way.
    CModalDlg again(&owner);
    Later([&] { again.PostMessage(WM_SYSCOMMAND, SC_CLOSE, 0); });
    EXPECT_EQ(again.DoModal(), IDCANCEL);
    EXPECT_EQ(again.closes, 1);
}

TEST_F(AfxModal, EndDialogDuringInitSkipsTheLoop)
{
    CModalDlg dlg(&owner);
    dlg.endInInit = 77;
    EXPECT_EQ(dlg.DoModal(), 77);
    EXPECT_TRUE(owner.IsWindowEnabled());
}

TEST_F(AfxModal, WithoutParentTheMainWindowIsTheOwner)
{
    CWinApp app;
    app.m_pMainWnd = &owner;
    CModalDlg dlg;
    HWND ownerSeen = nullptr;
    bool ownerDisabled = false;
    Later([&] {
        ownerSeen = ::GetWindow(dlg.m_hWnd, GW_OWNER);
        ownerDisabled = !owner.IsWindowEnabled();
        ClickButton(dlg.m_hWnd, IDOK);
    });
    EXPECT_EQ(dlg.DoModal(), IDOK);
    EXPECT_EQ(ownerSeen, owner.m_hWnd);
    EXPECT_TRUE(ownerDisabled);
    EXPECT_TRUE(owner.IsWindowEnabled());
}

TEST_F(AfxModal, QuitEndsTheLoopAndIsLeftForTheOuterLoop)
{
    CModalDlg dlg(&owner);
    Later([] { ::PostQuitMessage(3); });
    EXPECT_EQ(dlg.DoModal(), -1);
    EXPECT_TRUE(owner.IsWindowEnabled());
    MSG msg;
    ASSERT_TRUE(::PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
    EXPECT_EQ(msg.wParam, 3u);
}

TEST_F(AfxModal, NestedModalInsideAHandlersPumpAndEndDialogFromThatPump)
{
    CModalDlg outer(&owner);
    std::vector<std::string> events;
    bool stop = false;
    INT_PTR innerResult = 0;
    bool outerDisabledDuringInner = false, outerEnabledAfterInner = false;

    outer.onOpen = [&] {
        events.push_back("open");
        Later([&] {
            CModalDlg inner(&outer);
            Later([&] {
                outerDisabledDuringInner = !outer.IsWindowEnabled();
                AfxMessageBox(L"内层");
                ClickButton(inner.m_hWnd, IDOK);
            });
            innerResult = inner.DoModal();
            outerEnabledAfterInner = outer.IsWindowEnabled() != FALSE;
            events.push_back("inner done");
            Later([&] {
                stop = true;
                ClickButton(outer.m_hWnd, IDCANCEL);  // ends the outer dialog from inside the pump
            });
        });
        while (!stop) {
            PumpPendingMessages();
            ::MsgWaitForMultipleObjectsEx(0, nullptr, 20, QS_ALLINPUT, MWMO_INPUTAVAILABLE);
        }
        PumpPendingMessages();
        events.push_back("pump done");
    };
    Later([&] { ClickButton(outer.m_hWnd, IDC_OPEN_MODAL); });

    EXPECT_EQ(outer.DoModal(), IDCANCEL);
    EXPECT_EQ(innerResult, IDOK);
    EXPECT_EQ(events, (std::vector<std::string>{"open", "inner done", "pump done"}));
    EXPECT_TRUE(outerDisabledDuringInner);
    EXPECT_TRUE(outerEnabledAfterInner);
    EXPECT_TRUE(owner.IsWindowEnabled());
    ASSERT_EQ(Boxes().Count(), 1u);
    EXPECT_EQ(Boxes().Taken()[0].text, L"内层");
}

// A page like the training page: a child dialog inside the host's tab control
// that catches Enter before the dialog manager does.
class CPageDlg : public CDialog {
public:
    CPageDlg() : CDialog(IDD_PAGE) {}
    int enters = 0;
    int oks = 0;
    int pushes = 0;
    bool failEnter = false;  // Enter throws, as a failing dictionary read would

    BOOL PreTranslateMessage(MSG* pMsg) override
    {
        if (pMsg->message == WM_KEYDOWN && pMsg->wParam == VK_RETURN) {
            ++enters;
            if (failEnter)
                throw _com_error(E_FAIL);
        }
        return CDialog::PreTranslateMessage(pMsg);
    }

protected:
    void OnOK() override { ++oks; }
    afx_msg void OnPush() { ++pushes; }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CPageDlg, CDialog)
    ON_BN_CLICKED(IDC_PUSH, OnPush)
END_MESSAGE_MAP()

class CHostDlg : public CDialog {
public:
    CHostDlg() : CDialog(IDD_HOST) {}
    CTabCtrl m_tab;
    CPageDlg m_page;
    int closes = 0;

protected:
    void DoDataExchange(CDataExchange* pDX) override { DDX_Control(pDX, IDC_TAB, m_tab); }
    BOOL OnInitDialog() override
    {
        CDialog::OnInitDialog();
        m_tab.InsertItem(0, L"页");
        CRect rc;
        m_tab.GetClientRect(&rc);
        rc.top += 20;
        m_page.Create(IDD_PAGE, &m_tab);
        m_page.MoveWindow(&rc);
        m_page.ShowWindow(SW_SHOW);
        return TRUE;
    }
    afx_msg void OnClose()
    {
        ++closes;
        CDialog::OnClose();
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CHostDlg, CDialog)
    ON_WM_CLOSE()
END_MESSAGE_MAP()

TEST(AfxModelessPage, SeesEnterFromItsEditInsideTheHostsModalLoop)
{
    CHostDlg host;
    HWND pageEdit = nullptr;
    bool hostOpenAfterEnter = false, pageHiddenAfterEsc = false, hostOpenAfterEsc = false;
    int entersSeen = 0, oksSeen = 0, pushesSeen = 0;
    std::wstring multiText;
    Later([&] {
        pageEdit = ::GetDlgItem(host.m_page.m_hWnd, IDC_EDIT);
        ::SetFocus(pageEdit);
        PostKey(pageEdit, VK_RETURN);
        ClickButton(host.m_page.m_hWnd, IDC_PUSH);
        Later([&] {
            entersSeen = host.m_page.enters;
            oksSeen = host.m_page.oks;
            pushesSeen = host.m_page.pushes;
            hostOpenAfterEnter = host.IsWindowVisible();
            ::SetFocus(pageEdit);
            PostKey(pageEdit, VK_ESCAPE);
            Later([&] {
                pageHiddenAfterEsc = !host.m_page.IsWindowVisible();
                hostOpenAfterEsc = host.IsWindowVisible();
                HWND multi = ::GetDlgItem(host.m_hWnd, IDC_MULTI);
                ::SetFocus(multi);
                TypeText(multi, L"a");
                PostKey(multi, VK_RETURN);  // want-return: a line break, not OK
                TypeText(multi, L"b");
                // The line break's WM_CHAR is made when Enter is dispatched: look two turns later.
                Later([&, multi] {
                    Later([&, multi] {
                        multiText = TextOf(multi);
                        PostKey(multi, VK_ESCAPE);
                    });
                });
            });
        });
    });
    EXPECT_EQ(host.DoModal(), IDCANCEL);
    EXPECT_EQ(entersSeen, 1);
    EXPECT_EQ(oksSeen, 1) << "the page's own dialog manager turns Enter into its OK command";
    EXPECT_EQ(pushesSeen, 1);
    EXPECT_TRUE(hostOpenAfterEnter);
    EXPECT_TRUE(pageHiddenAfterEsc) << "Esc on the page is the page's Cancel, which hides it";
    EXPECT_TRUE(hostOpenAfterEsc);
    EXPECT_NE(multiText.find(L"\r\n"), std::wstring::npos) << Utf8(multiText);
    EXPECT_EQ(host.closes, 0) << "Esc in a multi-line edit is Cancel, not WM_CLOSE";
    EXPECT_EQ(host.m_page.m_hWnd, nullptr) << "the page went with the host";
}

TEST(AfxModelessPage, AnExceptionFromItsPreTranslateIsShownAndTheLoopGoesOn)
{
    CHostDlg host;
    host.m_page.failEnter = true;
    size_t boxesAfterEnter = 0;
    int oksAfterEnter = -1;
    bool clicked = false;
    // The box runs a loop of its own, which runs what is queued: act once it has closed.
    std::function<void()> afterTheBox = [&] {
        if (!host.IsWindowEnabled()) {
            Later(afterTheBox);
            return;
        }
        boxesAfterEnter = Boxes().Count();
        oksAfterEnter = host.m_page.oks;
        host.m_page.failEnter = false;
        clicked = ClickButton(host.m_page.m_hWnd, IDC_PUSH);
        Later([&] { Later([&] { host.EndDialog(IDCANCEL); }); });
    };
    Later([&] {
        HWND pageEdit = ::GetDlgItem(host.m_page.m_hWnd, IDC_EDIT);
        ::SetFocus(pageEdit);
        PostKey(pageEdit, VK_RETURN);
        Later(afterTheBox);
    });
    EXPECT_EQ(host.DoModal(), IDCANCEL);
    ASSERT_EQ(boxesAfterEnter, 1u);
    EXPECT_NE(Boxes().Taken()[0].text.find(L"操作失败"), std::wstring::npos) << Utf8(Boxes().Taken()[0].text);
    EXPECT_EQ(oksAfterEnter, 0) << "the failed Enter goes no further";
    EXPECT_TRUE(clicked);
    EXPECT_EQ(host.m_page.pushes, 1) << "the page still answers after the failure";
}

}  // namespace

namespace {

POINT Centre(const RECT& r) { return {(r.left + r.right) / 2, (r.top + r.bottom) / 2}; }

}  // namespace

TEST_F(AfxModal, HiddenTemplateIsCentredOverItsOwner)
{
    owner.MoveWindow(200, 150, 500, 400, TRUE);
    CModalDlg dlg(&owner);
    RECT dlgRect{}, ownerRect{};
    Later([&] {
        ::GetWindowRect(dlg.m_hWnd, &dlgRect);
        ::GetWindowRect(owner.m_hWnd, &ownerRect);
        ClickButton(dlg.m_hWnd, IDCANCEL);
    });
    EXPECT_EQ(dlg.DoModal(), IDCANCEL);
    POINT a = Centre(dlgRect), b = Centre(ownerRect);
    EXPECT_LE(std::abs(a.x - b.x), 1);
    EXPECT_LE(std::abs(a.y - b.y), 1);
}

TEST(AfxModalPlacement, VisibleTemplateKeepsItsPlace)
{
    // IDD_HOST is visible in its template: the framework leaves it where the template puts it.
    CDialog host(IDD_HOST);
    RECT rect{};
    Later([&] {
        ::GetWindowRect(host.m_hWnd, &rect);
        host.EndDialog(IDOK);
    });
    EXPECT_EQ(host.DoModal(), IDOK);
    RECT work{};
    ::SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    EXPECT_EQ(rect.left, work.left);
    EXPECT_EQ(rect.top, work.top);
}
