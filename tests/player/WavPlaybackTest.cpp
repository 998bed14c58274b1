// Playing WAV files: the state follows the file's length, a new URL ends the
// old playback, and what cannot be played ends it silently.
#include "PlayerHost.h"

#include <mmsystem.h>

#include <gtest/gtest.h>

namespace player_test {
namespace {

constexpr long kStopped = 1;

TEST(PlayerWav, StateIsStoppedBeforeAnyUrl)
{
    PlayerHost host;
    ASSERT_NE(host.Dispatch(), nullptr);
    EXPECT_EQ(host.PlayState(), kStopped);
    EXPECT_EQ(host.Url(), L"");
}

TEST(PlayerWav, PlaysForTheFileLengthThenStops)
{
    PlayerHost host;
    const std::wstring wav = WriteWav(L"tone300.wav", 300);
    ASSERT_EQ(host.PutUrl(wav), S_OK);
    const ULONGLONG started = GetTickCount64();
    EXPECT_NE(host.PlayState(), kStopped);
    EXPECT_EQ(host.Url(), wav);

    // Without handling a single message: the state is worked out when asked.
    ASSERT_TRUE(PollUntil([&] { return host.PlayState() == kStopped; }, 10000));
    // Without a sound device the file's length is all there is to follow, so it
    // never ends early (GetTickCount moves in ~16 ms steps). With a device the
    // device says when it is done: ALSA's null device, for one, plays ~3.5x fast.
    if (waveOutGetNumDevs() == 0) {
        EXPECT_GE(GetTickCount64() - started, 300u - 40u);
    }
}

TEST(PlayerWav, HiddenControlPlaysAllTheSame)
{
    PlayerHost host(/*visible=*/false);
    ASSERT_EQ(host.PutUrl(WriteWav(L"hidden.wav", 250)), S_OK);
    EXPECT_NE(host.PlayState(), kStopped);
    EXPECT_TRUE(PumpUntil([&] { return host.PlayState() == kStopped; }, 10000));
}

TEST(PlayerWav, NewUrlEndsWhatPlayedBefore)
{
    PlayerHost host;
    ASSERT_EQ(host.PutUrl(WriteWav(L"long.wav", 60000)), S_OK);
    ASSERT_NE(host.PlayState(), kStopped);
    ASSERT_EQ(host.PutUrl(WriteWav(L"short.wav", 100)), S_OK);
    EXPECT_NE(host.PlayState(), kStopped);
    // The minute-long file would hold the state for a minute.
    EXPECT_TRUE(PumpUntil([&] { return host.PlayState() == kStopped; }, 10000));
}

TEST(PlayerWav, SameFileAgainRestartsIt)
{
    PlayerHost host;
    const std::wstring wav = WriteWav(L"again.wav", 150);
    ASSERT_EQ(host.PutUrl(wav), S_OK);
    ASSERT_TRUE(PumpUntil([&] { return host.PlayState() == kStopped; }, 10000));
    ASSERT_EQ(host.PutUrl(wav), S_OK);
    EXPECT_NE(host.PlayState(), kStopped);
}

TEST(PlayerWav, UnplayablePathsEndPlaybackSilently)
{
    PlayerHost host;
    const std::wstring longWav = WriteWav(L"before.wav", 60000);
    const std::wstring folder = TempDir().substr(0, TempDir().size() - 1);
    struct Case {
        const char* what;
        std::wstring path;
    } cases[] = {
        {"the folder itself, with its backslash", TempDir()},
        {"a folder without a trailing backslash", folder},
        {"a missing file", TempDir() + L"missing.wav"},
        {"a missing folder", L"C:\\no such folder\\x.wav"},
        {"garbage named .wav", WriteBytes(L"garbage.wav", std::string(3000, '\x5a'))},
        {"garbage under another name", WriteBytes(L"garbage.bin", "this is not any kind of medium")},
        {"a WAV with no data chunk", WriteBytes(L"nodata.wav", std::string("RIFF\x04\0\0\0WAVE", 12))},
        {"an empty file", WriteBytes(L"empty.wmv", "")},
        {"an empty URL", L""},
        {"a web address", L"http://127.0.0.1:9/a.wav"},
    };
    const int windowsBefore = CountVisibleTopLevelWindows();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ASSERT_EQ(host.PutUrl(longWav), S_OK);
        ASSERT_NE(host.PlayState(), kStopped);
        EXPECT_EQ(host.PutUrl(c.path), S_OK);
        EXPECT_EQ(host.PlayState(), kStopped);
        EXPECT_EQ(host.Url(), c.path);
        PumpFor(20);
        EXPECT_EQ(CountVisibleTopLevelWindows(), windowsBefore) << "a window appeared";
    }
}

TEST(PlayerWav, TruncatedFilePlaysWhatIsThere)
{
    // The header claims a minute; only 200 ms of samples are in the file.
    std::string wav;
    {
        const std::wstring path = WriteWav(L"full.wav", 200);
        HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
        wav.resize(GetFileSize(file, nullptr));
        DWORD read = 0;
        ReadFile(file, wav.data(), DWORD(wav.size()), &read, nullptr);
        CloseHandle(file);
    }
    const uint32_t claimed = 8000 * 2 * 60;
    wav.replace(40, 4, std::string{char(claimed), char(claimed >> 8), char(claimed >> 16), char(claimed >> 24)});
    PlayerHost host;
    ASSERT_EQ(host.PutUrl(WriteBytes(L"truncated.wav", wav)), S_OK);
    EXPECT_NE(host.PlayState(), kStopped);
    EXPECT_TRUE(PumpUntil([&] { return host.PlayState() == kStopped; }, 10000));
}

}  // namespace
}  // namespace player_test
