// Helpers over the training tests' GameSession (the real main window run in its
// own modal loop, the test as a script inside it) for driving both pages.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "app/PronounceDlg.h"
#include "resources/resource.h"
#include "support/Drive.h"
#include "support/MessageBoxes.h"
#include "training/GameSession.h"

namespace robustness {

// Lets the loop run until cond() holds or `ms` have passed; returns cond().
bool WaitFor(GameSession& s, const std::function<bool()>& cond, DWORD ms = 5000);

// A real click on a control of the main window, handled by the loop (or by a
// running walk's pump). False when the control could not take it.
bool ClickMain(GameSession& s, int id);
void SetLookupText(GameSession& s, const std::wstring& text);
std::wstring MainText(GameSession& s, int id);
bool MainEnabled(GameSession& s, int id);

// Whether a read-aloud walk is on the stack: a look-up asked for with an empty text
// box is refused silently during a walk, and answered with the empty-text box
// otherwise. The text box keeps its text.
bool WalkRunning(GameSession& s);

// Waits for a running walk to end; false if it has not ended after `ms`.
bool WaitForWalkEnd(GameSession& s, DWORD ms = 10000);

// The boxes recorded since the last Reset, but for those WalkRunning asked for.
std::vector<MessageBoxRecord> ShownBoxes();
// The same as "caption: text" lines, for failure messages.
std::string BoxList();

// The recordings a player was given (page switches give it other addresses).
std::vector<std::wstring> Recordings(const std::vector<std::wstring>& urls);

// The dictionary layer's messages: a file that cannot be opened, a query that
// failed, a connection that is not open, a table without columns 1 and 2.
bool IsDictionaryMessage(const std::wstring& text);

}  // namespace robustness
