// Text the learner may type or paste that is not plain Chinese: characters outside
// the Basic Multilingual Plane (two UTF-16 units each) and control characters.
#include <gtest/gtest.h>

#include "RobustnessTest.h"

namespace robustness {
namespace {

// U+20000 and U+1F600 (two units each), SOH, BEL, TAB, ESC, DEL, a line break,
// a lone surrogate and U+FFFF between the three characters that have readings.
const std::wstring kOddText = L"\U00020000你\x01\x07\t\x1b\x7f好\U0001F600\r\n\xD800\xFFFF们";

TEST(RobustnessText, LookupOfOddCharactersReadsOnlyTheKnownOnes)
{
    UseDictionary(StandardDictionary());
    for (const wchar_t* name : {L"nei5", L"hou2", L"mun4"})
        WriteRecording(name, 50);
    Boxes().Reset();
    PlayerSpy spy;
    std::wstring textAfter, label;
    MainWindowDriver::Run([&](MainWindowDriver& s) {
        spy.Attach(s.Main());
        s.SetLookupText(kOddText);
        ASSERT_TRUE(s.ClickMain(IDC_LOOKUP));
        ASSERT_TRUE(s.WaitForWalkEnd());
        textAfter = s.MainText(IDC_TEXT);
        label = s.MainText(IDC_PHONETIC);
        EXPECT_TRUE(s.MainEnabled(IDC_LOOKUP));
    });
    EXPECT_EQ(Recordings(spy.Urls()),
              (std::vector<std::wstring>{RecordingPath(L"nei5"), RecordingPath(L"hou2"), RecordingPath(L"mun4")}));
    EXPECT_EQ(label, L"mun4");
    EXPECT_EQ(textAfter, kOddText) << "the text box was not given back its text as it was";
    EXPECT_EQ(Boxes().Taken().size(), 0u) << BoxList();
}

// Typed into the answer box: the box keeps at most 10 units, Enter scores a miss
// and shows the reference spelling; the game goes on.
TEST(RobustnessText, OddAnswersAreMissesAndTheGameGoesOn)
{
    UseDictionary(StandardDictionary());
    WritePracticeText(L"你好");
    Boxes().Reset();
    MainWindowDriver::Run([&](MainWindowDriver& s) {
        s.ClickTab(1);
        ASSERT_TRUE(s.Click(IDC_START));
        s.Answer(L"\U0001F600\x01\x07\x7f\xD800nei");
        EXPECT_EQ(g_nMisses, 1);
        EXPECT_EQ(s.Text(IDC_HINT), L"输入错误,参考音标:nei");
        std::wstring many;
        for (int i = 0; i < 20; ++i)
            many += L"\U00020000";
        s.Type(many + L"x");
        EXPECT_LE(s.Text(IDC_ANSWER).size(), 10u);
        s.PressEnter();
        EXPECT_EQ(g_nMisses, 2);
        s.Answer(L"nei");
        EXPECT_EQ(g_nHits, 1);
        EXPECT_EQ(s.Text(IDC_FALLING), L"好");
    });
    EXPECT_EQ(Boxes().Taken().size(), 0u) << BoxList();
}

}  // namespace
}  // namespace robustness
