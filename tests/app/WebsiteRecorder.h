// The website the program opens, seen through a stand-in for Wine's browser.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

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
