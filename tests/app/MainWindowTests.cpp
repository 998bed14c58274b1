// The main window from the real template, driven by real messages and real input:
// its start state, the About item, its icons, OK and Cancel, and every way of closing.
#include <afxwin.h>

#include <gtest/gtest.h>

#include "WebsiteRecorder.h"
#include "resources/Paths.h"
#include "app/PronounceApp.h"
#include "app/PronounceDlg.h"
#include "support/Drive.h"
#include "support/MainWindowDriver.h"
#include "training/TrainingPage.h"

namespace {

std::wstring TabText(HWND tab, int index)
{
    wchar_t buf[64] = {};
    TCITEMW item{};
    item.mask = TCIF_TEXT;
    item.pszText = buf;
    item.cchTextMax = 64;
    SendMessageW(tab, TCM_GETITEMW, index, reinterpret_cast<LPARAM>(&item));
    return buf;
}

bool Visible(CPronounceDlg& dlg, int id)
{
    return IsWindowVisible(GetDlgItem(dlg.m_hWnd, id)) != FALSE;
}

TEST(AppMainWindow, StartsOnTheLookupPageWithEmptyTextAndLabel)
{
    CPronounceDlg dlg;
    INT_PTR result = MainWindowDriver::Run(dlg, [](MainWindowDriver& s) {
        CPronounceDlg& d = s.Main();
        EXPECT_EQ(TextOf(d.m_hWnd), L"粤语拼音学习");
        EXPECT_TRUE(IsWindowVisible(d.m_hWnd));
        // The label's template text "123" was replaced by the empty spelling.
        EXPECT_EQ(TextOf(GetDlgItem(d.m_hWnd, IDC_PHONETIC)), L"");
        EXPECT_EQ(TextOf(GetDlgItem(d.m_hWnd, IDC_TEXT)), L"");
        EXPECT_EQ(TextOf(GetDlgItem(d.m_hWnd, IDC_PHONETIC_LABEL)), L"音标:");

        for (int id : {IDC_TEXT, IDC_LOOKUP, IDC_PAUSE, IDC_STOP, IDC_PHONETIC, IDC_PHONETIC_LABEL,
                       IDC_TAB, IDC_BROWSER})
            EXPECT_TRUE(Visible(d, id)) << "control " << id;
        for (int id : {IDC_PLAYER, IDOK, IDCANCEL, IDC_BUTTON3})
            EXPECT_FALSE(Visible(d, id)) << "control " << id;

        ASSERT_NE(d.m_pTrainingPage, nullptr);
        EXPECT_TRUE(IsWindow(d.m_pTrainingPage->m_hWnd));
        EXPECT_FALSE(IsWindowVisible(d.m_pTrainingPage->m_hWnd));
        EXPECT_EQ(GetParent(d.m_pTrainingPage->m_hWnd), d.m_tab.m_hWnd);

        HWND tab = d.m_tab.m_hWnd;
        EXPECT_EQ(tab, GetDlgItem(d.m_hWnd, IDC_TAB));
        ASSERT_EQ(SendMessageW(tab, TCM_GETITEMCOUNT, 0, 0), 3);
        EXPECT_EQ(TabText(tab, 0), L"单词查询");
        EXPECT_EQ(TabText(tab, 1), L"拼音训练");
        EXPECT_EQ(TabText(tab, 2), L"拼音学习");
        EXPECT_EQ(SendMessageW(tab, TCM_GETCURSEL, 0, 0), 0);

        EXPECT_FALSE(d.m_bStop);
        EXPECT_FALSE(d.m_bPause);
        EXPECT_EQ(d.m_player.m_hWnd, GetDlgItem(d.m_hWnd, IDC_PLAYER));
        EXPECT_EQ(d.m_browser.m_hWnd, GetDlgItem(d.m_hWnd, IDC_BROWSER));
        d.PostMessage(WM_COMMAND, IDCANCEL);
    }).result;
    EXPECT_EQ(result, IDCANCEL);
}

TEST(AppMainWindow, TrainingPageCoversTheTabAreaBelowTheTabRow)
{
    CPronounceDlg dlg;
    MainWindowDriver::Run(dlg, [](MainWindowDriver& s) {
        CPronounceDlg& d = s.Main();
        RECT client, page;
        GetClientRect(d.m_tab.m_hWnd, &client);
        GetWindowRect(d.m_pTrainingPage->m_hWnd, &page);
        MapWindowPoints(nullptr, d.m_tab.m_hWnd, reinterpret_cast<POINT*>(&page), 2);
        EXPECT_EQ(page.left, client.left + 1);
        EXPECT_EQ(page.top, client.top + 20);
        EXPECT_EQ(page.right, client.right - 1);
        EXPECT_EQ(page.bottom, client.bottom - 1);
        d.PostMessage(WM_COMMAND, IDCANCEL);
    });
}

TEST(AppMainWindow, UsesTheApplicationIconEverywhere)
{
    CPronounceDlg dlg;
    ASSERT_NE(dlg.m_hIcon, nullptr);  // loaded by the constructor
    MainWindowDriver::Run(dlg, [](MainWindowDriver& s) {
        CPronounceDlg& d = s.Main();
        EXPECT_EQ(reinterpret_cast<HICON>(d.SendMessage(WM_GETICON, ICON_BIG)), d.m_hIcon);
        EXPECT_EQ(reinterpret_cast<HICON>(d.SendMessage(WM_GETICON, ICON_SMALL)), d.m_hIcon);
        EXPECT_EQ(reinterpret_cast<HICON>(d.SendMessage(WM_QUERYDRAGICON)), d.m_hIcon);
        d.PostMessage(WM_COMMAND, IDCANCEL);
    });
}

TEST(AppMainWindow, SystemMenuEndsWithSeparatorAndAboutItem)
{
    CPronounceDlg dlg;
    MainWindowDriver::Run(dlg, [](MainWindowDriver& s) {
        CPronounceDlg& d = s.Main();
        HMENU menu = GetSystemMenu(d.m_hWnd, FALSE);
        ASSERT_NE(menu, nullptr);
        int count = GetMenuItemCount(menu);
        ASSERT_GE(count, 2);
        MENUITEMINFOW separator{sizeof separator, MIIM_FTYPE};
        GetMenuItemInfoW(menu, count - 2, TRUE, &separator);
        EXPECT_TRUE(separator.fType & MFT_SEPARATOR);
        EXPECT_EQ(GetMenuItemID(menu, count - 1), static_cast<UINT>(IDM_ABOUTBOX));
        wchar_t text[128] = {};
        GetMenuStringW(menu, count - 1, text, 128, MF_BYPOSITION);
        EXPECT_EQ(std::wstring(text), L"关于粤语拼音学习(&A)...");
        d.PostMessage(WM_COMMAND, IDCANCEL);
    });
}

// SkinH.dll is looked for beside the program; without it the window opens all the same.
TEST(AppMainWindow, AttachesTheSkinLibraryBesideTheProgramWhenThere)
{
    wchar_t path[MAX_PATH];
    GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring skin = path;
    skin = skin.substr(0, skin.find_last_of(L'\\') + 1) + L"SkinH.dll";
    bool present = GetFileAttributesW(skin.c_str()) != INVALID_FILE_ATTRIBUTES;

    CPronounceDlg dlg;
    INT_PTR result = MainWindowDriver::Run(dlg, [&](MainWindowDriver& s) {
        CPronounceDlg& d = s.Main();
        EXPECT_EQ(GetModuleHandleW(skin.c_str()) != nullptr, present);
        EXPECT_TRUE(IsWindowVisible(d.m_hWnd));
        d.PostMessage(WM_COMMAND, IDCANCEL);
    }).result;
    EXPECT_EQ(result, IDCANCEL);
}

TEST(AppMainWindow, OkDoesNothingAndEnterInTheTextBoxIsALineBreak)
{
    WebsiteRecorder web;
    CPronounceDlg dlg;
    INT_PTR result = MainWindowDriver::Run(dlg, [](MainWindowDriver& s) {
        CPronounceDlg& d = s.Main();
        d.SendMessage(WM_COMMAND, IDOK);
        s.Pump();
        EXPECT_TRUE(IsWindowVisible(d.m_hWnd));
        SetForegroundWindow(d.m_hWnd);
        ::SetFocus(GetDlgItem(d.m_hWnd, IDC_TEXT));
        SendKey('A');
        SendKey(VK_RETURN);
        SendKey('B');
        s.Pump();
        EXPECT_EQ(TextOf(GetDlgItem(d.m_hWnd, IDC_TEXT)), L"a\r\nb");
        EXPECT_TRUE(IsWindowVisible(d.m_hWnd));
        d.PostMessage(WM_COMMAND, IDCANCEL);
    }).result;
    EXPECT_EQ(result, IDCANCEL);  // not IDOK: the window never ended through OK
    EXPECT_TRUE(web.Opened().empty());
}

TEST(AppMainWindow, CancelClosesWithoutOpeningTheWebsite)
{
    WebsiteRecorder web;
    CPronounceDlg dlg;
    INT_PTR result =
        MainWindowDriver::Run(dlg, [](MainWindowDriver& s) { s.Main().PostMessage(WM_COMMAND, IDCANCEL); }).result;
    EXPECT_EQ(result, IDCANCEL);
    EXPECT_FALSE(dlg.m_bStop);  // OnClose never ran
    EXPECT_TRUE(web.Opened().empty());
}

enum class CloseWay { CaptionButton, SystemMenuClose, AltF4, CloseMessage };

void PrintTo(CloseWay way, std::ostream* os)
{
    *os << static_cast<int>(way);
}

std::string CloseWayName(const testing::TestParamInfo<CloseWay>& info)
{
    static const char* const names[] = {"CaptionButton", "SystemMenuClose", "AltF4", "CloseMessage"};
    return names[static_cast<int>(info.param)];
}

class AppMainWindowClose : public testing::TestWithParam<CloseWay> {};

TEST_P(AppMainWindowClose, OpensTheWebsiteOnceThenCloses)
{
    WebsiteRecorder web;
    CPronounceDlg dlg;
    const CloseWay way = GetParam();
    INT_PTR result = MainWindowDriver::Run(dlg, [way](MainWindowDriver& s) {
        CPronounceDlg& d = s.Main();
        SetForegroundWindow(d.m_hWnd);
        switch (way) {
        case CloseWay::CaptionButton: {
            POINT at = CloseButtonPoint(d.m_hWnd);
            ASSERT_GE(at.x, 0) << "no close button found";
            SendClick(at);
            break;
        }
        case CloseWay::SystemMenuClose:
            d.SendMessage(WM_SYSCOMMAND, SC_CLOSE);
            break;
        case CloseWay::AltF4:
            SendKey(VK_F4, true);
            break;
        case CloseWay::CloseMessage:
            d.PostMessage(WM_CLOSE);
            break;
        }
    }).result;
    EXPECT_EQ(result, IDCANCEL);
    EXPECT_TRUE(dlg.m_bStop);
    EXPECT_EQ(web.Opened(), std::vector<std::wstring>{kWebsiteUrl});
}

INSTANTIATE_TEST_SUITE_P(Ways, AppMainWindowClose,
                         testing::Values(CloseWay::CaptionButton, CloseWay::SystemMenuClose,
                                         CloseWay::AltF4, CloseWay::CloseMessage),
                         CloseWayName);

TEST(AppStartup, InitInstanceRunsTheMainWindowModallyThenReturnsFalse)
{
    HWND seen = nullptr;
    bool wasMain = false;
    After(0, [&] {
        CWnd* main = AfxGetMainWnd();
        ASSERT_NE(main, nullptr);
        seen = main->m_hWnd;
        wasMain = IsWindowVisible(seen) && TextOf(seen) == L"粤语拼音学习";
        main->PostMessage(WM_COMMAND, IDCANCEL);
    });
    EXPECT_FALSE(theApp.InitInstance());
    EXPECT_TRUE(wasMain);
    EXPECT_FALSE(IsWindow(seen));
    EXPECT_EQ(theApp.m_pMainWnd, nullptr);
}

}  // namespace
