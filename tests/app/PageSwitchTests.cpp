// Page switching by real clicks on the tabs: which windows show after each click, what
// the player is handed, the video notice, and what a keyboard change of tab does.
#include <afxwin.h>
#include <afxdisp.h>

#include <gtest/gtest.h>

#include "resources/Paths.h"
#include "app/PronounceDlg.h"
#include "support/Drive.h"
#include "support/InstalledFiles.h"
#include "support/MainWindowDriver.h"
#include "support/MessageBoxes.h"
#include "support/PlayerUrl.h"
#include "training/TrainingPage.h"

namespace {

const wchar_t kNotice[] = L"视频文件太大,请在退出程序时,登录我们的网站免费观看更多完整视频";
const std::wstring kLookupPage = L"1001 1000 1002 1007 1003 label";

// The windows that the switch shows and hides, named as in the layout, visible ones only.
std::wstring VisibleSet(CPronounceDlg& d)
{
    const std::pair<int, const wchar_t*> controls[] = {
        {IDC_TEXT, L"1001"},  {IDC_LOOKUP, L"1000"},   {IDC_PAUSE, L"1002"},
        {IDC_STOP, L"1007"},  {IDC_PHONETIC, L"1003"}, {IDC_PHONETIC_LABEL, L"label"},
        {IDC_PLAYER, L"player"}};
    std::wstring s;
    for (auto [id, name] : controls)
        if (IsWindowVisible(GetDlgItem(d.m_hWnd, id)))
            s += (s.empty() ? L"" : L" ") + std::wstring(name);
    if (IsWindowVisible(d.m_pTrainingPage->m_hWnd))
        s += (s.empty() ? L"" : L" ") + std::wstring(L"page");
    return s;
}

// Windows the switch must never touch keep their start state.
void ExpectUntouchedControls(CPronounceDlg& d)
{
    EXPECT_TRUE(IsWindowVisible(GetDlgItem(d.m_hWnd, IDC_BROWSER)));
    for (int id : {IDOK, IDCANCEL, IDC_BUTTON3})
        EXPECT_FALSE(IsWindowVisible(GetDlgItem(d.m_hWnd, id))) << id;
}

std::wstring PlayerUrl(CPronounceDlg& d)
{
    return test_support::PlayerUrl(d.m_player.m_hWnd);
}

// What the window looked like while a message box showed.
struct NoticeSeen {
    int count = 0;
    std::wstring pageWhileOpen;  // the visible set while the notice was up
    std::wstring urlWhileOpen;   // the player's address then
};

struct ClickRow {
    int tab;
    std::wstring pageAfter;
    bool notice;
};

// Every transition, including a click on the tab already selected.
const ClickRow kClicks[] = {
    {1, L"page", false},
    {1, L"page", false},
    {0, kLookupPage, false},
    {0, kLookupPage, false},
    {2, L"1001 player", true},  // from the look-up page the text box stays
    {2, L"1001 player", true},                  // the notice comes again
    {1, L"page", false},
    {2, L"player page", true},                  // from training the page stays, under the player
    {0, kLookupPage, false},
    {1, L"page", false},
    {0, kLookupPage, false},
};

TEST(AppPageSwitch, EachTabClickShowsItsPageAndHandsThePlayerItsAddress)
{
    const std::wstring installDir = kInstallDir;
    const std::wstring video = installDir + L"yueyupinying.wmv";
    CPronounceDlg dlg;
    const INT_PTR result = MainWindowDriver::Run(dlg, [&](MainWindowDriver& s) {
        CPronounceDlg& d = s.Main();
        NoticeSeen notice;
        Boxes().onTake = [&](const MessageBoxRecord&) {
            ++notice.count;
            notice.pageWhileOpen = VisibleSet(d);
            notice.urlWhileOpen = PlayerUrl(d);
        };
        for (size_t i = 0; i < std::size(kClicks); ++i) {
            const ClickRow& row = kClicks[i];
            SCOPED_TRACE("click " + std::to_string(i) + " on tab " + std::to_string(row.tab));
            std::wstring before = VisibleSet(d);
            std::wstring urlBefore = PlayerUrl(d);
            notice = {};
            s.ClickTab(row.tab);  // the notice included

            EXPECT_EQ(notice.count, row.notice ? 1 : 0);
            EXPECT_EQ(Utf8(VisibleSet(d)), Utf8(row.pageAfter));
            EXPECT_EQ(d.m_tab.GetCurSel(), row.tab);
            EXPECT_EQ(PlayerUrl(d), row.tab == 2 ? video : installDir);
            ExpectUntouchedControls(d);
            if (row.notice) {
                // Shown before the page changes and before the video is handed over.
                EXPECT_EQ(Utf8(notice.pageWhileOpen), Utf8(before));
                EXPECT_EQ(notice.urlWhileOpen, urlBefore);
            }
        }
        Boxes().onTake = nullptr;
        d.PostMessage(WM_COMMAND, IDCANCEL);
    }).result;
    EXPECT_EQ(result, IDCANCEL);
}

TEST(AppPageSwitch, VideoNoticeIsAPlainBoxOwnedByTheMainWindow)
{
    CPronounceDlg dlg;
    HWND main = nullptr;
    MainWindowDriver::Run(dlg, [&](MainWindowDriver& s) {
        main = s.MainWnd();
        s.ClickTab(2);
        s.Main().PostMessage(WM_COMMAND, IDCANCEL);
    });
    ASSERT_EQ(Boxes().Count(), 1u);
    const MessageBoxRecord& notice = Boxes().Taken()[0];
    EXPECT_EQ(Utf8(notice.text), Utf8(kNotice));
    EXPECT_EQ(Utf8(notice.caption), Utf8(ProgramName()));  // the program file's name
    EXPECT_EQ(notice.owner, main);
    EXPECT_FALSE(notice.ownerEnabled);  // modal: the main window waits for it
    EXPECT_EQ(notice.icon, 0u);
    EXPECT_EQ(notice.buttons, std::vector<int>{IDOK});
}

TEST(AppPageSwitch, KeyboardChangeOfTabLeavesThePageAsItWas)
{
    CPronounceDlg dlg;
    MainWindowDriver::Run(dlg, [](MainWindowDriver& s) {
        CPronounceDlg& d = s.Main();
        SetForegroundWindow(d.m_hWnd);
        d.m_tab.SetFocus();
        SendKey(VK_RIGHT);
        s.Pump();
        EXPECT_EQ(d.m_tab.GetCurSel(), 1);
        EXPECT_EQ(Utf8(VisibleSet(d)), Utf8(kLookupPage));
        SendKey(VK_RIGHT);
        s.Pump();
        EXPECT_EQ(d.m_tab.GetCurSel(), 2);
        EXPECT_EQ(Utf8(VisibleSet(d)), Utf8(kLookupPage));
        d.PostMessage(WM_COMMAND, IDCANCEL);
    });
    EXPECT_EQ(Boxes().Count(), 0u);
}

TEST(AppPageSwitch, ChangesToLookupOrTrainingSilenceThePlayer)
{
    test_support::WriteRecording(L"tone", 5000);
    const std::wstring tone = test_support::RecordingPath(L"tone");
    CPronounceDlg dlg;
    MainWindowDriver::Run(dlg, [&tone](MainWindowDriver& s) {
        CPronounceDlg& d = s.Main();
        for (int tab : {1, 1, 0, 0, 1, 0}) {
            SCOPED_TRACE("tab " + std::to_string(tab));
            d.m_player.SetURL(tone.c_str());
            ASSERT_NE(d.m_player.GetPlayState(), 1) << "the tone should be playing";
            s.ClickTab(tab);
            EXPECT_EQ(d.m_player.GetPlayState(), 1);
            EXPECT_FALSE(IsWindowVisible(d.m_player.m_hWnd));
        }
        d.PostMessage(WM_COMMAND, IDCANCEL);
    });
}

// Switching neither stops nor pauses a read-aloud: its two flags are left alone.
TEST(AppPageSwitch, LeavesTheReadAloudFlagsAlone)
{
    CPronounceDlg dlg;
    MainWindowDriver::Run(dlg, [](MainWindowDriver& s) {
        CPronounceDlg& d = s.Main();
        d.m_bPause = true;
        d.m_bStop = false;
        for (int tab : {1, 2, 0}) {
            s.ClickTab(tab);
            EXPECT_TRUE(d.m_bPause);
            EXPECT_FALSE(d.m_bStop);
        }
        d.PostMessage(WM_COMMAND, IDCANCEL);
    });
    EXPECT_EQ(Boxes().Count(), 1u);
}

}  // namespace
