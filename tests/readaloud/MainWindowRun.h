// Runs the real main window as the program does (the application's main window,
// shown modally) and lets a test act inside its message loop.
#pragma once

#include <windows.h>

#include <functional>
#include <string>

class CPronounceDlg;

namespace readaloud_test {

struct RunOutcome {
    INT_PTR result = 0;          // what DoModal returned
    bool watchdogFired = false;  // the window had to be ended from outside
    DWORD returnedTick = 0;      // GetTickCount when DoModal returned
};

// Runs `script` once the modal loop is idle, then ends the window if the script
// left it open. A watchdog releases a walk that never ends (it clears the pause,
// sets the stop request and ends the dialog) after `watchdogMs`, so a broken
// walk fails the test instead of hanging it.
RunOutcome RunMainWindow(CPronounceDlg& dlg, const std::function<void(CPronounceDlg&)>& script,
                         DWORD watchdogMs = 4000);

// Sends the click notification of button 1000 the way the button sends it; it
// returns when the lookup handler, and so the walk, is over.
void Lookup(CPronounceDlg& dlg);

// Runs fn once, `ms` from now, from whichever loop pumps messages then (a
// one-shot thread timer). Pending ones are dropped when RunMainWindow returns.
void After(DWORD ms, std::function<void()> fn);

void SetText(CPronounceDlg& dlg, const wchar_t* text);
std::wstring TextOf(CPronounceDlg& dlg, int id);
bool IsEnabled(CPronounceDlg& dlg, int id);

}  // namespace readaloud_test
