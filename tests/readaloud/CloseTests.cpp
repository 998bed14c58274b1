// Ending the main window while a walk is on the stack: the walk has to give way
// so that the modal loop, and with it the program, can finish.
#include "ReadAloudTest.h"

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

void End(HWND dlg, Ending ending)
{
    if (ending == Ending::Close)
        ::PostMessageW(dlg, WM_SYSCOMMAND, SC_CLOSE, 0);
    else
        ::PostMessageW(dlg, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
}

// Runs the walk and ends the window at `moment`; checks that the walk gave way.
void EndDuringWalk(Ending ending, Moment moment)
{
    SCOPED_TRACE(Name(moment));
    for (const wchar_t* spelling : {L"nei5", L"hou2", L"mun4"})
        WriteRecording(spelling, 300);
    PlayerSpy spy;
    CPronounceDlg dlg;
    size_t startsAtEnd = 0;

    const MainWindowDriver::Outcome outcome = MainWindowDriver::Run(dlg, [&](MainWindowDriver& s) {
        spy.Attach(s.Main());
        s.SetLookupText(L"你好们你好们");
        auto end = [&] {
            startsAtEnd = spy.Starts().size();
            End(s.MainWnd(), ending);
        };
        if (moment == Moment::HoldingBeforeFirstRecording) {
            ASSERT_TRUE(s.ClickMain(IDC_PAUSE));
            After(200, end);
        } else {
            spy.onStart = [&, moment](const PlayerSpy::Start&) {
                if (spy.Starts().size() != 1)
                    return;
                if (moment == Moment::HoldingAfterAWait)
                    ClickButton(s.MainWnd(), IDC_PAUSE);
                After(moment == Moment::HoldingAfterAWait ? 500 : 100, end);
            };
        }
        s.Lookup();
    }, kWalkWatchdogMs);

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
