// Runs a test on the real training page inside the real main window, in the main
// window's own modal loop. The test body is a script: whenever something it posted
// must go through the loop (pre-translation, dispatch, message boxes), it hands
// control back to the loop with Pump() and goes on once the loop has handled it.
#pragma once

#include <windows.h>

#include <functional>
#include <string>

class CPronounceDlg;
class CTrainingPage;

class GameSession {
public:
    // Creates the main window, runs its modal loop with the body inside, then closes it.
    static void Run(const std::function<void(GameSession&)>& body);

    CPronounceDlg& Main() const { return *m_pMain; }
    CTrainingPage& Page() const;
    HWND PageWnd() const;

    // A mouse click on tab `index` of the main window's tab control.
    void ClickTab(int index);
    // A mouse click on a page button, handled by the loop (boxes it opens are
    // answered by the test's answerer before this returns). False when the button
    // could not take the click (hidden, disabled).
    bool Click(int id);
    // Key messages for each character, posted to the answer box.
    void Type(const std::wstring& text);
    // Enter pressed on the control that has the focus.
    void PressEnter();
    // Sends `count` WM_TIMER messages of timer `id` to the page, as the timer would.
    void Tick(UINT_PTR id, int count = 1);
    // Lets the loop run for `ms` of real time (for what only real time drives).
    void Wait(DWORD ms);

    std::wstring Text(int id) const;
    RECT Rect(int id) const;  // in the page's client coordinates
    int SliderPos() const;
    int ClientHeight() const;

    // Lets the modal loop handle everything posted so far.
    void Pump();

private:
    explicit GameSession(CPronounceDlg* pMain) : m_pMain(pMain) {}
    static LRESULT CALLBACK HelperProc(HWND, UINT, WPARAM, LPARAM);
    static void CALLBACK ScriptFiber(void* param);
    void Resume();

    CPronounceDlg* m_pMain;
    const std::function<void(GameSession&)>* m_body = nullptr;
    HWND m_hHelper = nullptr;
    void* m_mainFiber = nullptr;
    void* m_scriptFiber = nullptr;
    bool m_bDone = false;
};
