// Answers every message box of the test program's GUI thread, so no box ever
// waits for a person, and records what each one showed.
#pragma once

#include <windows.h>

#include <functional>
#include <ostream>
#include <string>
#include <vector>

struct MessageBoxRecord {
    std::wstring caption;
    std::wstring text;
    HWND owner = nullptr;       // the box's owner window (nullptr: none)
    bool ownerEnabled = false;  // whether that owner was enabled while the box showed
    std::vector<int> buttons;   // ids of its buttons (IDOK, IDCANCEL, IDYES ...), in id order
    UINT icon = 0;              // MB_ICONEXCLAMATION, MB_ICONQUESTION, ... or 0
    int answer = 0;             // the button the recorder pressed
};

class MessageBoxRecorder {
public:
    MessageBoxRecorder();
    ~MessageBoxRecorder();

    // The button to press in every later box; 0 means the box's default button
    // (the first one unless the box said otherwise). A box without that button
    // gets its default button.
    void Answer(int buttonId);
    // Buttons for the next boxes, one each, used before the Answer() choice.
    void AnswerNext(std::vector<int> buttonIds);
    // Forgets the boxes taken and the answers (back to the default button).
    void Reset();

    // Forgets the boxes showing `text` among those taken after the first `count`:
    // the boxes of a test's own probe.
    void ForgetSince(size_t count, const std::wstring& text);

    // Called with each box as it is taken, while it shows: a test looks at the window
    // behind it. Reset() clears it.
    std::function<void(const MessageBoxRecord&)> onTake;

    const std::vector<MessageBoxRecord>& Taken() const { return m_taken; }
    size_t Count() const { return m_taken.size(); }
    // The boxes that came before main() (static objects of the program).
    const std::vector<MessageBoxRecord>& BeforeMain() const { return m_beforeMain; }
    void MarkMainStarted() { m_beforeMain = m_taken; }

private:
    static LRESULT CALLBACK CbtHook(int code, WPARAM wParam, LPARAM lParam);
    void Take(HWND box);

    HHOOK m_hook = nullptr;
    int m_answer = 0;
    std::vector<int> m_next;
    std::vector<MessageBoxRecord> m_taken;
    std::vector<MessageBoxRecord> m_beforeMain;
    std::vector<HWND> m_seen;
};

// The recorder, installed before the program's static objects are constructed.
MessageBoxRecorder& Boxes();

// This program's file name without its extension: the caption the framework gives
// its message boxes.
std::wstring ProgramName();

// Test output is UTF-8.
std::string Utf8(const std::wstring& text);
std::string Utf8(const wchar_t* text);
void PrintTo(const MessageBoxRecord& box, std::ostream* os);
