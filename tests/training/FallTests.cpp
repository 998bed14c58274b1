// The falling character: the fall timer, the miss at the bottom, the hint timer,
// the speed slider and the pause button.
#include "TrainingTest.h"

namespace {

void ExpectLabelAt(const MainWindowDriver& s, int top)
{
    const RECT r = s.Rect(IDC_FALLING);
    EXPECT_EQ(r.left, 128);
    EXPECT_EQ(r.top, top);
    EXPECT_EQ(r.right, 128 + 67);
    EXPECT_EQ(r.bottom, top + 14);
}

TEST(TrainingFall, EveryTickMovesTheLabelOnePixelDown)
{
    WritePracticeText(L"你好");
    MainWindowDriver::Run([](MainWindowDriver& s) {
        StartGame(s);
        ASSERT_EQ(s.Text(IDC_FALLING), L"你");
        s.Tick(1);
        ExpectLabelAt(s, 7);
        s.Tick(1, 9);
        ExpectLabelAt(s, 16);
        EXPECT_EQ(s.Page().m_nFallOffset, 10);
    });
}

// With a client area 300 pixels high the label moves while the offset is at most 279;
// the tick that would make it 280 is the miss.
TEST(TrainingFall, MissAtTheBottomOfAPage300PixelsHigh)
{
    WritePracticeText(L"你好");
    MainWindowDriver::Run([](MainWindowDriver& s) {
        s.ClickTab(1);
        RECT window{}, client{};
        GetWindowRect(s.PageWnd(), &window);
        GetClientRect(s.PageWnd(), &client);
        const int frame = (window.bottom - window.top) - client.bottom;
        SetWindowPos(s.PageWnd(), nullptr, 0, 0, window.right - window.left, 300 + frame,
                     SWP_NOMOVE | SWP_NOZORDER);
        ASSERT_EQ(s.ClientHeight(), 300);

        ASSERT_TRUE(s.Click(IDC_START));
        const StatLines before = ReadLines(s);
        s.Tick(1, 279);
        ExpectLabelAt(s, 6 + 279);
        EXPECT_EQ(ReadLines(s), before);
        EXPECT_TRUE(g_bRunning);

        s.Tick(1);
        ExpectLabelAt(s, 6);
        EXPECT_EQ(s.Page().m_nFallOffset, 0);
        EXPECT_EQ(ReadLines(s),
                  (StatLines{MissesLine(L"1"), TotalLine(L"1"), HitsLine(L"0"), RateLine(L"0.000000")}));
        EXPECT_FALSE(g_bRunning);
        EXPECT_FALSE(g_bHalted);
        EXPECT_EQ(s.Text(IDC_HINT), kPrompt) << "a miss leaves the prompt line";
        EXPECT_EQ(s.Text(IDC_FALLING), L"你") << "the label keeps the missed character";
        EXPECT_FALSE(KillTimer(s.PageWnd(), 1)) << "the fall timer is still armed";
    });
}

TEST(TrainingFall, MissComesAtTheBottomOfThePageAsTheMainWindowPlacedIt)
{
    WritePracticeText(L"你好");
    MainWindowDriver::Run([](MainWindowDriver& s) {
        StartGame(s);
        const int height = s.ClientHeight();
        ASSERT_GT(height, 100);
        s.Tick(1, height - 21);
        EXPECT_EQ(g_nMisses, 0);
        EXPECT_EQ(s.Rect(IDC_FALLING).bottom, height - 1) << "the label's bottom edge is one pixel above";
        s.Tick(1);
        EXPECT_EQ(g_nMisses, 1);
        // A miss rewrites every control from the members: typed text is cleared.
        ASSERT_TRUE(s.Click(IDC_START));
        s.Type(L"ho");
        s.Tick(1, height - 20);
        EXPECT_EQ(g_nMisses, 2);
        EXPECT_EQ(s.Text(IDC_ANSWER), L"");
        EXPECT_EQ(ReadLines(s),
                  (StatLines{MissesLine(L"2"), TotalLine(L"2"), HitsLine(L"0"), RateLine(L"0.000000")}));
    });
}

TEST(TrainingFall, HintTimerRestoresThePromptAndAlsoMovesTheLabel)
{
    WritePracticeText(L"你好");
    MainWindowDriver::Run([](MainWindowDriver& s) {
        StartGame(s);
        s.Tick(1, 5);
        s.Answer(L"hou");
        ASSERT_EQ(s.Text(IDC_HINT), L"输入错误,参考音标:nei");
        s.Tick(2);
        EXPECT_EQ(s.Text(IDC_HINT), kPrompt);
        ExpectLabelAt(s, 12);
        EXPECT_FALSE(KillTimer(s.PageWnd(), 2)) << "the hint timer is still armed";
        EXPECT_TRUE(KillTimer(s.PageWnd(), 1)) << "the fall timer was disarmed";
    });
}

TEST(TrainingFall, HintTickOnTheLastStepCountsAMissEvenWhilePaused)
{
    WritePracticeText(L"你好");
    MainWindowDriver::Run([](MainWindowDriver& s) {
        StartGame(s);
        const int height = s.ClientHeight();
        s.Tick(1, height - 21);
        s.Answer(L"x");
        ASSERT_TRUE(s.Click(IDC_HALT));
        s.Tick(2);
        EXPECT_EQ(ReadLines(s),
                  (StatLines{MissesLine(L"2"), TotalLine(L"2"), HitsLine(L"0"), RateLine(L"0.000000")}));
        EXPECT_EQ(s.Text(IDC_HINT), kPrompt);
        ExpectLabelAt(s, 6);
    });
}

TEST(TrainingFall, SliderSetsThePeriodWhileACharacterFalls)
{
    WritePracticeText(L"你好");
    MainWindowDriver::Run([](MainWindowDriver& s) {
        s.ClickTab(1);
        HWND slider = GetDlgItem(s.PageWnd(), IDC_SPEED);
        EXPECT_EQ(SendMessageW(slider, TBM_GETRANGEMIN, 0, 0), 1);
        EXPECT_EQ(SendMessageW(slider, TBM_GETRANGEMAX, 0, 0), 10);
        EXPECT_EQ(s.SliderPos(), 1);

        // Not falling: the slider changes nothing until the start.
        PostKey(slider, VK_RIGHT);
        s.Pump();
        ASSERT_EQ(s.SliderPos(), 2);
        EXPECT_EQ(s.Page().m_nPeriod, 300);
        ASSERT_TRUE(s.Click(IDC_START));
        EXPECT_EQ(s.Page().m_nPeriod, 242);

        const int periods[] = {271, 242, 213, 184, 155, 126, 97, 68, 39, 10};
        for (int p = 1; p <= 10; ++p) {
            SendMessageW(slider, TBM_SETPOS, TRUE, p);
            SendMessageW(s.PageWnd(), WM_HSCROLL, MAKEWPARAM(TB_THUMBPOSITION, p), reinterpret_cast<LPARAM>(slider));
            EXPECT_EQ(s.Page().m_nPeriod, periods[p - 1]) << "position " << p;
        }
        // A key on the slider while falling: the trackbar's own notifications.
        SendMessageW(slider, TBM_SETPOS, TRUE, 3);
        ::SetFocus(slider);
        PostKey(slider, VK_LEFT);
        s.Pump();
        EXPECT_EQ(s.SliderPos(), 2);
        EXPECT_EQ(s.Page().m_nPeriod, 242);
        EXPECT_TRUE(g_bRunning);
    });
}

TEST(TrainingFall, PauseKeepsTheCharacterAndStartResumesAtTheSameHeight)
{
    WritePracticeText(L"你好");
    MainWindowDriver::Run([](MainWindowDriver& s) {
        StartGame(s);
        s.Tick(1, 37);
        s.Type(L"ne");
        ASSERT_TRUE(s.Click(IDC_HALT));
        EXPECT_FALSE(g_bRunning);
        EXPECT_TRUE(g_bHalted);
        EXPECT_FALSE(KillTimer(s.PageWnd(), 1)) << "the fall timer is still armed";
        ExpectLabelAt(s, 43);
        EXPECT_EQ(s.Text(IDC_ANSWER), L"ne") << "pausing leaves the answer box alone";

        ASSERT_TRUE(s.Click(IDC_START));
        EXPECT_TRUE(g_bRunning);
        EXPECT_FALSE(g_bHalted);
        EXPECT_EQ(s.Text(IDC_FALLING), L"你");
        ExpectLabelAt(s, 43);
        s.Tick(1);
        ExpectLabelAt(s, 44);
        EXPECT_EQ(g_nTotal, 0);
    });
}

TEST(TrainingFall, StartWhileFallingPutsTheNextCharacterAtTheSameHeight)
{
    WritePracticeText(L"你好");
    MainWindowDriver::Run([](MainWindowDriver& s) {
        StartGame(s);
        s.Tick(1, 20);
        ASSERT_TRUE(s.Click(IDC_START));
        EXPECT_EQ(s.Text(IDC_FALLING), L"好");
        ExpectLabelAt(s, 26);
        EXPECT_EQ(g_nTotal, 0) << "the skipped character counts neither way";
    });
}

}  // namespace
