// What the training tests share: the files at the fixed paths, the statistics lines
// as the page writes them and the steps every game begins with.
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "app/PronounceDlg.h"
#include "resources/resource.h"
#include "support/Drive.h"
#include "support/InstalledFiles.h"
#include "support/MainWindowDriver.h"
#include "support/MessageBoxes.h"
#include "training/GameState.h"
#include "training/TrainingPage.h"

using namespace test_support;

// The dictionary the tests play with. Spellings end in their tone digit. 行 comes
// twice: only its first row counts.
inline const std::vector<DictRow>& GameDictionary()
{
    static const std::vector<DictRow> rows = {
        {L"你", L"nei5"}, {L"好", L"hou2"}, {L"我", L"ngo5"}, {L"們", L"mun4"}, {L"们", L"mun4"},
        {L"行", L"hang4"}, {L"天", L"tin1"}, {L"a", L"A1"},   {L"行", L"hong4"}, {L"一", L"jat1"},
    };
    return rows;
}

// The answer sounds, SoundDir\ok.wav and ng.wav: short silent recordings.
inline void WriteAnswerSounds()
{
    WriteRecording(L"ok", 300, Sound::Silence);
    WriteRecording(L"ng", 300, Sound::Silence);
}

// The four statistics lines: prefix, then the value.
inline std::wstring MissesLine(const std::wstring& v) { return L"失败次数:      " + v; }
inline std::wstring TotalLine(const std::wstring& v) { return L"总计次数:      " + v; }
inline std::wstring HitsLine(const std::wstring& v) { return L"正确次数:      " + v; }
inline std::wstring RateLine(const std::wstring& v) { return L"正确率:        " + v; }
inline const std::wstring kPrompt = L"请输入:";

// The lines as a whole, for comparing the page at once.
struct StatLines {
    std::wstring misses, total, hits, rate;
    bool operator==(const StatLines&) const = default;
};
inline StatLines ReadLines(const MainWindowDriver& s)
{
    return {s.Text(IDC_MISSES), s.Text(IDC_TOTAL), s.Text(IDC_HITS), s.Text(IDC_RATE)};
}
inline void PrintTo(const StatLines& l, std::ostream* os)
{
    *os << "{" << Utf8(l.misses) << " | " << Utf8(l.total) << " | " << Utf8(l.hits) << " | " << Utf8(l.rate)
        << "}";
}

// Shows the training page with a click on its tab, then clicks "开始".
inline void StartGame(MainWindowDriver& s)
{
    s.ClickTab(1);
    ASSERT_TRUE(IsWindowVisible(s.PageWnd())) << "tab 1 did not show the training page";
    ASSERT_TRUE(s.Click(IDC_START));
}

