// The common ground of the read-aloud tests: fixtures at the program's paths, the
// real main window run by the driver, and the observers of the walk.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/PronounceDlg.h"
#include "support/Drive.h"
#include "support/InstalledFiles.h"
#include "support/MainWindowDriver.h"
#include "support/MessageBoxes.h"
#include "support/Observers.h"

using namespace test_support;

// A walk that has not ended after this long is a hung walk.
constexpr DWORD kWalkWatchdogMs = 4000;

class ReadAloudTest : public testing::Test {
protected:
    // 你 and 们 have one reading each; 好 has two rows and the first one counts.
    static void WriteStandardDictionary()
    {
        WriteDictionary({{L"你", L"nei5"}, {L"好", L"hou2"}, {L"好", L"hou3"}, {L"们", L"mun4"}});
    }

    // Recordings of the standard dictionary, `ms` long each.
    static void WriteStandardRecordings(int ms)
    {
        for (const wchar_t* spelling : {L"nei5", L"hou2", L"hou3", L"mun4"})
            WriteRecording(spelling, ms);
    }

    // Runs the real main window with the observers attached, then `script`.
    MainWindowDriver::Outcome Run(CPronounceDlg& dlg, const MainWindowDriver::Script& script)
    {
        return MainWindowDriver::Run(
            dlg,
            [&](MainWindowDriver& s) {
                spy.Attach(s.Main());
                watch.Attach(s.Main());
                script(s);
            },
            kWalkWatchdogMs);
    }

    static std::vector<std::wstring> Paths(std::initializer_list<const wchar_t*> spellings)
    {
        std::vector<std::wstring> paths;
        for (const wchar_t* s : spellings)
            paths.push_back(RecordingPath(s));
        return paths;
    }

    PlayerSpy spy;
    WindowWatch watch;
};

inline std::string Utf8Of(const std::vector<std::wstring>& texts)
{
    std::string out;
    for (const std::wstring& t : texts)
        out += Utf8(t) + " ";
    return out;
}
