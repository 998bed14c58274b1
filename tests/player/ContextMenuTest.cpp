// The context menu: a right-click on a visible player offers play, pause and
// stop as its row does, and the chosen command is carried out; a hidden
// player offers nothing.
#include "PlayerHost.h"

#include "player/MediaPlayerCtl.h"

#include <gtest/gtest.h>

#include <vector>

namespace player_test {
namespace {

constexpr long kStopped = 1, kPaused = 2, kPlaying = 3;

TEST(PlayerContextMenu, RightClickOnAVisiblePlayerOffersWhatItsRowOffers)
{
    PlayerHost host;
    ASSERT_EQ(host.PutUrl(WriteWav(L"menu.wav", 60000)), S_OK);
    for (int part : {player::kScreenId, player::kPositionBarId, player::kStopButtonId}) {
        SCOPED_TRACE(part);
        MenuWatch watch(0);
        RightClick(host.Child(part));
        ASSERT_TRUE(watch.shown);
        const std::vector<MenuItem> playing = {{L"播放(&P)", false}, {L"暂停(&A)", true}, {L"停止(&S)", true}};
        EXPECT_EQ(watch.items, playing);
        EXPECT_EQ(host.PlayState(), kPlaying) << "closing the menu chose nothing";
    }
}

TEST(PlayerContextMenu, ChosenCommandsAreCarriedOut)
{
    PlayerHost host;
    ASSERT_EQ(host.PutUrl(WriteWav(L"commands.wav", 60000)), S_OK);
    const struct {
        wchar_t key;
        long state;
    } steps[] = {{L'a', kPaused}, {L'p', kPlaying}, {L's', kStopped}, {L'p', kPlaying}};
    for (const auto& step : steps) {
        SCOPED_TRACE(char(step.key));
        MenuWatch watch(step.key);
        RightClick(host.Child(player::kScreenId));
        ASSERT_TRUE(watch.shown);
        EXPECT_EQ(host.PlayState(), step.state);
    }
    // The row follows what the menu did.
    MenuWatch watch(L's');
    RightClick(host.Child(player::kScreenId));
    EXPECT_FALSE(IsWindowEnabled(host.Child(player::kStopButtonId)));
    EXPECT_TRUE(IsWindowEnabled(host.Child(player::kPlayButtonId)));
}

// A player kept hidden only plays sounds.
TEST(PlayerContextMenu, AHiddenPlayerShowsNone)
{
    PlayerHost host(/*visible=*/false);
    ASSERT_EQ(host.PutUrl(WriteWav(L"hidden-menu.wav", 60000)), S_OK);
    {
        MenuWatch watch(0);
        RightClick(host.Control());
        EXPECT_FALSE(watch.shown);
    }
    {
        MenuWatch watch(0);
        SendMessageW(host.Control(), WM_CONTEXTMENU, WPARAM(host.Control()), -1);  // the menu key
        EXPECT_FALSE(watch.shown);
    }
    EXPECT_EQ(host.PlayState(), kPlaying);
}

}  // namespace
}  // namespace player_test
