// The About box, opened through the main window's system commands and closed every
// way a user can close it.
#include <afxwin.h>

#include <gtest/gtest.h>

#include "WebsiteRecorder.h"
#include "app/PronounceDlg.h"
#include "support/Dialogs.h"
#include "support/Drive.h"
#include "support/MainWindowDriver.h"
#include "support/MessageBoxes.h"

namespace {

struct AboutSighting {
    HWND main = nullptr;
    bool open = false;
    Box box;
    bool mainEnabled = true;
};

// Looks for the About box once the system command has opened it (when its loop is
// idle), notes what it saw, then runs `close` on it.
void WatchForAboutBox(CPronounceDlg& main, AboutSighting& seen, std::function<void(HWND)> close)
{
    After(0, [&main, &seen, close] {
        for (HWND hwnd : OpenDialogs()) {
            if (hwnd == main.m_hWnd)
                continue;
            seen.main = main.m_hWnd;
            seen.open = true;
            seen.box = ReadBox(hwnd);
            seen.mainEnabled = IsWindowEnabled(main.m_hWnd) != FALSE;
            close(hwnd);
            return;
        }
    });
}

void CloseWithOkCommand(HWND box)
{
    PostMessageW(box, WM_COMMAND, IDOK, 0);
}

TEST(AppAboutBox, EverySystemCommandFrom0x10To0x1FOpensIt)
{
    CPronounceDlg dlg;
    std::vector<AboutSighting> seen(0x20 + 1);
    INT_PTR result = MainWindowDriver::Run(dlg, [&seen](MainWindowDriver& s) {
        for (UINT id = 0x0F; id <= 0x20; ++id) {
            WatchForAboutBox(s.Main(), seen[id], CloseWithOkCommand);
            s.Main().SendMessage(WM_SYSCOMMAND, id);  // returns when the box has closed
            s.Wait(20);  // a watcher that found nothing runs before the next command
        }
        s.Main().PostMessage(WM_COMMAND, IDCANCEL);
    }).result;
    EXPECT_EQ(result, IDCANCEL);
    for (UINT id = 0x10; id <= 0x1F; ++id) {
        SCOPED_TRACE(id);
        ASSERT_TRUE(seen[id].open);
        EXPECT_EQ(seen[id].box.caption, L"关于 粤语拼音学习");
        EXPECT_EQ(seen[id].box.owner, seen[id].main);
        EXPECT_FALSE(seen[id].mainEnabled) << "the main window takes no input meanwhile";
        EXPECT_EQ(seen[id].box.buttons, std::vector<std::wstring>{L"确定"});
        EXPECT_TRUE(seen[id].box.hasIcon);
        EXPECT_NE(seen[id].box.text.find(L"粤语拼音学习 1.0 版"), std::wstring::npos)
            << Utf8(seen[id].box.text);
    }
    EXPECT_FALSE(seen[0x0F].open);
    EXPECT_FALSE(seen[0x20].open);
}

enum class AboutClose { OkButton, Enter, Escape, CaptionButton, AltF4 };

void PrintTo(AboutClose way, std::ostream* os)
{
    *os << static_cast<int>(way);
}

std::string AboutCloseName(const testing::TestParamInfo<AboutClose>& info)
{
    static const char* const names[] = {"OkButton", "Enter", "Escape", "CaptionButton", "AltF4"};
    return names[static_cast<int>(info.param)];
}

class AppAboutBoxClose : public testing::TestWithParam<AboutClose> {};

TEST_P(AppAboutBoxClose, LeavesTheMainWindowAsItWas)
{
    WebsiteRecorder web;
    CPronounceDlg dlg;
    AboutSighting seen;
    HWND aboutBox = nullptr;
    bool enabledAfter = false, visibleAfter = false, aboutGone = false;
    const AboutClose way = GetParam();
    INT_PTR result = MainWindowDriver::Run(dlg, [&](MainWindowDriver& s) {
        CPronounceDlg& d = s.Main();
        ::SetWindowTextW(GetDlgItem(d.m_hWnd, IDC_TEXT), L"你好");
        WatchForAboutBox(d, seen, [&](HWND box) {
            aboutBox = box;
            SetForegroundWindow(box);
            switch (way) {
            case AboutClose::OkButton: {
                RECT rc;
                GetWindowRect(GetDlgItem(box, IDOK), &rc);
                SendClick(POINT{(rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2});
                break;
            }
            case AboutClose::Enter: SendKey(VK_RETURN); break;
            case AboutClose::Escape: SendKey(VK_ESCAPE); break;
            case AboutClose::CaptionButton: SendClick(CloseButtonPoint(box)); break;
            case AboutClose::AltF4: SendKey(VK_F4, true); break;
            }
        });
        d.SendMessage(WM_SYSCOMMAND, IDM_ABOUTBOX);
        aboutGone = !IsWindow(aboutBox);
        s.Pump();
        enabledAfter = d.IsWindowEnabled() != FALSE;
        visibleAfter = d.IsWindowVisible() != FALSE;
        EXPECT_EQ(TextOf(d.m_hWnd, IDC_TEXT), L"你好");
        d.PostMessage(WM_COMMAND, IDCANCEL);
    }).result;
    ASSERT_TRUE(seen.open);
    EXPECT_TRUE(aboutGone);
    EXPECT_TRUE(enabledAfter);
    EXPECT_TRUE(visibleAfter);
    EXPECT_EQ(result, IDCANCEL);  // the main window went on until our Cancel
    EXPECT_FALSE(dlg.m_bStop);
    EXPECT_TRUE(web.Opened().empty()) << "the About box's close is not the main window's";
}

INSTANTIATE_TEST_SUITE_P(Ways, AppAboutBoxClose,
                         testing::Values(AboutClose::OkButton, AboutClose::Enter, AboutClose::Escape,
                                         AboutClose::CaptionButton, AboutClose::AltF4),
                         AboutCloseName);

}  // namespace
