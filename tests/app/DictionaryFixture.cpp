// The program's dictionary objects connect during static construction (g_db) and with
// every main window (m_db). The app tests need a dictionary that opens, so this makes
// sure one is at the fixed path before either connects; a dictionary already there is
// left as it is. The missing-dictionary start-up has a test of its own.
#include <windows.h>

#include <sqlite3.h>

namespace {

const wchar_t kDictionaryPath[] = L"C:\\WINDOWS\\system32\\abc.mp3";

struct DictionaryFixture {
    DictionaryFixture()
    {
        sqlite3* db = nullptr;
        if (sqlite3_open16(kDictionaryPath, &db) == SQLITE_OK) {
            sqlite3_busy_timeout(db, 5000);
            sqlite3_exec(db,
                         "CREATE TABLE IF NOT EXISTS cantonesePhonetic "
                         "(id INTEGER PRIMARY KEY, character TEXT, phonetic TEXT);"
                         "INSERT INTO cantonesePhonetic (character, phonetic) "
                         "SELECT '你', 'nei5' WHERE NOT EXISTS (SELECT 1 FROM cantonesePhonetic);"
                         "INSERT INTO cantonesePhonetic (character, phonetic) "
                         "SELECT '好', 'hou2' WHERE (SELECT COUNT(*) FROM cantonesePhonetic) = 1;",
                         nullptr, nullptr, nullptr);
        }
        sqlite3_close(db);
    }
};

// After the message-box answerer (1500), before theApp (2000) and g_db (2001).
DictionaryFixture fixture __attribute__((init_priority(1600)));

}  // namespace
