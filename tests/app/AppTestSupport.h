// Helpers that drive the real main window: its modal loop, real input, its message
// boxes and the website it opens.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "Boxes.h"
#include "support/MessageBoxes.h"

class CPronounceDlg;
class CTabCtrl;

namespace app_test {

// Runs `fn` once this thread's message loop (whichever is running) is next idle: a
// one-shot thread timer, which comes after every posted and input message.
void WhenIdle(std::function<void()> fn);

using Step = std::function<void(CPronounceDlg&)>;

// What DoModal returns when the watchdog had to end a window that a test left open.
constexpr INT_PTR kWatchdogResult = 0x7777;

// Makes `dlg` the application's main window and runs it modally, as InitInstance does,
// playing `steps` one after another, each when the loop is idle again. A window still
// open `watchdogMs` after the last step is ended with kWatchdogResult. Returns DoModal's
// result.
INT_PTR RunMainWindow(CPronounceDlg& dlg, std::vector<Step> steps, DWORD watchdogMs = 8000);

// Real input through the system's input queue (SendInput).
void PressKey(WORD vk, bool withAlt = false);
void ClickAt(POINT screenPoint);
// The point of `hwnd`'s caption close button, in screen coordinates.
POINT CloseButtonPoint(HWND hwnd);
// A mouse click on tab `index`: button down and up at its centre, sent to the control,
// which then notifies its parent as for a real click.
void ClickTab(HWND tab, int index);

// Points Wine's browser setting at a recorder of ours for the lifetime of this object,
// so that every address the shell opens is appended to a log of this test's own.
// Tests that use it run one at a time (a named mutex), since the setting is shared.
class WebsiteRecorder
{
public:
    WebsiteRecorder();
    ~WebsiteRecorder();
    WebsiteRecorder(const WebsiteRecorder&) = delete;
    WebsiteRecorder& operator=(const WebsiteRecorder&) = delete;

    // The addresses opened so far. Opening is asynchronous, so this opens a marker
    // address of its own and waits until the marker has been recorded first.
    std::vector<std::wstring> Opened();

private:
    HANDLE m_mutex = nullptr;
    std::wstring m_logUnix;
    std::wstring m_previous;
    bool m_hadPrevious = false;
};

// Writes a 16-bit mono PCM tone of `ms` milliseconds into this process's temporary
// folder and returns its path.
std::wstring WriteToneWav(const std::wstring& name, int ms);

}  // namespace app_test
