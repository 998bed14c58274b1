// The About box, opened through the main window's system commands and closed every
// way a user can close it.
#include <afxwin.h>

#include <gtest/gtest.h>

#include "AppTestSupport.h"
#include "app/PronounceDlg.h"

using namespace app_test;

namespace {

struct AboutSighting {
    HWND main = nullptr;
    bool open = false;
    Box box;
    bool mainEnabled = true;
};

// Looks for the About box once the system command has opened it, notes what it saw,
// then runs `close` on it.
void WatchForAboutBox(CPronounceDlg& main, AboutSighting& seen, std::function<void(HWND)> close)
{
    WhenIdle([&main, &seen, close] {
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
    // One command per step: a watcher that found nothing has run before the next command.
    std::vector<Step> steps;
    for (UINT id = 0x0F; id <= 0x20; ++id) {
        steps.push_back([&seen, id](CPronounceDlg& d) {
            WatchForAboutBox(d, seen[id], CloseWithOkCommand);
            d.SendMessage(WM_SYSCOMMAND, id);  // returns when the box has closed
        });
    }
    steps.push_back([](CPronounceDlg& d) { d.PostMessage(WM_COMMAND, IDCANCEL); });
    EXPECT_EQ(RunMainWindow(dlg, steps), IDCANCEL);
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
    INT_PTR result = RunMainWindow(dlg, {
        [&](CPronounceDlg& d) {
            ::SetWindowTextW(GetDlgItem(d.m_hWnd, IDC_TEXT), L"你好");
            WatchForAboutBox(d, seen, [&](HWND box) {
                aboutBox = box;
                SetForegroundWindow(box);
                switch (way) {
                case AboutClose::OkButton: {
                    RECT rc;
                    GetWindowRect(GetDlgItem(box, IDOK), &rc);
                    ClickAt(POINT{(rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2});
                    break;
                }
                case AboutClose::Enter: PressKey(VK_RETURN); break;
                case AboutClose::Escape: PressKey(VK_ESCAPE); break;
                case AboutClose::CaptionButton: ClickAt(CloseButtonPoint(box)); break;
                case AboutClose::AltF4: PressKey(VK_F4, true); break;
                }
            });
            d.SendMessage(WM_SYSCOMMAND, IDM_ABOUTBOX);
            aboutGone = !IsWindow(aboutBox);
        },
        [&](CPronounceDlg& d) {
            enabledAfter = d.IsWindowEnabled() != FALSE;
            visibleAfter = d.IsWindowVisible() != FALSE;
            wchar_t text[16] = {};
            GetWindowTextW(GetDlgItem(d.m_hWnd, IDC_TEXT), text, 16);
            EXPECT_EQ(std::wstring(text), L"你好");
            d.PostMessage(WM_COMMAND, IDCANCEL);
        },
    });
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
