// The walk over the typed text: what is looked up, shown and played, in which
// order, and how long each recording is given.
#include "ReadAloudTest.h"

#include <afxwin.h>

namespace {

class ReadAloudWalk : public ReadAloudTest {};

TEST_F(ReadAloudWalk, ShowsAndPlaysEachFoundCharacterAndSkipsTheRest)
{
    WriteStandardDictionary();
    WriteStandardRecordings(120);
    // Absent characters, a line break (two code units) and a repeated character.
    const wchar_t* text = L"你x好\r\n你们z";
    CPronounceDlg dlg;
    bool lookupEnabledAfter = false;
    std::wstring labelAfter, textAfter;

    Run(dlg, [&](MainWindowDriver& s) {
        s.SetLookupText(text);
        s.Lookup();
        lookupEnabledAfter = s.MainEnabled(IDC_LOOKUP);
        labelAfter = s.MainText(IDC_PHONETIC);
        textAfter = s.MainText(IDC_TEXT);
    });

    EXPECT_EQ(spy.Urls(), Paths({L"nei5", L"hou2", L"nei5", L"mun4"})) << Utf8Of(spy.Urls());
    EXPECT_EQ(watch.Labels(), (std::vector<std::wstring>{L"nei5", L"hou2", L"nei5", L"mun4"}));
    for (const PlayerSpy::Start& start : spy.Starts()) {
        EXPECT_TRUE(start.playing) << Utf8(start.url) << " did not start";
        EXPECT_FALSE(start.lookupEnabled) << "the lookup button must be disabled while a walk runs";
    }
    // The label keeps the last spelling found although an absent character followed.
    EXPECT_EQ(labelAfter, L"mun4");
    EXPECT_EQ(textAfter, text);
    EXPECT_TRUE(lookupEnabledAfter);
    EXPECT_FALSE(dlg.m_bStop);
    EXPECT_EQ(Boxes().Count(), 0u);
}

TEST_F(ReadAloudWalk, EmptyTextAsksForTextAndStartsNothing)
{
    WriteStandardDictionary();
    CPronounceDlg dlg;
    bool lookupEnabledAfter = false;

    Run(dlg, [&](MainWindowDriver& s) {
        s.SetLookupText(L"");
        s.Lookup();
        lookupEnabledAfter = s.MainEnabled(IDC_LOOKUP);
    });

    ASSERT_EQ(Boxes().Count(), 1u);
    const MessageBoxRecord& box = Boxes().Taken()[0];
    EXPECT_EQ(box.text, L"请在文本框中输入一些文字");
    EXPECT_EQ(box.caption, std::wstring(AfxGetAppName()));
    EXPECT_EQ(box.buttons, std::vector<int>{IDOK});
    EXPECT_TRUE(spy.Starts().empty());
    EXPECT_EQ(spy.StateReads(), 0);
    EXPECT_TRUE(lookupEnabledAfter);
}

TEST_F(ReadAloudWalk, BlanksAndLineBreaksEachCostOneCycleOfWaiting)
{
    WriteStandardDictionary();
    CPronounceDlg dlg;
    bool lookupEnabledAfter = false;
    std::wstring labelAfter = L"?";

    Run(dlg, [&](MainWindowDriver& s) {
        s.SetLookupText(L" \r\n \r\n");
        s.Lookup();
        lookupEnabledAfter = s.MainEnabled(IDC_LOOKUP);
        labelAfter = s.MainText(IDC_PHONETIC);
    });

    EXPECT_TRUE(spy.Starts().empty());
    // Nothing plays, so every wait ends at its first look at the player: one
    // read per code unit, none of them a full 800 ms wait.
    EXPECT_EQ(spy.StateReads(), 6);
    EXPECT_TRUE(lookupEnabledAfter);
    EXPECT_EQ(labelAfter, L"");
}

TEST_F(ReadAloudWalk, LongRecordingIsCutAt800MsAndShortOneEndsTheWaitEarly)
{
    WriteStandardDictionary();
    WriteRecording(L"nei5", 2000);
    WriteRecording(L"hou2", 100);
    WriteRecording(L"mun4", 100);
    CPronounceDlg dlg;

    Run(dlg, [&](MainWindowDriver& s) {
        s.SetLookupText(L"你好们");
        s.Lookup();
    });

    ASSERT_EQ(spy.Urls(), Paths({L"nei5", L"hou2", L"mun4"}));
    const auto& starts = spy.Starts();
    const DWORD cut = starts[1].tick - starts[0].tick;
    const DWORD early = starts[2].tick - starts[1].tick;
    // 2 s of nei5 get 800 ms; 100 ms of hou2 get about their length.
    EXPECT_GE(cut, 800u);
    EXPECT_LT(cut, 1500u);
    EXPECT_GE(early, 80u);
    EXPECT_LT(early, 600u);
}

// A spelling from the dictionary is put in a path only when it looks like one; the label
// still shows what the dictionary holds.
TEST_F(ReadAloudWalk, ASpellingThatIsNoFileNamePlaysNothing)
{
    WriteDictionary({{L"坏", L"..\\..\\..\\windows\\win"}, {L"点", L"dim2."}, {L"你", L"nei5"}});
    WriteRecording(L"nei5", 60);
    CPronounceDlg dlg;

    Run(dlg, [&](MainWindowDriver& s) {
        s.SetLookupText(L"坏点你");
        s.Lookup();
    });

    EXPECT_EQ(spy.Urls(), (std::vector<std::wstring>{SoundFolder(), SoundFolder(), RecordingPath(L"nei5")})) << Utf8Of(spy.Urls());
    EXPECT_EQ(watch.Labels(), (std::vector<std::wstring>{L"..\\..\\..\\windows\\win", L"dim2.", L"nei5"}));
}

// A player that fails mid-walk: the failure is shown and the lookup button comes back.
TEST_F(ReadAloudWalk, APlayerFailureEndsTheWalkWithTheButtonBack)
{
    WriteStandardDictionary();
    WriteStandardRecordings(60);
    CPronounceDlg dlg;
    bool lookupEnabledAfter = false;

    Run(dlg, [&](MainWindowDriver& s) {
        spy.failStateReads = true;
        s.SetLookupText(L"你好");
        s.Lookup();
        lookupEnabledAfter = s.MainEnabled(IDC_LOOKUP);
    });

    EXPECT_EQ(spy.Urls(), Paths({L"nei5"})) << "the walk went on after the failure";
    EXPECT_TRUE(lookupEnabledAfter);
    EXPECT_EQ(Boxes().Count(), 1u);
}

}  // namespace
