// Dictionary files that are broken or hold odd tables: start-up shows the
// dictionary layer's own messages (or nothing), and both pages go on working.
#include <gtest/gtest.h>

#include <afxwin.h>

#include "RobustnessTest.h"

namespace robustness {
namespace {

// What start-up shows for a kind of file.
enum class Startup {
    CannotOpen,  // both connections fail, then both recordsets: four boxes
    QueryFails,  // the file opens; both recordsets fail: two boxes
    NoColumns,   // the table lacks columns 1 and 2: two boxes
    Quiet,       // the table opens: no box
};

struct BadFile {
    const char* name;
    std::string bytes;
    Startup startup;
};

std::string GarbageAfter(const std::string& head, size_t size)
{
    std::string bytes = head;
    uint32_t x = 12345;
    while (bytes.size() < size) {
        x = x * 1103515245 + 12345;
        bytes.push_back(static_cast<char>(x >> 16));
    }
    return bytes;
}

// A dictionary of a few thousand rows, so that it spans many pages.
std::string LargeDictionary()
{
    return DatabaseImage(
        "PRAGMA page_size=1024;"
        "CREATE TABLE cantonesePhonetic (id INTEGER PRIMARY KEY, character TEXT, phonetic TEXT);"
        "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 3000) "
        "INSERT INTO cantonesePhonetic (character, phonetic) SELECT char(0x4E00 + i), 'syl' || (i % 6 + 1) FROM n;"
        "INSERT INTO cantonesePhonetic (character, phonetic) VALUES ('你', 'nei5');");
}

std::vector<BadFile> BadFiles()
{
    const std::string large = LargeDictionary();
    return {
        {"not a database (MP3-like bytes)", GarbageAfter("ID3\x03", 4096), Startup::CannotOpen},
        {"SQLite's header and then garbage", GarbageAfter(std::string("SQLite format 3\0", 16), 8192),
         Startup::CannotOpen},
        {"cut inside the header", large.substr(0, 60), Startup::CannotOpen},
        {"cut in the middle of the rows", large.substr(0, large.size() / 2), Startup::CannotOpen},
        {"no table cantonesePhonetic", DatabaseImage("CREATE TABLE other (a, b, c);"), Startup::QueryFails},
        {"a table of two columns",
         DatabaseImage("CREATE TABLE cantonesePhonetic (id, character); INSERT INTO cantonesePhonetic "
                            "VALUES (1, '你');"),
         Startup::NoColumns},
        {"an empty table",
         DatabaseImage("CREATE TABLE cantonesePhonetic (id INTEGER PRIMARY KEY, character TEXT, phonetic TEXT);"),
         Startup::Quiet},
        {"values that are not text in columns 1 and 2",
         DatabaseImage("CREATE TABLE cantonesePhonetic (id, character, phonetic);"
                            "INSERT INTO cantonesePhonetic VALUES (1, 42, 3.5), (2, NULL, NULL),"
                            " (3, x'E4BDA0', x'00ff'), (4, '你', 7), (5, '好', NULL), (6, 9e99, 'x1');"),
         Startup::Quiet},
    };
}

size_t ExpectedBoxes(Startup s)
{
    switch (s) {
    case Startup::CannotOpen: return 4;
    case Startup::QueryFails:
    case Startup::NoColumns: return 2;
    default: return 0;
    }
}

TEST(RobustnessDictionary, BrokenOrOddFilesGiveTheirMessagesAndBothPagesGoOn)
{
    WriteRecording(L"nei5", 50);
    WritePracticeText(L"你们好");
    for (const BadFile& file : BadFiles()) {
        SCOPED_TRACE(file.name);
        Boxes().Reset();
        UseDictionary(file.bytes);  // the game's connection, as at start-up
        PlayerSpy spy;
        std::vector<MessageBoxRecord> atStart;
        bool walkEnded = false, lookupEnabled = false, gameRunning = true;
        std::wstring falling;
        size_t boxesAfterStart = 0;

        MainWindowDriver::Run([&](MainWindowDriver& s) {
            atStart = Boxes().Taken();
            spy.Attach(s.Main());

            s.SetLookupText(L"你们好");
            ASSERT_TRUE(s.ClickMain(IDC_LOOKUP));
            walkEnded = s.WaitForWalkEnd();
            lookupEnabled = s.MainEnabled(IDC_LOOKUP);

            s.ClickTab(1);
            ASSERT_TRUE(s.Click(IDC_START));
            gameRunning = g_bRunning;
            falling = s.Text(IDC_FALLING);
            boxesAfterStart = Boxes().Taken().size();
            s.Click(IDC_HALT);

            // Still there: the look-up page comes back and answers a click.
            s.ClickTab(0);
            EXPECT_TRUE(s.ClickMain(IDC_PAUSE));
            EXPECT_EQ(s.MainText(IDC_PAUSE), L"播放(&P)");
            EXPECT_TRUE(s.ClickMain(IDC_PAUSE));
            EXPECT_EQ(s.MainText(IDC_PAUSE), L"暂停(&P)");
        });

        ASSERT_EQ(atStart.size(), ExpectedBoxes(file.startup)) << BoxList();
        for (const MessageBoxRecord& box : atStart) {
            EXPECT_TRUE(IsDictionaryMessage(box.text)) << ::Utf8(box.text);
            EXPECT_EQ(box.caption, std::wstring(AfxGetAppName()));
            EXPECT_EQ(box.buttons, std::vector<int>{IDOK});
        }
        if (file.startup == Startup::CannotOpen) {
            EXPECT_TRUE(atStart[0].text.starts_with(L"无法打开数据库文件 ")) << ::Utf8(atStart[0].text);
        }
        if (file.startup == Startup::NoColumns) {
            EXPECT_TRUE(atStart[0].text.starts_with(L"词典数据不可用：数据表只有 2 列")) << ::Utf8(atStart[0].text);
        }

        EXPECT_TRUE(walkEnded);
        EXPECT_TRUE(lookupEnabled);
        // Nothing more is said after start-up: the walk and the game are silent.
        EXPECT_EQ(boxesAfterStart, atStart.size()) << BoxList();
        if (file.startup == Startup::Quiet && std::string(file.name).starts_with("values")) {
            // 你 and 好 are found; their spellings are not text, so they are empty and
            // name no recording: the player is handed the sound folder, which plays
            // nothing, and the game takes 你 all the same.
            EXPECT_EQ(Recordings(spy.Urls()), (std::vector<std::wstring>{SoundFolder(), SoundFolder()}));
            EXPECT_EQ(falling, L"你");
            EXPECT_TRUE(gameRunning);
        } else {
            EXPECT_TRUE(Recordings(spy.Urls()).empty());
            EXPECT_FALSE(gameRunning) << "a character fell without a dictionary";
            EXPECT_EQ(falling, L"");
        }
        EXPECT_EQ(g_nTotal, g_nHits + g_nMisses);
    }
    UseDictionary(StandardDictionary());
}

// A value that is not text as the falling character's spelling is an empty
// reference: Enter with an empty answer scores, and the game goes on.
TEST(RobustnessDictionary, SpellingThatIsNotTextIsAnEmptyReference)
{
    UseDictionary(DatabaseImage("CREATE TABLE cantonesePhonetic (id, character, phonetic);"
                                     "INSERT INTO cantonesePhonetic VALUES (1, '你', 7), (2, '们', 'mun4');"));
    WritePracticeText(L"你们们");
    Boxes().Reset();
    MainWindowDriver::Run([&](MainWindowDriver& s) {
        s.ClickTab(1);
        ASSERT_TRUE(s.Click(IDC_START));
        ASSERT_EQ(s.Text(IDC_FALLING), L"你");
        s.PressEnter();
        EXPECT_EQ(g_nHits, 1);
        EXPECT_EQ(s.Text(IDC_FALLING), L"们");
        s.Answer(L"mun");
        EXPECT_EQ(g_nHits, 2);
        s.Answer(L"x");
        EXPECT_EQ(g_nMisses, 1);
        EXPECT_EQ(s.Text(IDC_HINT), L"输入错误,参考音标:mun");
    });
    EXPECT_EQ(Boxes().Taken().size(), 0u) << BoxList();
    UseDictionary(StandardDictionary());
}

}  // namespace
}  // namespace robustness
