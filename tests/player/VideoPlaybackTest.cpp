// Video through DirectShow: the picture in the control's area, the control row
// driving it by real clicks and drags, the end, and leaving the page.
#define NO_DSHOW_STRSAFE
#include "PlayerHost.h"

#include "player/MediaPlayerCtl.h"

#include <commctrl.h>
#include <dshow.h>
#include <gtest/gtest.h>

#include <cstdlib>

namespace player_test {
namespace {

constexpr long kStopped = 1, kPaused = 2, kPlaying = 3;
constexpr int kVideoMs = 2000;  // the fixture's length

// Whether this machine decodes the fixture at all, asked of DirectShow directly
// so that a fault of the player cannot pass for a missing decoder.
bool CanDecode(const std::wstring& path)
{
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    IGraphBuilder* graph = nullptr;
    bool ok = false;
    if (SUCCEEDED(CoCreateInstance(CLSID_FilterGraph, nullptr, CLSCTX_INPROC_SERVER, IID_IGraphBuilder,
                                   reinterpret_cast<void**>(&graph)))) {
        ok = SUCCEEDED(graph->RenderFile(path.c_str(), nullptr));
        graph->Release();
    }
    CoUninitialize();
    return ok;
}

class PlayerVideo : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_NE(GetFileAttributesW(PLAYER_TEST_VIDEO), INVALID_FILE_ATTRIBUTES) << "the build makes the video";
        static const bool decodes = CanDecode(PLAYER_TEST_VIDEO);
        if (!decodes)
            GTEST_SKIP() << "no DirectShow decoder for WMV here (gstreamer1.0-plugins-ugly, gstreamer1.0-libav)";
        // A copy of our own, which a test may rename.
        video_ = TempDir() + L"video-" + std::to_wstring(++count_) + L".wmv";
        ASSERT_TRUE(CopyFileW(PLAYER_TEST_VIDEO, video_.c_str(), FALSE));
    }

    HWND Bar() const { return host_.Child(player::kPositionBarId); }
    long BarPos() const { return long(SendMessageW(Bar(), TBM_GETPOS, 0, 0)); }

    // The video renderer's window, a child of the control's video area.
    HWND VideoWindow() const { return GetWindow(host_.Child(player::kScreenId), GW_CHILD); }

    // The picture is `w` x `h` and centred in the video area.
    void ExpectPictureFits(HWND picture, int w, int h) const
    {
        RECT area, shown;
        GetClientRect(host_.Child(player::kScreenId), &area);
        GetWindowRect(picture, &shown);
        MapWindowPoints(nullptr, host_.Child(player::kScreenId), reinterpret_cast<POINT*>(&shown), 2);
        EXPECT_EQ(shown.right - shown.left, w);
        EXPECT_EQ(shown.bottom - shown.top, h);
        EXPECT_NEAR(shown.left, (area.right - w) / 2, 1);
        EXPECT_NEAR(shown.top, (area.bottom - h) / 2, 1);
    }

    PlayerHost host_;
    std::wstring video_;
    static inline int count_ = 0;
};

TEST_F(PlayerVideo, PlaysInTheVideoAreaWithTheControlRow)
{
    const int windowsBefore = CountVisibleTopLevelWindows();
    ASSERT_EQ(host_.PutUrl(video_), S_OK);
    EXPECT_EQ(host_.PlayState(), kPlaying);

    const HWND picture = VideoWindow();
    ASSERT_NE(picture, nullptr);
    EXPECT_TRUE(IsWindowVisible(picture));
    // Room enough: the picture at its own size (the fixture is 320 x 240), centred.
    ExpectPictureFits(picture, 320, 240);

    EXPECT_NEAR(SendMessageW(Bar(), TBM_GETRANGEMAX, 0, 0), kVideoMs, 100);
    EXPECT_TRUE(IsWindowEnabled(host_.Child(player::kPauseButtonId)));
    // The row's timer moves the thumb as the video runs.
    EXPECT_TRUE(PumpUntil([&] { return BarPos() > 200; }, 5000));
    EXPECT_EQ(CountVisibleTopLevelWindows(), windowsBefore) << "no window of its own, no error box";

    // Too little room: scaled down, proportions kept (the area is 300 x 210).
    SetWindowPos(host_.Control(), nullptr, 0, 0, 300, 210 + 30, SWP_NOZORDER | SWP_NOMOVE);
    ExpectPictureFits(picture, 280, 210);
}

TEST_F(PlayerVideo, PausePlayAndStopByClicks)
{
    ASSERT_EQ(host_.PutUrl(video_), S_OK);
    ASSERT_TRUE(PumpUntil([&] { return BarPos() > 100; }, 5000));

    Click(host_.Child(player::kPauseButtonId));
    EXPECT_EQ(host_.PlayState(), kPaused);
    const long frozen = BarPos();
    PumpFor(400);
    EXPECT_EQ(host_.PlayState(), kPaused);
    EXPECT_NEAR(BarPos(), frozen, 50);

    Click(host_.Child(player::kPlayButtonId));
    EXPECT_EQ(host_.PlayState(), kPlaying);
    EXPECT_TRUE(PumpUntil([&] { return BarPos() > frozen + 100; }, 5000));

    Click(host_.Child(player::kStopButtonId));
    EXPECT_EQ(host_.PlayState(), kStopped);
    EXPECT_EQ(BarPos(), 0);  // stop rewinds
    PumpFor(300);
    EXPECT_EQ(host_.PlayState(), kStopped);

    Click(host_.Child(player::kPlayButtonId));
    EXPECT_EQ(host_.PlayState(), kPlaying);
}

