// The row of playback controls: where it is, what it shows, and its buttons
// driving a WAV by real clicks.
#include "PlayerHost.h"

#include "player/MediaPlayerCtl.h"

#include <commctrl.h>
#include <gtest/gtest.h>

#include <string>

namespace player_test {
namespace {

std::wstring ClassOf(HWND hwnd)
{
    wchar_t name[64] = L"";
    GetClassNameW(hwnd, name, 64);
    return name;
}

RECT RectIn(HWND child, HWND parent)
{
    RECT r;
    GetWindowRect(child, &r);
    MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&r), 2);
    return r;
}

TEST(PlayerControlRow, SitsUnderTheVideoAreaAndFollowsTheSize)
{
    PlayerHost host;
    for (int id : {player::kPlayButtonId, player::kPauseButtonId, player::kStopButtonId})
        EXPECT_EQ(ClassOf(host.Child(id)), L"Button") << id;
    EXPECT_EQ(ClassOf(host.Child(player::kPositionBarId)), TRACKBAR_CLASSW);
    EXPECT_EQ(ClassOf(host.Child(player::kTimeLabelId)), L"Static");

    for (SIZE size : {SIZE{480, 360}, SIZE{300, 200}}) {
        SetWindowPos(host.Control(), nullptr, 0, 0, size.cx, size.cy, SWP_NOZORDER);
        const RECT screen = RectIn(host.Child(player::kScreenId), host.Control());
        const RECT bar = RectIn(host.Child(player::kPositionBarId), host.Control());
        const RECT play = RectIn(host.Child(player::kPlayButtonId), host.Control());
        EXPECT_EQ(screen.left, 0);
        EXPECT_EQ(screen.top, 0);
        EXPECT_EQ(screen.right, size.cx);
        EXPECT_LE(screen.bottom, play.top);
        EXPECT_LE(play.bottom, size.cy);
        EXPECT_GT(play.top, size.cy - 40);
        EXPECT_GT(bar.left, play.right);
        EXPECT_LT(bar.right, size.cx);
        EXPECT_TRUE(IsWindowVisible(host.Child(player::kPositionBarId)));
    }
}

// A hidden player (the one that only plays sounds) has no video area until it plays
// and no row until it is shown;
// then the row is where a visible player's is, and shows what is playing.
TEST(PlayerControlRow, AHiddenPlayerGetsItsRowWhenShown)
{
    PlayerHost host(false);
    EXPECT_EQ(host.Child(player::kPlayButtonId), nullptr);
    EXPECT_EQ(host.Child(player::kPositionBarId), nullptr);
    EXPECT_EQ(host.Child(player::kScreenId), nullptr);
    ASSERT_EQ(host.PutUrl(WriteWav(L"hidden.wav", 60000)), S_OK);
    EXPECT_NE(host.Child(player::kScreenId), nullptr);   // what it plays may be a video
    EXPECT_EQ(host.PlayState(), 3);

    ShowWindow(host.Window(), SW_SHOW);
    ShowWindow(host.Control(), SW_SHOW);
    ASSERT_NE(host.Child(player::kPlayButtonId), nullptr);
    RECT client;
    GetClientRect(host.Control(), &client);
    const RECT play = RectIn(host.Child(player::kPlayButtonId), host.Control());
    const RECT screen = RectIn(host.Child(player::kScreenId), host.Control());
    EXPECT_GT(play.top, client.bottom - 40);
    EXPECT_LE(screen.bottom, play.top);
    EXPECT_TRUE(IsWindowVisible(host.Child(player::kPositionBarId)));
    EXPECT_TRUE(IsWindowEnabled(host.Child(player::kPauseButtonId)));
    EXPECT_EQ(SendMessageW(host.Child(player::kPositionBarId), TBM_GETRANGEMAX, 0, 0), 60000);
}

TEST(PlayerControlRow, ButtonsFollowTheState)
{
    PlayerHost host;
    HWND play = host.Child(player::kPlayButtonId), pause = host.Child(player::kPauseButtonId),
         stop = host.Child(player::kStopButtonId);
    EXPECT_FALSE(IsWindowEnabled(play));  // nothing to play
    EXPECT_FALSE(IsWindowEnabled(pause));
    ASSERT_EQ(host.PutUrl(WriteWav(L"row.wav", 60000)), S_OK);
    EXPECT_FALSE(IsWindowEnabled(play));
    EXPECT_TRUE(IsWindowEnabled(pause));
    EXPECT_TRUE(IsWindowEnabled(stop));
    const HWND bar = host.Child(player::kPositionBarId);
    EXPECT_EQ(SendMessageW(bar, TBM_GETRANGEMAX, 0, 0), 60000);
    wchar_t time[64] = L"";
    GetWindowTextW(host.Child(player::kTimeLabelId), time, 64);
    EXPECT_STREQ(time, L"0:00 / 1:00");
}

TEST(PlayerControlRow, PausePlayAndStopByClicks)
{
    PlayerHost host;
    ASSERT_EQ(host.PutUrl(WriteWav(L"clicks.wav", 300)), S_OK);
    Click(host.Child(player::kPauseButtonId));
    EXPECT_EQ(host.PlayState(), 2);
    // Paused, the recording's time does not run out.
    PumpFor(500);
    EXPECT_EQ(host.PlayState(), 2);

    Click(host.Child(player::kPlayButtonId));
    EXPECT_EQ(host.PlayState(), 3);
    EXPECT_TRUE(PumpUntil([&] { return host.PlayState() == 1; }, 10000));

    // Play again from the start after the end, then stop it.
    Click(host.Child(player::kPlayButtonId));
    EXPECT_EQ(host.PlayState(), 3);
    Click(host.Child(player::kStopButtonId));
    EXPECT_EQ(host.PlayState(), 1);
    EXPECT_FALSE(IsWindowEnabled(host.Child(player::kStopButtonId)));
    EXPECT_TRUE(IsWindowEnabled(host.Child(player::kPlayButtonId)));
}

TEST(PlayerControlRow, BarFollowsThePosition)
{
    PlayerHost host;
    ASSERT_EQ(host.PutUrl(WriteWav(L"bar.wav", 60000)), S_OK);
    const HWND bar = host.Child(player::kPositionBarId);
    // The row's timer moves the thumb while the file plays.
    EXPECT_TRUE(PumpUntil([&] { return SendMessageW(bar, TBM_GETPOS, 0, 0) > 0; }, 5000));
}

}  // namespace
}  // namespace player_test
