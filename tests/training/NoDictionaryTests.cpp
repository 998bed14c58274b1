// The training page when its dictionary could not be opened: the failures were
// reported at start-up; the page then stays usable and says nothing more.
#include "TrainingTest.h"

#include "controls/WMPPlayer4.h"
#include "support/PlayerUrl.h"

namespace {

// No dictionary before g_db connects; it comes back when this program ends.
const test_support::StartFiles files __attribute__((init_priority(1700))){[] {
    RemoveDictionary();
    WriteAnswerSounds();
}};

TEST(TrainingWithoutDictionary, PageStaysUsableAndSilent)
{
    WritePracticeText(L"你好");
    EXPECT_GE(Boxes().BeforeMain().size(), 1u) << "the failed connection was not reported";
    MainWindowDriver::Run([](MainWindowDriver& s) {
        const size_t reported = Boxes().Count();  // the main window's own reports
        EXPECT_GE(reported, 1u);

        StartGame(s);
        EXPECT_EQ(TextOf(GetDlgItem(s.PageWnd(), IDC_RICHTEXT)), L"你好") << "the text is loaded all the same";
        EXPECT_FALSE(g_bRunning);
        EXPECT_EQ(s.Text(IDC_FALLING), L"");

        s.Answer(L"nei");
        ASSERT_TRUE(s.Click(IDC_HALT));
        ASSERT_TRUE(s.Click(IDC_START));
        ASSERT_TRUE(s.Click(IDC_START));
        EXPECT_FALSE(g_bRunning);
        ::SetFocus(GetDlgItem(s.PageWnd(), IDC_ANSWER));
        s.Answer(L"hou");

        EXPECT_EQ(Boxes().Count(), reported) << "the page showed more boxes";
        EXPECT_EQ(ReadLines(s), (StatLines{MissesLine(L"0"), TotalLine(L"0"), HitsLine(L"0"), RateLine(L"0")}));
        EXPECT_EQ(s.Text(IDC_HINT), kPrompt);
        EXPECT_EQ(test_support::PlayerUrl(s.Page().m_player.m_hWnd), L"") << "a sound was played";
        EXPECT_TRUE(IsWindowVisible(s.PageWnd()));
    });
}

}  // namespace
