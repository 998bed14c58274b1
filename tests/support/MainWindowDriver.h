// The one way a test runs the program's main window: the real CPronounceDlg, made
// the application's main window and run modally as InitInstance runs it, with the
// test's script inside its message loop.
//
// The script runs on a fiber of its own, so it reads as a list of steps. Whatever it
// posts (clicks, keys, tab clicks) or sends through real input must go through a
// message loop: Pump() hands the thread back to the loop that is running (the main
// window's, a read-aloud walk's pump, a message box's) and the script goes on once
// that loop is idle again, with no message box left open. Wait() does the same after
// real time. A script may also call what blocks (Lookup() runs a whole walk, a system
// command may run the About box) and act meanwhile from callbacks (After, in
// support/Drive.h), which run from whichever loop pumps.
//
// A watchdog ends a window still running after its time, and fails the test, so a
// hung walk or a box nobody answers cannot hang the run.
#pragma once

#include <windows.h>

#include <functional>
#include <string>

class CPronounceDlg;
class CTrainingPage;

class MainWindowDriver {
public:
    using Script = std::function<void(MainWindowDriver&)>;

    struct Outcome {
        INT_PTR result = 0;          // what DoModal returned
        bool watchdogFired = false;  // the watchdog had to end the window
    };
    // DoModal's result when the driver ended a window the script left open, and
    // when the watchdog ended it.
    static constexpr INT_PTR kLeftOpen = 0x7770;
    static constexpr INT_PTR kWatchdogEnded = 0x7777;
    static constexpr DWORD kWatchdogMs = 60000;

    // Runs `dlg` with `script` inside its loop. The game's state is set back to what
    // it is at program start first. A window the script leaves open is ended once
    // the loop has handled what the script posted last.
    static Outcome Run(CPronounceDlg& dlg, const Script& script, DWORD watchdogMs = kWatchdogMs);
    // The same with a main window of its own.
    static Outcome Run(const Script& script, DWORD watchdogMs = kWatchdogMs);

    CPronounceDlg& Main() const { return m_dlg; }
    HWND MainWnd() const;
    CTrainingPage& Page() const;
    HWND PageWnd() const;

    // Lets the loop handle everything posted and input so far, and the message boxes
    // that opens (the test's answerer answers them), then goes on.
    void Pump();
    // Lets the loop run for `ms` of real time (for what only real time drives).
    void Wait(DWORD ms);
    // Lets the loop run until cond() holds or `ms` have passed; returns cond().
    bool WaitFor(const std::function<bool()>& cond, DWORD ms = 5000);

    // The main window. A click posted as the mouse delivers it, then handled by the
    // loop; false when the control could not take it (hidden, disabled).
    bool ClickMain(int id);
    // A click on tab `index` of the tab control, handled by the loop (the video
    // notice answered).
    void ClickTab(int index);
    void SetLookupText(const std::wstring& text);
    // The click notification of the lookup button, sent as the button sends it:
    // returns when the lookup handler, and so the walk, is over.
    void Lookup();
    std::wstring MainText(int id) const;
    bool MainEnabled(int id) const;
    // Whether a read-aloud walk is on the stack. Probes with an empty look-up: a
    // walk refuses it silently, otherwise the program asks for text (a box that is
    // answered, and forgotten from the recorder). The text box keeps its text.
    bool WalkRunning();
    bool WaitForWalkEnd(DWORD ms = 10000);

    // The training page. A click on one of its buttons, handled by the loop.
    bool Click(int id);
    // WM_CHAR for each character, posted to the answer box and handled.
    void Type(const std::wstring& text);
    // Enter pressed on the control that has the focus, handled by the loop.
    void PressEnter();
    // Types an answer and presses Enter.
    void Answer(const std::wstring& typed);
    // Sends `count` WM_TIMER messages of timer `id` to the page, as the timer would.
    // The page's fall and hint timers tick only so: their real ticks are dropped, so
    // that a slow machine cannot add one between two steps (SetTimer and KillTimer
    // still arm and disarm them, as a test may check).
    void Tick(UINT_PTR id, int count = 1);
    // From here on the page's timers tick in real time too: for a test of the whole
    // program under load, not of the fall.
    void LetPageTimersTick() { m_pageTimersHeld = false; }
    std::wstring Text(int id) const;
    RECT Rect(int id) const;  // in the page's client coordinates
    int SliderPos() const;
    int ClientHeight() const;

private:
    MainWindowDriver(CPronounceDlg& dlg, const Script& script) : m_dlg(dlg), m_script(script) {}
    static void CALLBACK ScriptMain(void* param);
    static LRESULT CALLBACK DropPageTicks(int code, WPARAM wParam, LPARAM lParam);
    bool OnScript() const;
    void SwitchToScript();
    void ResumeWhenIdle();
    bool Idle() const;
    void EndAll(INT_PTR result);

    CPronounceDlg& m_dlg;
    const Script& m_script;
    void* m_loopFiber = nullptr;
    void* m_scriptFiber = nullptr;
    bool m_onScript = false;    // the script's fiber runs
    bool m_done = false;        // the script has returned
    bool m_windowGone = false;  // DoModal has returned: waits pump here
    bool m_pageTimersHeld = true;
    Outcome m_outcome;
};

// The game's dictionary (g_db) connects during static construction, to the file that
// is there then. A test that puts another file there connects it again, as start-up
// would with that file (its message boxes count).
void ConnectGameDictionaryAgain();
