// What a test sees of a walk on the real main window, taken without changing
// what the window does.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

class CPronounceDlg;

// Sits between the framework and the real media player: the player window's
// dispatch query is answered with a forwarding IDispatch, so every URL the walk
// sets and every play-state read pass through here on their way to the player.
class PlayerSpy {
public:
    struct Start {
        std::wstring url;
        bool playing = false;        // the player's state right after the URL was set
        bool lookupEnabled = false;  // button 1000 at that moment
        DWORD tick = 0;
    };

    PlayerSpy() = default;
    ~PlayerSpy();
    PlayerSpy(const PlayerSpy&) = delete;
    PlayerSpy& operator=(const PlayerSpy&) = delete;

    void Attach(CPronounceDlg& dlg);

    const std::vector<Start>& Starts() const { return m_starts; }
    std::vector<std::wstring> Urls() const;
    int StateReads() const { return m_stateReads; }

    // Called right after each URL reached the player (inside the walk's call).
    std::function<void(const Start&)> onStart;
    // Every play-state read fails, as a broken player would answer.
    bool failStateReads = false;

    void Started(const std::wstring& url, IDispatch* player);
    void StateRead() { ++m_stateReads; }

private:
    static LRESULT CALLBACK Proc(HWND, UINT, WPARAM, LPARAM, UINT_PTR, DWORD_PTR);

    HWND m_hPlayer = nullptr;
    HWND m_hLookup = nullptr;
    std::vector<Start> m_starts;
    int m_stateReads = 0;
};

// Watches, through a WH_CALLWNDPROC hook of the thread: every text the phonetic
// label 1003 is given, and every lookup command that reaches the main window.
class WindowWatch {
public:
    WindowWatch() = default;
    ~WindowWatch();
    WindowWatch(const WindowWatch&) = delete;
    WindowWatch& operator=(const WindowWatch&) = delete;

    void Attach(CPronounceDlg& dlg);

    const std::vector<std::wstring>& Labels() const { return m_labels; }
    int LookupCommands() const { return m_lookupCommands; }

private:
    static LRESULT CALLBACK Hook(int code, WPARAM wParam, LPARAM lParam);

    HHOOK m_hook = nullptr;
    HWND m_hDlg = nullptr;
    HWND m_hLabel = nullptr;
    std::vector<std::wstring> m_labels;
    int m_lookupCommands = 0;
};
