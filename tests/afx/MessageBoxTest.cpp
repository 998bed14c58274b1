// Message boxes: the application's name as caption, MFC's owner, real boxes
// answered by the test support.
#include <afxwin.h>
#include <gtest/gtest.h>

#include "afx_test_ids.h"
#include "support/Drive.h"
#include "support/MessageBoxes.h"

namespace {

// This program is afx_tests.exe: boxes without a caption of their own say so.
constexpr wchar_t kExeName[] = L"afx_tests";

TEST(AfxMessageBox, CaptionIsTheExeNameWithoutAnApplicationObject)
{
    ASSERT_EQ(AfxGetApp(), nullptr);
    EXPECT_EQ(AfxMessageBox(L"没有输入文字"), IDOK);
    ASSERT_EQ(Boxes().Count(), 1u);
    const MessageBoxRecord& box = Boxes().Taken()[0];
    EXPECT_EQ(box.caption, kExeName);
    EXPECT_EQ(box.text, L"没有输入文字");
    EXPECT_EQ(box.buttons, (std::vector<int>{IDOK}));
    EXPECT_EQ(box.icon, static_cast<UINT>(MB_ICONEXCLAMATION)) << "MFC adds the warning icon to a plain OK box";
    EXPECT_STREQ(AfxGetAppName(), kExeName);
}

TEST(AfxMessageBox, CaptionIsTheApplicationsName)
{
    {
        CWinApp unnamed;
        EXPECT_STREQ(unnamed.m_pszAppName, kExeName);
        AfxMessageBox(L"一");
    }
    {
        CWinApp named(L"粤语发音");
        AfxMessageBox(L"二");
        EXPECT_STREQ(AfxGetAppName(), L"粤语发音");
    }
    EXPECT_EQ(AfxGetApp(), nullptr);
    ASSERT_EQ(Boxes().Count(), 2u);
    EXPECT_EQ(Boxes().Taken()[0].caption, kExeName);
    EXPECT_EQ(Boxes().Taken()[1].caption, L"粤语发音");
}

TEST(AfxMessageBox, TheChosenButtonIsTheResult)
{
    Boxes().Answer(IDNO);
    EXPECT_EQ(AfxMessageBox(L"再来一次?", MB_YESNO), IDNO);
    Boxes().AnswerNext({IDCANCEL});
    EXPECT_EQ(AfxMessageBox(L"继续?", MB_OKCANCEL), IDCANCEL);
    Boxes().Answer(0);
    EXPECT_EQ(AfxMessageBox(L"继续?", MB_OKCANCEL), IDOK);
    ASSERT_EQ(Boxes().Count(), 3u);
    EXPECT_EQ(Boxes().Taken()[0].buttons, (std::vector<int>{IDYES, IDNO}));
    EXPECT_EQ(Boxes().Taken()[0].icon, static_cast<UINT>(MB_ICONQUESTION));
}

TEST(AfxMessageBox, LoadsTheTextByResourceId)
{
    AfxMessageBox(IDS_GREETING);
    ASSERT_EQ(Boxes().Count(), 1u);
    EXPECT_EQ(Boxes().Taken()[0].text, L"你好，世界");
}

TEST(AfxMessageBox, OwnerIsTheMainWindowWhichIsDisabledMeanwhile)
{
    CDialog main(IDD_ROUTING);
    ASSERT_TRUE(main.Create(IDD_ROUTING, nullptr));
    main.ShowWindow(SW_SHOW);
    CWinApp app;
    app.m_pMainWnd = &main;

    AfxMessageBox(L"有主窗口");
    ASSERT_EQ(Boxes().Count(), 1u);
    EXPECT_EQ(Boxes().Taken()[0].owner, main.m_hWnd);
    EXPECT_FALSE(Boxes().Taken()[0].ownerEnabled);
    EXPECT_TRUE(main.IsWindowEnabled());

    // A box from a child page is owned by the page's top-level window.
    app.m_pMainWnd = nullptr;
    CWnd* child = main.GetDlgItem(IDC_EDIT);
    child->MessageBox(L"子窗口");
    ASSERT_EQ(Boxes().Count(), 2u);
    EXPECT_EQ(Boxes().Taken()[1].owner, main.m_hWnd);
    EXPECT_EQ(Boxes().Taken()[1].caption, kExeName);
    main.DestroyWindow();
}

TEST(AfxMessageBox, WithoutMainWindowTheActiveWindowOwnsTheBox)
{
    CDialog active(IDD_ROUTING);
    ASSERT_TRUE(active.Create(IDD_ROUTING, nullptr));
    active.ShowWindow(SW_SHOW);
    active.SetActiveWindow();
    PumpUntilIdle();
    ASSERT_EQ(::GetActiveWindow(), active.m_hWnd);
    AfxMessageBox(L"当前窗口");
    ASSERT_EQ(Boxes().Count(), 1u);
    EXPECT_EQ(Boxes().Taken()[0].owner, active.m_hWnd);
    active.DestroyWindow();
}

}  // namespace
