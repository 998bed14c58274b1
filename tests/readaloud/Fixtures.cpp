#include "Fixtures.h"

#include "support/WavBytes.h"

#include <windows.h>

#include <sqlite3.h>

#include <cmath>
#include <cstdint>
#include <stdexcept>

namespace {

const wchar_t kDictionaryPath[] = L"C:\\WINDOWS\\system32\\abc.mp3";
const wchar_t kInstallDir[] = L"C:\\Program Files\\Lorvane\\";
const wchar_t kSoundDir[] = L"C:\\Program Files\\Lorvane\\sound\\";

std::optional<std::string> ReadWholeFile(const std::wstring& path)
{
    HANDLE h = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                           OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE)
        return std::nullopt;
    std::string bytes(GetFileSize(h, nullptr), '\0');
    DWORD read = 0;
    const BOOL ok = bytes.empty() || ReadFile(h, bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr);
    CloseHandle(h);
    if (!ok || read != bytes.size())
        return std::nullopt;
    return bytes;
}

bool WriteWholeFile(const std::wstring& path, const std::string& bytes)
{
    HANDLE h = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE)
        return false;
    DWORD written = 0;
    WriteFile(h, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    CloseHandle(h);
    return written == bytes.size();
}

void Check(int rc, sqlite3* db, const char* what)
{
    if (rc != SQLITE_OK && rc != SQLITE_DONE && rc != SQLITE_ROW)
        throw std::runtime_error(std::string(what) + ": " + sqlite3_errmsg(db));
}

// The program's own connections may hold the file open, so the file is never
// replaced while it runs: its table is dropped and made again in place.
template <class Fill>
void RewriteDictionary(Fill fill)
{
    sqlite3* db = nullptr;
    Check(sqlite3_open16(kDictionaryPath, &db), db, "open dictionary");
    sqlite3_busy_timeout(db, 2000);
    try {
        Check(sqlite3_exec(db, "BEGIN; DROP TABLE IF EXISTS cantonesePhonetic;", nullptr, nullptr, nullptr), db,
              "drop table");
        fill(db);
        Check(sqlite3_exec(db, "COMMIT;", nullptr, nullptr, nullptr), db, "commit");
    } catch (...) {
        sqlite3_close(db);
        throw;
    }
    sqlite3_close(db);
}

// Keeps the dictionary file that was there before this program started and puts
// it back at exit, after the program's own static dictionary object is gone.
// Constructed after the message-box answerer (1500) and before the program's
// static dictionary connects (2001), which then finds a table to open.
struct DictionaryKeeper {
    std::optional<std::string> original;

    DictionaryKeeper()
    {
        original = ReadWholeFile(kDictionaryPath);
        try {
            WriteDictionary({{L"你", L"nei5"}, {L"好", L"hou2"}});
        } catch (const std::exception&) {
            // The tests that need it will report the failure.
        }
    }
    ~DictionaryKeeper()
    {
        if (original)
            WriteWholeFile(kDictionaryPath, *original);
        else
            DeleteFileW(kDictionaryPath);
    }
};

DictionaryKeeper keeper __attribute__((init_priority(1600)));

}  // namespace

void WriteDictionary(std::initializer_list<DictRow> rows)
{
    RewriteDictionary([&](sqlite3* db) {
        Check(sqlite3_exec(db,
                           "CREATE TABLE cantonesePhonetic (id INTEGER PRIMARY KEY, "
                           "character TEXT, phonetic TEXT);",
                           nullptr, nullptr, nullptr),
              db, "create table");
        sqlite3_stmt* insert = nullptr;
        Check(sqlite3_prepare_v2(db, "INSERT INTO cantonesePhonetic VALUES (?, ?, ?);", -1, &insert, nullptr), db,
              "prepare insert");
        int id = 1;
        for (const DictRow& row : rows) {
            sqlite3_bind_int(insert, 1, id++);
            sqlite3_bind_text16(insert, 2, row.character, -1, SQLITE_TRANSIENT);
            sqlite3_bind_text16(insert, 3, row.phonetic, -1, SQLITE_TRANSIENT);
            const int rc = sqlite3_step(insert);
            sqlite3_reset(insert);
            Check(rc, db, "insert row");
        }
        sqlite3_finalize(insert);
    });
}

void WriteDictionarySql(const char* sql)
{
    RewriteDictionary([&](sqlite3* db) { Check(sqlite3_exec(db, sql, nullptr, nullptr, nullptr), db, sql); });
}

std::wstring RecordingPath(const std::wstring& spelling)
{
    return kSoundDir + spelling + L".wav";
}

void TestRecordings::Write(const std::wstring& spelling, int ms)
{
    CreateDirectoryW(kInstallDir, nullptr);
    CreateDirectoryW(kSoundDir, nullptr);

    const std::string file = test_support::PcmWav(ms);

    const std::wstring path = RecordingPath(spelling);
    bool known = false;
    for (const auto& [replacedPath, bytes] : m_replaced)
        known = known || replacedPath == path;
    if (!known)
        m_replaced.emplace_back(path, ReadWholeFile(path));
    if (!WriteWholeFile(path, file))
        throw std::runtime_error("cannot write a recording");
}

TestRecordings::~TestRecordings()
{
    for (const auto& [path, bytes] : m_replaced) {
        if (bytes)
            WriteWholeFile(path, *bytes);
        else
            DeleteFileW(path.c_str());
    }
}
