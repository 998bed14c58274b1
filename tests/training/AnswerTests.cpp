// Answer checking: Enter on the page, the spelling without its tone digit, the
// statistics lines, the hint and the sounds.
#include "TrainingTest.h"

#include "controls/WMPPlayer4.h"
#include "support/PlayerUrl.h"

namespace {

std::wstring PlayerUrl(MainWindowDriver& s)
{
    return test_support::PlayerUrl(s.Page().m_player.m_hWnd);
}

TEST(TrainingAnswer, HitRewritesHitsTotalAndRateThenTheNextCharacterFallsFromTheTop)
{
    WritePracticeText(L"你好");
    MainWindowDriver::Run([](MainWindowDriver& s) {
        StartGame(s);
        ASSERT_EQ(s.Text(IDC_FALLING), L"你");
        s.Tick(1, 40);
        ASSERT_EQ(s.Rect(IDC_FALLING).top, 46);

        s.Answer(L"nei");
        EXPECT_EQ(ReadLines(s), (StatLines{MissesLine(L"0"), TotalLine(L"1"), HitsLine(L"1"), RateLine(L"1.00")}));
        EXPECT_EQ(s.Text(IDC_FALLING), L"好");
        const RECT label = s.Rect(IDC_FALLING);
        EXPECT_EQ(label.left, 128);
        EXPECT_EQ(label.top, 6);
        EXPECT_EQ(label.right - label.left, 67);
        EXPECT_EQ(label.bottom - label.top, 14);
        EXPECT_EQ(s.Text(IDC_ANSWER), L"");
        EXPECT_EQ(s.Text(IDC_HINT), kPrompt);
        EXPECT_EQ(PlayerUrl(s), RecordingPath(L"ok"));
        EXPECT_NE(s.Page().m_player.GetPlayState(), 1) << "ok.wav is not playing";
        EXPECT_TRUE(g_bRunning);
    });
    EXPECT_EQ(Boxes().Count(), 0u);
}

TEST(TrainingAnswer, WrongAnswerShowsTheSpellingCountsAMissAndTheCharacterFallsOn)
{
    WritePracticeText(L"你好");
    MainWindowDriver::Run([](MainWindowDriver& s) {
        StartGame(s);
        s.Tick(1, 10);
        s.Answer(L"nei5");  // the tone digit is not part of the answer
        EXPECT_EQ(ReadLines(s), (StatLines{MissesLine(L"1"), TotalLine(L"1"), HitsLine(L"0"), RateLine(L"0.00")}));
        EXPECT_EQ(s.Text(IDC_HINT), L"输入错误,参考音标:nei");
        EXPECT_EQ(s.Text(IDC_ANSWER), L"");
        EXPECT_EQ(s.Text(IDC_FALLING), L"你");
        EXPECT_EQ(s.Rect(IDC_FALLING).top, 16) << "the character goes on from where it was";
        EXPECT_EQ(PlayerUrl(s), RecordingPath(L"ng"));
        EXPECT_TRUE(g_bRunning);

        // The same character may be answered again: one hit and one miss make 0.50.
        s.Answer(L"nei");
        EXPECT_EQ(ReadLines(s), (StatLines{MissesLine(L"1"), TotalLine(L"2"), HitsLine(L"1"), RateLine(L"0.50")}));
        EXPECT_EQ(s.Text(IDC_FALLING), L"好");
    });
}

TEST(TrainingAnswer, OnlyTheExactSpellingIsRight)
{
    WritePracticeText(L"a行");
    MainWindowDriver::Run([](MainWindowDriver& s) {
        StartGame(s);
        ASSERT_EQ(s.Text(IDC_FALLING), L"a");
        struct Case {
            const wchar_t* typed;
            const wchar_t* why;
        };
        for (Case c : {Case{L"", L"empty"}, Case{L"a", L"other letter case"}, Case{L"A1", L"with tone digit"},
                       Case{L" A", L"leading blank"}, Case{L"A ", L"trailing blank"}}) {
            s.Answer(c.typed);
            EXPECT_EQ(s.Text(IDC_FALLING), L"a") << Utf8(c.why) << " counted as right";
            EXPECT_EQ(s.Text(IDC_HINT), L"输入错误,参考音标:A") << Utf8(c.why);
        }
        EXPECT_EQ(g_nMisses, 5);
        s.Answer(L"A");
        EXPECT_EQ(g_nHits, 1);
        // 行 has two rows; the first one holds.
        ASSERT_EQ(s.Text(IDC_FALLING), L"行");
        s.Answer(L"hong");
        EXPECT_EQ(s.Text(IDC_HINT), L"输入错误,参考音标:hang");
        s.Answer(L"hang");
        EXPECT_EQ(ReadLines(s), (StatLines{MissesLine(L"6"), TotalLine(L"8"), HitsLine(L"2"), RateLine(L"0.25")}));
    });
}

TEST(TrainingAnswer, EnterIsCheckedWhicheverPageControlHasTheFocus)
{
    WritePracticeText(L"你好我");
    MainWindowDriver::Run([](MainWindowDriver& s) {
        StartGame(s);
        s.Type(L"nei");
        ::SetFocus(GetDlgItem(s.PageWnd(), IDC_SPEED));
        s.PressEnter();
        EXPECT_EQ(g_nHits, 1);
        EXPECT_EQ(s.Text(IDC_FALLING), L"好");

        s.Type(L"hou");
        ::SetFocus(GetDlgItem(s.PageWnd(), IDC_CHANGE));
        s.PressEnter();  // on the "更换" button: checked, not a click on it
        EXPECT_EQ(g_nHits, 2);
        EXPECT_EQ(s.Text(IDC_FALLING), L"我");
        EXPECT_FALSE(g_bReloadText);
        EXPECT_TRUE(IsWindowVisible(s.PageWnd())) << "Enter hid the page";
    });
}

TEST(TrainingAnswer, EnterWhileNothingFallsScoresNothing)
{
    WritePracticeText(L"你好");
    MainWindowDriver::Run([](MainWindowDriver& s) {
        s.ClickTab(1);
        const StatLines initial = ReadLines(s);
        ::SetFocus(GetDlgItem(s.PageWnd(), IDC_ANSWER));
        s.Answer(L"nei");  // before the first start
        EXPECT_EQ(ReadLines(s), initial);
        EXPECT_EQ(s.Text(IDC_HINT), kPrompt);
        EXPECT_EQ(g_nTotal, 0);

        ASSERT_TRUE(s.Click(IDC_START));
        ASSERT_TRUE(s.Click(IDC_HALT));
        ::SetFocus(GetDlgItem(s.PageWnd(), IDC_ANSWER));
        s.Answer(L"nei");  // paused
        EXPECT_EQ(ReadLines(s), initial);
        EXPECT_EQ(s.Text(IDC_FALLING), L"你");
        EXPECT_EQ(s.Text(IDC_ANSWER), L"nei") << "the typed answer is left alone";
        EXPECT_TRUE(IsWindowVisible(s.PageWnd()));
    });
    EXPECT_EQ(Boxes().Count(), 0u);
}

// A miss at the bottom writes the rate with six decimals, an answer with two.
TEST(TrainingAnswer, RateFormatFollowsTheKindOfTry)
{
    WritePracticeText(L"你好我");
    MainWindowDriver::Run([](MainWindowDriver& s) {
        StartGame(s);
        s.Answer(L"nei");
        s.Tick(1, s.ClientHeight() - 20);  // 好 reaches the bottom
        EXPECT_EQ(ReadLines(s),
                  (StatLines{MissesLine(L"1"), TotalLine(L"2"), HitsLine(L"1"), RateLine(L"0.500000")}));
        ASSERT_TRUE(s.Click(IDC_START));
        ASSERT_EQ(s.Text(IDC_FALLING), L"我") << "the missed character is not offered again";
        s.Answer(L"ngo");
        EXPECT_EQ(ReadLines(s), (StatLines{MissesLine(L"1"), TotalLine(L"3"), HitsLine(L"2"), RateLine(L"0.67")}));
    });
}

// Characters the dictionary does not know can still fall (a new pass shows the text's
// first character as it is, a resumed label may be empty). Enter on them checks nothing
// and counts nothing: the game moves on to the next character.
TEST(TrainingAnswer, EnterOnACharacterWithoutEntryCountsNothingAndMovesOn)
{
    WritePracticeText(L"x你");
    MainWindowDriver::Run([](MainWindowDriver& s) {
        StartGame(s);
        ASSERT_EQ(s.Text(IDC_FALLING), L"你") << "the first pass skips x";
        s.Answer(L"nei");
        // End of the first pass: won.
        ASSERT_EQ(Boxes().Count(), 1u);
        ASSERT_TRUE(s.Click(IDC_START));
        ASSERT_EQ(s.Text(IDC_FALLING), L"x") << "a new pass shows the first character as it is";
        const StatLines before = ReadLines(s);
        s.Answer(L"x");
        EXPECT_EQ(ReadLines(s), before);
        EXPECT_EQ(g_nTotal, 1);
        EXPECT_EQ(s.Text(IDC_FALLING), L"你");
        EXPECT_EQ(s.Rect(IDC_FALLING).top, 6);
        EXPECT_EQ(s.Text(IDC_HINT), kPrompt);
        EXPECT_TRUE(g_bRunning);
    });
}

TEST(TrainingAnswer, EnterOnAnEmptyResumedLabelCountsNothing)
{
    WritePracticeText(L"你好");
    MainWindowDriver::Run([](MainWindowDriver& s) {
        s.ClickTab(1);
        ASSERT_TRUE(s.Click(IDC_HALT));   // before any start: halted with an empty label
        ASSERT_TRUE(s.Click(IDC_START));  // resumes the empty label
        ASSERT_EQ(s.Text(IDC_FALLING), L"");
        ASSERT_TRUE(g_bRunning);
        s.Answer(L"nei");
        EXPECT_EQ(g_nTotal, 0);
        EXPECT_EQ(s.Text(IDC_FALLING), L"你");
        s.Answer(L"nei");
        EXPECT_EQ(ReadLines(s), (StatLines{MissesLine(L"0"), TotalLine(L"1"), HitsLine(L"1"), RateLine(L"1.00")}));
    });
}

}  // namespace