TEST_F(PlayerVideo, StopsAtTheEndWithoutAnyMessageHandled)
{
    ASSERT_EQ(host_.PutUrl(video_), S_OK);
    ASSERT_EQ(host_.PlayState(), kPlaying);
    const ULONGLONG started = GetTickCount64();
    EXPECT_TRUE(PollUntil([&] { return host_.PlayState() == kStopped; }, 15000));
    EXPECT_GE(GetTickCount64() - started, ULONGLONG(kVideoMs - 300));
    PumpFor(50);
    EXPECT_EQ(BarPos(), 0);
    // Played again it starts from the beginning.
    Click(host_.Child(player::kPlayButtonId));
    EXPECT_EQ(host_.PlayState(), kPlaying);
    EXPECT_LT(BarPos(), 500);
}

// A right-click opens the menu at the pointer, as a context menu does, wherever it
// falls: on the picture (a window of the video renderer's, inside the video area), on
// the black bar above it, on the row. The pointer never starts over an item.
TEST_F(PlayerVideo, ContextMenuOpensAtThePointerOnThePictureTheBarAndTheRow)
{
    ASSERT_EQ(host_.PutUrl(video_), S_OK);
    const HWND picture = VideoWindow();
    ASSERT_NE(picture, nullptr);
    RECT area, shown;
    GetWindowRect(host_.Child(player::kScreenId), &area);
    GetWindowRect(picture, &shown);
    ASSERT_GT(shown.top, area.top) << "the picture has a bar above it";

    const struct {
        const char* what;
        HWND part;
    } parts[] = {{"picture", picture}, {"bar", host_.Child(player::kScreenId)},
                 {"row", host_.Child(player::kStopButtonId)}};
    for (const auto& [what, part] : parts) {
        SCOPED_TRACE(what);
        RECT client;
        GetClientRect(part, &client);
        POINT pointer{client.right / 2, client.bottom / 2};  // where RightClick clicks
        ClientToScreen(part, &pointer);
        MenuWatch watch(0);
        RightClick(part);
        ASSERT_TRUE(watch.shown);
        EXPECT_EQ(watch.popup.left, pointer.x);
        EXPECT_EQ(watch.popup.top, pointer.y);
        EXPECT_EQ(host_.PlayState(), kPlaying) << "closing the menu chose nothing";
    }
}

TEST_F(PlayerVideo, DroppingTheThumbSeeks)
{
    ASSERT_EQ(host_.PutUrl(video_), S_OK);
    Click(host_.Child(player::kPauseButtonId));
    ASSERT_EQ(host_.PlayState(), kPaused);

    // Drag the thumb to three quarters of the channel by the bar's own mouse messages.
    RECT thumb, channel;
    SendMessageW(Bar(), TBM_GETTHUMBRECT, 0, reinterpret_cast<LPARAM>(&thumb));
    SendMessageW(Bar(), TBM_GETCHANNELRECT, 0, reinterpret_cast<LPARAM>(&channel));
    const int y = (thumb.top + thumb.bottom) / 2;
    const int from = (thumb.left + thumb.right) / 2;
    const int to = channel.left + (channel.right - channel.left) * 3 / 4;
    SendMessageW(Bar(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(from, y));
    SendMessageW(Bar(), WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM((from + to) / 2, y));
    SendMessageW(Bar(), WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(to, y));
    SendMessageW(Bar(), WM_LBUTTONUP, 0, MAKELPARAM(to, y));
    PumpFor(100);

    // After the drop the thumb shows the graph's own position.
    EXPECT_EQ(host_.PlayState(), kPaused);
    EXPECT_NEAR(BarPos(), kVideoMs * 3 / 4, 250);
    wchar_t time[64] = L"";
    GetWindowTextW(host_.Child(player::kTimeLabelId), time, 64);
    EXPECT_STREQ(time, L"0:01 / 0:02");
}

// True when nobody else has the file open: an open with no sharing at all succeeds.
bool OpensExclusively(const std::wstring& path)
{
    HANDLE file = CreateFileW(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    CloseHandle(file);
    return true;
}

TEST_F(PlayerVideo, LeavingThePageStopsItAndFreesTheFile)
{
    ASSERT_EQ(host_.PutUrl(video_), S_OK);
    ASSERT_EQ(host_.PlayState(), kPlaying);
    // While it plays the graph holds the file (Wine's reader shares it for
    // renaming, so only an exclusive open tells).
    EXPECT_FALSE(OpensExclusively(video_));

    ASSERT_EQ(host_.PutUrl(TempDir()), S_OK);  // the install folder, in the program
    EXPECT_EQ(host_.PlayState(), kStopped);
    EXPECT_EQ(VideoWindow(), nullptr);
    EXPECT_TRUE(OpensExclusively(video_)) << "error " << GetLastError();
    EXPECT_TRUE(DeleteFileW(video_.c_str()));
}

TEST_F(PlayerVideo, RecordingReplacesTheVideo)
{
    ASSERT_EQ(host_.PutUrl(video_), S_OK);
    ASSERT_EQ(host_.PutUrl(WriteWav(L"after-video.wav", 150)), S_OK);
    EXPECT_EQ(VideoWindow(), nullptr);
    EXPECT_NE(host_.PlayState(), kStopped);
    EXPECT_TRUE(PumpUntil([&] { return host_.PlayState() == kStopped; }, 5000));
}

}  // namespace
}  // namespace player_test
