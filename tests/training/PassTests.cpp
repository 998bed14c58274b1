// The practice text: characters in order, those without a dictionary entry skipped,
// the end of a pass, new passes, the retry question and loading the file.
#include "TrainingTest.h"

namespace {

const std::wstring AppName()
{
    return AfxGetAppName();
}

void ExpectGreate(const MessageBoxRecord& box)
{
    EXPECT_EQ(box.text, L"Greate!");
    EXPECT_EQ(box.caption, AppName());
    EXPECT_EQ(box.buttons, std::vector<int>{IDOK});
    EXPECT_EQ(box.icon, 0u);
}

void ExpectRetryQuestion(const MessageBoxRecord& box)
{
    EXPECT_EQ(box.text, L"你输了,是否在来一盘?");
    EXPECT_EQ(box.caption, L"重试?");
    EXPECT_EQ(box.buttons, (std::vector<int>{IDOK, IDCANCEL}));
    EXPECT_EQ(box.icon, 0u);
}

TEST(TrainingPass, CharactersFallInOrderAndThoseWithoutEntrySkipUncounted)
{
    // x, the blank, the line break and 乙 have no entry.
    WritePracticeText(L"你x好 \r\n乙我");
    MainWindowDriver::Run([](MainWindowDriver& s) {
        StartGame(s);
        for (const wchar_t* ch : {L"你", L"好", L"我"}) {
            ASSERT_EQ(s.Text(IDC_FALLING), ch);
            const std::wstring spelling = ch == std::wstring(L"你") ? L"nei" : ch == std::wstring(L"好") ? L"hou" : L"ngo";
            s.Answer(spelling);
        }
        EXPECT_EQ(ReadLines(s), (StatLines{MissesLine(L"0"), TotalLine(L"3"), HitsLine(L"3"), RateLine(L"1.00")}));
        ASSERT_EQ(Boxes().Count(), 1u);
        ExpectGreate(Boxes().Taken()[0]);
        EXPECT_TRUE(g_bHalted);
        EXPECT_FALSE(g_bRunning);
        EXPECT_FALSE(KillTimer(s.PageWnd(), 1));
        EXPECT_EQ(s.SliderPos(), 1) << "the first pass leaves the slider alone";
    });
}

TEST(TrainingPass, NewPassBeginsWithTheFirstCharacterAndMovesTheSliderUp)
{
    WritePracticeText(L"你好");
    MainWindowDriver::Run([](MainWindowDriver& s) {
        StartGame(s);
        s.Answer(L"nei");
        s.Answer(L"hou");
        ASSERT_EQ(Boxes().Count(), 1u);  // Greate!
        for (int pass = 2; pass <= 11; ++pass) {
            ASSERT_TRUE(s.Click(IDC_START));
            EXPECT_EQ(s.Text(IDC_FALLING), L"你");
            EXPECT_EQ(s.SliderPos(), std::min(pass, 10)) << "pass " << pass;
            EXPECT_EQ(s.Page().m_nPeriod, 300 - 29 * std::min(pass, 10));
            EXPECT_EQ(s.Rect(IDC_FALLING).top, 6);
            s.Answer(L"nei");
            s.Answer(L"hou");
        }
        EXPECT_EQ(Boxes().Count(), 11u);
        EXPECT_EQ(g_nHits, 22);
    });
}

TEST(TrainingPass, LostPassAsksToRetryAndOkBeginsANewPassLeavingTheLinesAsTheyWere)
{
    WritePracticeText(L"你好");
    MainWindowDriver::Run([](MainWindowDriver& s) {
        StartGame(s);
        s.Answer(L"nei");
        s.Answer(L"hou5");
        s.Answer(L"hou");  // last character: the pass ends, lost (2 of 3)
        ASSERT_EQ(Boxes().Count(), 1u);
        ExpectRetryQuestion(Boxes().Taken()[0]);
        EXPECT_EQ(Boxes().Taken()[0].answer, IDOK);

        // OK began a new pass: first character, one step faster, falling.
        EXPECT_EQ(s.Text(IDC_FALLING), L"你");
        EXPECT_EQ(s.SliderPos(), 2);
        EXPECT_TRUE(g_bRunning);
        EXPECT_FALSE(g_bHalted);
        // The counters start again; the lines keep their old texts until the next try.
        EXPECT_EQ(g_nMisses, 0);
        EXPECT_EQ(g_nHits, 0);
        EXPECT_EQ(g_nTotal, 0);
        EXPECT_EQ(g_fHitRate, 0.0f);
        EXPECT_EQ(ReadLines(s), (StatLines{MissesLine(L"1"), TotalLine(L"3"), HitsLine(L"2"), RateLine(L"0.67")}));

        s.Answer(L"nei");
        EXPECT_EQ(ReadLines(s), (StatLines{MissesLine(L"1"), TotalLine(L"1"), HitsLine(L"1"), RateLine(L"1.00")}));
    });
}

TEST(TrainingPass, LostPassCancelledKeepsCountingIntoTheNextPass)
{
    WritePracticeText(L"你好");
    MainWindowDriver::Run([](MainWindowDriver& s) {
        Boxes().AnswerNext({IDCANCEL});
        StartGame(s);
        s.Answer(L"nei");
        s.Tick(1, s.ClientHeight() - 20);  // 好 reaches the bottom
        ASSERT_TRUE(s.Click(IDC_START));   // the text is used up: lost
        ASSERT_EQ(Boxes().Count(), 1u);
        ExpectRetryQuestion(Boxes().Taken()[0]);
        EXPECT_EQ(Boxes().Taken()[0].answer, IDCANCEL);
        EXPECT_FALSE(g_bRunning);
        EXPECT_TRUE(g_bHalted);
        EXPECT_EQ(s.SliderPos(), 1);

        ASSERT_TRUE(s.Click(IDC_START));
        EXPECT_EQ(s.Text(IDC_FALLING), L"你");
        EXPECT_EQ(s.SliderPos(), 2);
        EXPECT_TRUE(g_bRunning);
        s.Answer(L"nei");
        EXPECT_EQ(ReadLines(s), (StatLines{MissesLine(L"1"), TotalLine(L"3"), HitsLine(L"2"), RateLine(L"0.67")}));
    });
}

TEST(TrainingPass, OneCharacterTextEndsEveryLaterPassAtOnce)
{
    WritePracticeText(L"你");
    MainWindowDriver::Run([](MainWindowDriver& s) {
        StartGame(s);
        s.Answer(L"nei");
        ASSERT_EQ(Boxes().Count(), 1u);
        for (int pass = 2; pass <= 3; ++pass) {
            ASSERT_TRUE(s.Click(IDC_START));
            ASSERT_EQ(Boxes().Count(), static_cast<size_t>(pass));
            ExpectGreate(Boxes().Taken().back());
            EXPECT_EQ(s.Text(IDC_FALLING), L"你");
            EXPECT_EQ(s.SliderPos(), pass);
            EXPECT_FALSE(g_bRunning);
        }
        EXPECT_EQ(g_nTotal, 1);
    });
}

// A new pass that ends at once after a lost one asks again at once, for every OK.
TEST(TrainingPass, EachOkAsksAgainWhileTheNewPassEndsAtOnce)
{
    WritePracticeText(L"你");
    MainWindowDriver::Run([](MainWindowDriver& s) {
        Boxes().AnswerNext({IDOK, IDOK, IDCANCEL});
        StartGame(s);
        s.Answer(L"ne");
        s.Answer(L"nei");
        ASSERT_EQ(Boxes().Count(), 3u);
        for (const MessageBoxRecord& box : Boxes().Taken())
            ExpectRetryQuestion(box);
        EXPECT_EQ(s.SliderPos(), 3);
        EXPECT_FALSE(g_bRunning);
        EXPECT_EQ(g_nTotal, 0) << "each OK set the counters back";
        EXPECT_EQ(g_fHitRate, 0.0f);
    });
}

// When nothing from the position to the end has an entry the pass ends at once, as if
// the text ended there.
TEST(TrainingPass, RestWithoutEntriesEndsThePassAtOnce)
{
    WritePracticeText(L"你xyz\r\n");
    MainWindowDriver::Run([](MainWindowDriver& s) {
        StartGame(s);
        s.Answer(L"nei");
        ASSERT_EQ(Boxes().Count(), 1u);
        ExpectGreate(Boxes().Taken()[0]);
        EXPECT_FALSE(g_bRunning);
        EXPECT_TRUE(g_bHalted);
        EXPECT_EQ(g_nTextPos, 6);
        EXPECT_EQ(g_nTotal, 1);

        // The same on a first start: a text with no entries at all.
        Boxes().Reset();
        ASSERT_TRUE(s.Click(IDC_START));  // a new pass
        EXPECT_EQ(s.Text(IDC_FALLING), L"你");
        EXPECT_TRUE(g_bRunning);
    });
}

// With nothing to fall, the first start ends the pass, won: no try lowered the rate.
TEST(TrainingPass, TextWithNothingToFallIsAWonPassAtOnce)
{
    for (const wchar_t* text : {L"", L"xyz\r\n"}) {
        SCOPED_TRACE(Utf8(text));
        WritePracticeText(text);
        Boxes().Reset();
        MainWindowDriver::Run([](MainWindowDriver& s) {
            StartGame(s);
            ASSERT_EQ(Boxes().Count(), 1u);
            ExpectGreate(Boxes().Taken()[0]);
            EXPECT_EQ(s.Text(IDC_FALLING), L"");
            EXPECT_FALSE(g_bRunning);
            EXPECT_EQ(g_nTotal, 0);
        });
    }
}

TEST(TrainingPass, PauseOnTheLastCharacterThenStartBeginsANewPass)
{
    WritePracticeText(L"你好");
    MainWindowDriver::Run([](MainWindowDriver& s) {
        StartGame(s);
        s.Answer(L"nei");
        ASSERT_EQ(s.Text(IDC_FALLING), L"好");
        ASSERT_TRUE(s.Click(IDC_HALT));
        ASSERT_TRUE(s.Click(IDC_START));
        EXPECT_EQ(s.Text(IDC_FALLING), L"你");
        EXPECT_EQ(s.SliderPos(), 2);
        EXPECT_EQ(g_nTotal, 1) << "the skipped last character does not count";
        EXPECT_EQ(Boxes().Count(), 0u);
    });
}

// The practice file as a user's editor saves it: every encoding shows the same
// characters, in the same order, on the page.
class TrainingEncoding : public testing::TestWithParam<Encoding> {};

TEST_P(TrainingEncoding, PracticeTextFallsCharacterByCharacter)
{
    const std::wstring text = L"你们好\r\n我們天一";
    WritePracticeText(text, GetParam());
    MainWindowDriver::Run([&](MainWindowDriver& s) {
        StartGame(s);
        EXPECT_EQ(TextOf(GetDlgItem(s.PageWnd(), IDC_RICHTEXT)), text);
        const std::pair<const wchar_t*, const wchar_t*> expected[] = {
            {L"你", L"nei"}, {L"们", L"mun"}, {L"好", L"hou"}, {L"我", L"ngo"},
            {L"們", L"mun"}, {L"天", L"tin"}, {L"一", L"jat"}};
        for (auto [ch, spelling] : expected) {
            EXPECT_EQ(s.Text(IDC_FALLING), ch);
            s.Answer(spelling);
        }
        EXPECT_EQ(g_nHits, 7);
        EXPECT_EQ(g_nMisses, 0);
        ASSERT_EQ(Boxes().Count(), 1u);
        ExpectGreate(Boxes().Taken()[0]);
    });
}

std::string EncodingName(const testing::TestParamInfo<Encoding>& info)
{
    const char* names[] = {"Utf16LeBom", "Utf16BeBom", "Utf8Bom", "Utf8", "Ansi"};
    return names[static_cast<int>(info.param)];
}

INSTANTIATE_TEST_SUITE_P(Saved, TrainingEncoding,
                         testing::Values(Encoding::Utf16LeBom, Encoding::Utf16BeBom, Encoding::Utf8Bom,
                                         Encoding::Utf8, Encoding::Ansi),
                         EncodingName);

TEST(TrainingPracticeFile, UnloadableFileIsReportedAndTheNextStartTriesAgain)
{
    RemovePracticeText();
    MainWindowDriver::Run([](MainWindowDriver& s) {
        StartGame(s);
        ASSERT_EQ(Boxes().Count(), 1u);
        const MessageBoxRecord& box = Boxes().Taken()[0];
        EXPECT_EQ(box.icon, static_cast<UINT>(MB_ICONERROR));
        EXPECT_EQ(box.caption, AppName());
        EXPECT_NE(box.text.find(L"练习文本载入失败"), std::wstring::npos) << Utf8(box.text);
        EXPECT_NE(box.text.find(PracticePath()), std::wstring::npos) << Utf8(box.text);
        EXPECT_NE(box.text.find(L"文件不存在"), std::wstring::npos) << "the control's own reason: " << Utf8(box.text);
        EXPECT_TRUE(g_bReloadText);
        EXPECT_FALSE(g_bRunning);
        EXPECT_EQ(s.Text(IDC_FALLING), L"");
        EXPECT_EQ(g_nTextPos, 0);

        WritePracticeText(L"好");
        ASSERT_TRUE(s.Click(IDC_START));
        EXPECT_EQ(Boxes().Count(), 1u);
        EXPECT_FALSE(g_bReloadText);
        EXPECT_EQ(s.Text(IDC_FALLING), L"好");
        EXPECT_TRUE(g_bRunning);
    });
}

}  // namespace
