// Ending the main window while a walk is on the stack: the walk has to give way
// so that the modal loop, and with it the program, can finish.
#include "ReadAloudTest.h"

using namespace readaloud_test;

namespace {

enum class Moment { HoldingBeforeFirstRecording, HoldingAfterAWait, DuringAWait };

const char* Name(Moment m)
{
    switch (m) {
    case Moment::HoldingBeforeFirstRecording: return "holding before the first recording";
    case Moment::HoldingAfterAWait: return "holding after a wait";
    case Moment::DuringAWait: return "during a wait";
    }
    return "?";
}

// How the window is ended: the caption's Close (through the system menu
// command, which becomes WM_CLOSE and OnClose), or the Cancel command, which
// ends the dialog without OnClose and so without a stop request.
enum class Ending { Close, Cancel };

void End(CPronounceDlg& dlg, Ending ending)
{
    if (ending == Ending::Close)
        ::PostMessageW(dlg.m_hWnd, WM_SYSCOMMAND, SC_CLOSE, 0);
    else
        ::PostMessageW(dlg.m_hWnd, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
}

// Runs the walk and ends the window at `moment`; checks that the walk gave way.
void EndDuringWalk(Ending ending, Moment moment)
{
    SCOPED_TRACE(Name(moment));
    TestRecordings recordings;
    for (const wchar_t* spelling : {L"nei5", L"hou2", L"mun4"})
        recordings.Write(spelling, 300);
    PlayerSpy spy;
    CPronounceDlg dlg;
    size_t startsAtEnd = 0;

    const RunOutcome outcome = RunMainWindow(dlg, [&](CPronounceDlg& d) {
        spy.Attach(d);
        SetText(d, L"你好们你好们");
        auto end = [&] {
            startsAtEnd = spy.Starts().size();
            End(d, ending);
        };
        if (moment == Moment::HoldingBeforeFirstRecording) {
            ASSERT_TRUE(ClickButton(d.m_hWnd, IDC_PAUSE));
            PumpUntilIdle();
            After(200, end);
        } else {
            spy.onStart = [&, moment](const PlayerSpy::Start&) {
                if (spy.Starts().size() != 1)
                    return;
                if (moment == Moment::HoldingAfterAWait)
                    ClickButton(d.m_hWnd, IDC_PAUSE);
                After(moment == Moment::HoldingAfterAWait ? 500 : 100, end);
            };
        }
        Lookup(d);
    });

    EXPECT_FALSE(outcome.watchdogFired) << "the walk kept the window from ending";
    EXPECT_EQ(outcome.result, IDCANCEL);
    EXPECT_EQ(spy.Starts().size(), startsAtEnd) << "no recording starts once the window has ended";
}

class ReadAloudClose : public ReadAloudTest {};

const Moment kMoments[] = {Moment::HoldingBeforeFirstRecording, Moment::HoldingAfterAWait, Moment::DuringAWait};

TEST_F(ReadAloudClose, CloseEndsTheWalkAndTheProgramWhereverTheWalkIs)
{
    WriteStandardDictionary();
    for (Moment moment : kMoments)
        EndDuringWalk(Ending::Close, moment);
}

// Cancel sets no stop request: the walk notices that its window has ended.
TEST_F(ReadAloudClose, CancelEndsTheWalkAndTheProgramWhereverTheWalkIs)
{
    WriteStandardDictionary();
    for (Moment moment : kMoments)
        EndDuringWalk(Ending::Cancel, moment);
}

}  // namespace
