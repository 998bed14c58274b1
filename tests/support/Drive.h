// Driving real windows from tests: real clicks and keys (posted to the message
// queue, or through the system's input queue), pumping the queue (with the
// framework's pre-translation) until it is idle, and callbacks run from whichever
// message loop is running.
#pragma once

#include <afxwin.h>

#include <functional>
#include <ostream>
#include <string>

// Dispatches everything waiting in the thread's queue, through the framework's
// pre-translation like its message loops; returns how many messages it handled.
int PumpUntilIdle();
// Pumps (and sleeps between messages) for the given real time.
void PumpFor(DWORD milliseconds);
// Pumps until cond() holds or the time is up; returns cond().
bool PumpUntil(const std::function<bool()>& cond, DWORD timeoutMs = 5000);

// Runs fn from the thread's message loop (whichever runs: a modal dialog's, a
// pump's, a message box's), after the messages already waiting. Lets a test act
// inside DoModal.
void Later(std::function<void()> fn);
// Runs fn once, `ms` from now (a timer), from whichever loop runs then. A timer
// comes after every posted and input message: After(0, fn) runs fn once the loop
// is idle.
void After(DWORD ms, std::function<void()> fn);
// Drops the Later and After callbacks that have not run yet.
void CancelCallbacks();

// Posts a left click (button down and up) at the centre of the window, as the
// mouse would deliver it. Like real input, a hidden or disabled window (or one
// inside a disabled parent) gets nothing: returns false then.
bool ClickButton(HWND hWnd);
bool ClickButton(HWND hDlg, int nID);
// The same at a point of the window's client area.
bool ClickAt(HWND hWnd, POINT client);
// The same at the centre of tab `index` of a tab control, which then notifies its
// parent as for a real click.
bool ClickTabItem(HWND hTab, int index);
// Posts a key press (WM_KEYDOWN then WM_KEYUP) to the window; the loop's
// TranslateMessage makes the WM_CHAR of character keys.
void PostKey(HWND hWnd, UINT vk);
// Posts WM_CHAR for each character, as typing does.
void TypeText(HWND hWnd, const wchar_t* text);

// Real input through the system's input queue (SendInput), for what only real
// input reaches: the caption's buttons, Alt+F4, the focus window's keys.
void SendKey(WORD vk, bool withAlt = false);
void SendClick(POINT screenPoint);
// The point of `hWnd`'s caption close button, in screen coordinates; x is -1 when
// there is none.
POINT CloseButtonPoint(HWND hWnd);

// The text of a window or of a dialog's control.
std::wstring TextOf(HWND hWnd);
std::wstring TextOf(HWND hDlg, int nID);

// gtest prints CStrings as UTF-8.
void PrintTo(const CString& s, std::ostream* os);
