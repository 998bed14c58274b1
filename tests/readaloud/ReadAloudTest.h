// The common ground of the read-aloud tests: fixtures at the program's paths,
// the real main window run modally, and the observers of the walk.
#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "Fixtures.h"
#include "MainWindowRun.h"
#include "Observers.h"
#include "app/PronounceDlg.h"
#include "support/Drive.h"
#include "support/MessageBoxes.h"

class ReadAloudTest : public testing::Test {
protected:
    // 你 and 们 have one reading each; 好 has two rows and the first one counts.
    static void WriteStandardDictionary()
    {
        WriteDictionary({{L"你", L"nei5"}, {L"好", L"hou2"}, {L"好", L"hou3"}, {L"们", L"mun4"}});
    }

    // Recordings of the standard dictionary, `ms` long each.
    void WriteStandardRecordings(int ms)
    {
        for (const wchar_t* spelling : {L"nei5", L"hou2", L"hou3", L"mun4"})
            recordings.Write(spelling, ms);
    }

    // Runs the real main window with the observers attached, then `script`.
    readaloud_test::RunOutcome Run(CPronounceDlg& dlg, const std::function<void(CPronounceDlg&)>& script)
    {
        return readaloud_test::RunMainWindow(dlg, [&](CPronounceDlg& d) {
            spy.Attach(d);
            watch.Attach(d);
            script(d);
        });
    }

    static std::vector<std::wstring> Paths(std::initializer_list<const wchar_t*> spellings)
    {
        std::vector<std::wstring> paths;
        for (const wchar_t* s : spellings)
            paths.push_back(RecordingPath(s));
        return paths;
    }

    // Posts a real click on a button of the main window and lets it be handled
    // before the walk starts.
    static void ClickNow(CPronounceDlg& dlg, int id)
    {
        ASSERT_TRUE(ClickButton(dlg.m_hWnd, id));
        PumpUntilIdle();
    }

    TestRecordings recordings;
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
