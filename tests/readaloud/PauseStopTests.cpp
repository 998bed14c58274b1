// Pause, resume and stop, clicked while the walk pumps messages; and a lookup
// click that arrives inside a running walk.
#include "ReadAloudTest.h"

namespace {

// What the window looked like while the walk held at a pause.
struct HoldView {
    bool seen = false;
    size_t starts = 0;
    std::wstring label;
    std::wstring pauseCaption;
    bool lookupEnabled = true;
};

HoldView LookWhileHolding(const MainWindowDriver& s, const PlayerSpy& spy)
{
    HoldView view;
    view.seen = true;
    view.starts = spy.Starts().size();
    view.label = s.MainText(IDC_PHONETIC);
    view.pauseCaption = s.MainText(IDC_PAUSE);
    view.lookupEnabled = s.MainEnabled(IDC_LOOKUP);
    return view;
}

class ReadAloudPause : public ReadAloudTest {};

TEST_F(ReadAloudPause, PauseBeforeTheLookupHoldsAtTheFirstPauseCheck)
{
    // Found first: the hold comes before the first recording. Absent first: after
    // the first wait. Either way nothing plays until the learner resumes.
    for (const wchar_t* text : {L"你好", L"x你好"}) {
        SCOPED_TRACE(Utf8(text));
        WriteStandardDictionary();
        WriteStandardRecordings(100);
        PlayerSpy spy;
        CPronounceDlg dlg;
        HoldView hold;
        std::wstring captionBefore, captionAfter;
        DWORD resumed = 0;

        MainWindowDriver::Run(dlg, [&](MainWindowDriver& s) {
            spy.Attach(s.Main());
            ASSERT_TRUE(s.ClickMain(IDC_PAUSE));
            captionBefore = s.MainText(IDC_PAUSE);
            s.SetLookupText(text);
            After(250, [&] {
                hold = LookWhileHolding(s, spy);
                ClickButton(s.MainWnd(), IDC_PAUSE);
                resumed = GetTickCount();
            });
            s.Lookup();
            captionAfter = s.MainText(IDC_PAUSE);
        }, kWalkWatchdogMs);

        EXPECT_EQ(captionBefore, L"播放(&P)");
        ASSERT_TRUE(hold.seen);
        EXPECT_EQ(hold.starts, 0u);
        EXPECT_EQ(hold.label, L"");
        EXPECT_EQ(hold.pauseCaption, L"播放(&P)");
        EXPECT_FALSE(hold.lookupEnabled);
        ASSERT_EQ(spy.Urls(), Paths({L"nei5", L"hou2"}));
        EXPECT_GE(spy.Starts()[0].tick, resumed);
        EXPECT_EQ(captionAfter, L"暂停(&P)");
        EXPECT_FALSE(dlg.m_bPause);
    }
}

TEST_F(ReadAloudPause, PauseDuringTheWalkHoldsUntilResumed)
{
    WriteStandardDictionary();
    WriteStandardRecordings(100);
    CPronounceDlg dlg;
    HoldView hold;

    Run(dlg, [&](MainWindowDriver& s) {
        spy.onStart = [&](const PlayerSpy::Start& start) {
            if (start.url != RecordingPath(L"nei5"))
                return;
            ClickButton(s.MainWnd(), IDC_PAUSE);
            After(300, [&] {
                hold = LookWhileHolding(s, spy);
                ClickButton(s.MainWnd(), IDC_PAUSE);
            });
        };
        s.SetLookupText(L"你好");
        s.Lookup();
    });

    ASSERT_TRUE(hold.seen);
    EXPECT_EQ(hold.starts, 1u);
    EXPECT_EQ(hold.label, L"nei5");
    EXPECT_EQ(hold.pauseCaption, L"播放(&P)");
    EXPECT_FALSE(hold.lookupEnabled);
    EXPECT_EQ(spy.Urls(), Paths({L"nei5", L"hou2"}));
    EXPECT_FALSE(dlg.m_bPause);
}

class ReadAloudStop : public ReadAloudTest {};

TEST_F(ReadAloudStop, StopDuringAWaitEndsTheWalkAndTheRecordingPlaysOn)
{
    WriteStandardDictionary();
    WriteRecording(L"nei5", 1500);
    WriteRecording(L"hou2", 100);
    CPronounceDlg dlg;
    bool lookupEnabledAfter = false;
    long playStateAfter = 0;

    Run(dlg, [&](MainWindowDriver& s) {
        spy.onStart = [&](const PlayerSpy::Start&) { ClickButton(s.MainWnd(), IDC_STOP); };
        s.SetLookupText(L"你好");
        s.Lookup();
        lookupEnabledAfter = s.MainEnabled(IDC_LOOKUP);
        playStateAfter = s.Main().m_player.GetPlayState();
    });

    EXPECT_EQ(spy.Urls(), Paths({L"nei5"}));
    EXPECT_TRUE(lookupEnabledAfter);
    EXPECT_FALSE(dlg.m_bStop) << "the walk consumes the stop request";
    // The walk did not sit out the 1.5 s recording: it still plays.
    EXPECT_NE(playStateAfter, 1);
    EXPECT_EQ(watch.Labels(), std::vector<std::wstring>{L"nei5"});
}

TEST_F(ReadAloudStop, StopWhileHoldingBeforeARecordingStillStartsThatRecording)
{
    WriteStandardDictionary();
    WriteStandardRecordings(100);
    CPronounceDlg dlg;
    bool lookupEnabledAfter = false;
    std::wstring labelAfter;

    Run(dlg, [&](MainWindowDriver& s) {
        ASSERT_TRUE(s.ClickMain(IDC_PAUSE));
        s.SetLookupText(L"你好");
        After(200, [&] {
            ClickButton(s.MainWnd(), IDC_STOP);
            ClickButton(s.MainWnd(), IDC_PAUSE);
        });
        s.Lookup();
        lookupEnabledAfter = s.MainEnabled(IDC_LOOKUP);
        labelAfter = s.MainText(IDC_PHONETIC);
    });

    ASSERT_EQ(spy.Urls(), Paths({L"nei5"}));
    EXPECT_TRUE(spy.Starts()[0].playing);
    // The first cycle of the wait that follows sees the stop before it looks at the player.
    EXPECT_EQ(spy.StateReads(), 0);
    EXPECT_EQ(labelAfter, L"nei5");
    EXPECT_TRUE(lookupEnabledAfter);
    EXPECT_FALSE(dlg.m_bStop);
}

TEST_F(ReadAloudStop, StopWhileHoldingAfterAWaitEndsTheWalk)
{
    WriteStandardDictionary();
    WriteStandardRecordings(100);
    CPronounceDlg dlg;
    bool lookupEnabledAfter = false;

    Run(dlg, [&](MainWindowDriver& s) {
        spy.onStart = [&](const PlayerSpy::Start&) {
            ClickButton(s.MainWnd(), IDC_PAUSE);
            After(250, [&] {
                ClickButton(s.MainWnd(), IDC_STOP);
                ClickButton(s.MainWnd(), IDC_PAUSE);
            });
        };
        s.SetLookupText(L"你好们");
        s.Lookup();
        lookupEnabledAfter = s.MainEnabled(IDC_LOOKUP);
    });

    EXPECT_EQ(spy.Urls(), Paths({L"nei5"}));
    EXPECT_TRUE(lookupEnabledAfter);
    EXPECT_FALSE(dlg.m_bStop);
    EXPECT_FALSE(dlg.m_bPause);
}

TEST_F(ReadAloudStop, LookupClickedRightAfterStopDoesNotStartASecondWalkInsideTheFirst)
{
    WriteStandardDictionary();
    WriteStandardRecordings(100);
    CPronounceDlg dlg;
    bool lookupEnabledAfter = false;

    Run(dlg, [&](MainWindowDriver& s) {
        spy.onStart = [&](const PlayerSpy::Start& start) {
            if (start.url != RecordingPath(L"nei5") || spy.Starts().size() != 1)
                return;
            // Both reach the walk's next pump: Stop enables button 1000 again, then
            // the click on it arrives while the first walk is still on the stack.
            ClickButton(s.MainWnd(), IDC_STOP);
            ::PostMessageW(::GetDlgItem(s.MainWnd(), IDC_LOOKUP), BM_CLICK, 0, 0);
        };
        s.SetLookupText(L"你好们");
        s.Lookup();
        lookupEnabledAfter = s.MainEnabled(IDC_LOOKUP);
    });

    EXPECT_EQ(watch.LookupCommands(), 2) << "the second click must have reached the window";
    EXPECT_EQ(spy.Urls(), Paths({L"nei5"})) << Utf8Of(spy.Urls());
    EXPECT_TRUE(lookupEnabledAfter);
    EXPECT_FALSE(dlg.m_bStop);
}

}  // namespace
