// What the robustness tests share: files the program reads, put at its fixed paths
// or broken there, and what to make of the boxes and recordings a run gave.
#pragma once

#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/PronounceDlg.h"
#include "resources/resource.h"
#include "support/Drive.h"
#include "support/InstalledFiles.h"
#include "support/MainWindowDriver.h"
#include "support/MessageBoxes.h"
#include "support/Observers.h"
#include "training/GameState.h"
#include "training/TrainingPage.h"

namespace robustness {

using namespace test_support;

// 你 nei5, 好 hou2, 们 mun4, 学 hok6, 习 zaap6.
std::string StandardDictionary();

// Puts `bytes` at the dictionary path and connects the training game's dictionary
// again, as the program does at start-up with that file (its box, if any, counts).
void UseDictionary(const std::string& bytes);

// The boxes recorded since the last Reset, as "caption: text" lines, for failure messages.
std::string BoxList();

// The recordings a player was given (page switches give it other addresses).
std::vector<std::wstring> Recordings(const std::vector<std::wstring>& urls);

// The dictionary layer's messages: a file that cannot be opened, a query that
// failed, a connection that is not open, a table without columns 1 and 2.
bool IsDictionaryMessage(const std::wstring& text);

// Holds a file open with no sharing, as an editor or virus scanner may.
class ExclusiveLock {
public:
    explicit ExclusiveLock(const std::wstring& path);
    ~ExclusiveLock();
    ExclusiveLock(const ExclusiveLock&) = delete;
    ExclusiveLock& operator=(const ExclusiveLock&) = delete;
    bool Held() const { return m_h != INVALID_HANDLE_VALUE; }

private:
    HANDLE m_h;
};

}  // namespace robustness
