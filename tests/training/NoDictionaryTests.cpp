// The training page when its dictionary could not be opened: the failures were
// reported at start-up; the page then stays usable and says nothing more.
#include "TrainingTest.h"

#include "controls/WMPPlayer4.h"
#include "support/PlayerUrl.h"

namespace {

const wchar_t kDictionary[] = L"C:\\WINDOWS\\system32\\abc.mp3";
const wchar_t kAside[] = L"C:\\WINDOWS\\system32\\abc.mp3.training-aside";

// Moves the dictionary away before g_db connects (2001) and puts it back at exit.
struct DictionaryAside {
    DictionaryAside() { moved = MoveFileExW(kDictionary, kAside, MOVEFILE_REPLACE_EXISTING); }
    ~DictionaryAside()
    {
        if (moved)
            MoveFileExW(kAside, kDictionary, MOVEFILE_REPLACE_EXISTING);
    }
    BOOL moved;
};
DictionaryAside aside __attribute__((init_priority(1700)));

TEST(TrainingWithoutDictionary, PageStaysUsableAndSilent)
{
    WriteAnswerSounds(300);
    WritePracticeText(L"你好");
    EXPECT_GE(Boxes().BeforeMain().size(), 1u) << "the failed connection was not reported";
    GameSession::Run([](GameSession& s) {
        const size_t reported = Boxes().Count();  // the main window's own reports
        EXPECT_GE(reported, 1u);

        StartGame(s);
        EXPECT_EQ(TextOf(GetDlgItem(s.PageWnd(), IDC_RICHTEXT)), L"你好") << "the text is loaded all the same";
        EXPECT_FALSE(g_bRunning);
        EXPECT_EQ(s.Text(IDC_FALLING), L"");

        Answer(s, L"nei");
        ASSERT_TRUE(s.Click(IDC_HALT));
        ASSERT_TRUE(s.Click(IDC_START));
        ASSERT_TRUE(s.Click(IDC_START));
        EXPECT_FALSE(g_bRunning);
        ::SetFocus(GetDlgItem(s.PageWnd(), IDC_ANSWER));
        Answer(s, L"hou");

        EXPECT_EQ(Boxes().Count(), reported) << "the page showed more boxes";
        EXPECT_EQ(ReadLines(s), (StatLines{MissesLine(L"0"), TotalLine(L"0"), HitsLine(L"0"), RateLine(L"0")}));
        EXPECT_EQ(s.Text(IDC_HINT), kPrompt);
        EXPECT_EQ(test_support::PlayerUrl(s.Page().m_player.m_hWnd), L"") << "a sound was played";
        EXPECT_TRUE(IsWindowVisible(s.PageWnd()));
    });
}

}  // namespace
