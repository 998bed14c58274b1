// A dictionary that fails under the walk, or cannot be read at all: the walk
// ends in order and the page stays usable.
#include "ReadAloudTest.h"

#include <afxwin.h>

#include <optional>

#include "FailingRecordset.h"

namespace {

class ReadAloudDictionary : public ReadAloudTest {};

TEST_F(ReadAloudDictionary, FailureDuringTheWalkEndsItWithOneMessage)
{
    WriteStandardDictionary();
    WriteStandardRecordings(100);
    CPronounceDlg dlg;
    std::optional<FailingMoveFirst> failing;
    bool lookupEnabledAfter = false;
    std::wstring labelAfter;

    Run(dlg, [&](MainWindowDriver& s) {
        // The dictionary breaks once the first character has been found.
        spy.onStart = [&](const PlayerSpy::Start&) {
            if (!failing)
                failing.emplace(s.Main().m_db.m_pRecordset);
        };
        s.SetLookupText(L"你好们");
        s.Lookup();
        lookupEnabledAfter = s.MainEnabled(IDC_LOOKUP);
        labelAfter = s.MainText(IDC_PHONETIC);
        failing.reset();
    });

    EXPECT_EQ(spy.Urls(), Paths({L"nei5"}));
    ASSERT_EQ(Boxes().Count(), 1u);
    const MessageBoxRecord& box = Boxes().Taken()[0];
    EXPECT_EQ(box.caption, std::wstring(AfxGetAppName()));
    EXPECT_EQ(box.text.rfind(L"读取词典失败", 0), 0u) << Utf8(box.text);
    EXPECT_NE(box.text.find(kInjectedFailure), std::wstring::npos) << Utf8(box.text);
    EXPECT_EQ(box.buttons, std::vector<int>{IDOK});
    EXPECT_TRUE(lookupEnabledAfter);
    EXPECT_EQ(labelAfter, L"nei5");
}

TEST_F(ReadAloudDictionary, UnreadableDictionaryFindsNothingAndTheWalkEnds)
{
    struct Case {
        const char* name;
        const char* sql;
    };
    const Case cases[] = {
        {"no table", ""},
        {"empty table", "CREATE TABLE cantonesePhonetic (id INTEGER, character TEXT, phonetic TEXT);"},
        {"no character column", "CREATE TABLE cantonesePhonetic (id INTEGER); INSERT INTO cantonesePhonetic VALUES (1);"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        WriteDictionarySql(c.sql);
        WriteStandardRecordings(100);
        PlayerSpy spy;
        CPronounceDlg dlg;
        size_t boxesDuringWalk = 99;
        bool lookupEnabledAfter = false;

        MainWindowDriver::Run(dlg, [&](MainWindowDriver& s) {
            spy.Attach(s.Main());
            Boxes().Reset();  // opening the window may already have reported the dictionary
            s.SetLookupText(L"你好");
            s.Lookup();
            boxesDuringWalk = Boxes().Count();
            lookupEnabledAfter = s.MainEnabled(IDC_LOOKUP);
        }, kWalkWatchdogMs);

        EXPECT_TRUE(spy.Starts().empty());
        EXPECT_EQ(spy.StateReads(), 2) << "one short wait per character";
        EXPECT_EQ(boxesDuringWalk, 0u);
        EXPECT_TRUE(lookupEnabledAfter);
    }
}

}  // namespace
