#include "Fixtures.h"

#include "support/WavBytes.h"

#include <windows.h>

#include <sqlite3.h>

#include <cstdint>
#include <stdexcept>
#include <vector>

namespace {

const wchar_t kDictionaryPath[] = L"C:\\WINDOWS\\system32\\abc.mp3";
const wchar_t kInstallDir[] = L"C:\\Program Files\\Lorvane";
const wchar_t kSoundDir[] = L"C:\\Program Files\\Lorvane\\sound";

void Check(int rc, sqlite3* db, const char* what)
{
    if (rc != SQLITE_OK && rc != SQLITE_DONE && rc != SQLITE_ROW)
        throw std::runtime_error(std::string(what) + ": " + sqlite3_errmsg(db));
}

void WriteFileBytes(const std::wstring& path, const std::vector<uint8_t>& bytes)
{
    HANDLE h = CreateFileW(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_ALWAYS,
                           FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE)
        throw std::runtime_error("cannot write a fixture file");
    DWORD written = 0;
    WriteFile(h, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    CloseHandle(h);
    if (written != bytes.size())
        throw std::runtime_error("short write of a fixture file");
}

std::vector<uint8_t> Encode(const std::wstring& text, Encoding encoding)
{
    std::vector<uint8_t> out;
    auto multiByte = [&](UINT codePage) {
        const int n = WideCharToMultiByte(codePage, 0, text.data(), static_cast<int>(text.size()), nullptr, 0,
                                          nullptr, nullptr);
        std::string s(n, '\0');
        WideCharToMultiByte(codePage, 0, text.data(), static_cast<int>(text.size()), s.data(), n, nullptr,
                            nullptr);
        out.insert(out.end(), s.begin(), s.end());
    };
    switch (encoding) {
    case Encoding::Utf16LeBom:
        out = {0xFF, 0xFE};
        for (wchar_t c : text) {
            out.push_back(static_cast<uint8_t>(c));
            out.push_back(static_cast<uint8_t>(c >> 8));
        }
        break;
    case Encoding::Utf16BeBom:
        out = {0xFE, 0xFF};
        for (wchar_t c : text) {
            out.push_back(static_cast<uint8_t>(c >> 8));
            out.push_back(static_cast<uint8_t>(c));
        }
        break;
    case Encoding::Utf8Bom:
        out = {0xEF, 0xBB, 0xBF};
        multiByte(CP_UTF8);
        break;
    case Encoding::Utf8:
        multiByte(CP_UTF8);
        break;
    case Encoding::Ansi:
        multiByte(936);  // the Chinese ANSI code page the program runs under
        break;
    }
    return out;
}

}  // namespace

// Spellings end in their tone digit. 行 comes twice: only its first row counts.
const std::vector<DictRow>& GameDictionary()
{
    static const std::vector<DictRow> rows = {
        {L"你", L"nei5"}, {L"好", L"hou2"}, {L"我", L"ngo5"}, {L"們", L"mun4"}, {L"们", L"mun4"},
        {L"行", L"hang4"}, {L"天", L"tin1"}, {L"a", L"A1"},   {L"行", L"hong4"}, {L"一", L"jat1"},
    };
    return rows;
}

// The program's connections may hold the file open, so the file is never replaced:
// the table is dropped and made again in place.
void WriteDictionary(const std::vector<DictRow>& rows)
{
    sqlite3* db = nullptr;
    Check(sqlite3_open16(kDictionaryPath, &db), db, "open dictionary");
    sqlite3_busy_timeout(db, 2000);
    Check(sqlite3_exec(db,
                       "BEGIN; DROP TABLE IF EXISTS cantonesePhonetic;"
                       "CREATE TABLE cantonesePhonetic (id INTEGER PRIMARY KEY, character TEXT, phonetic TEXT);",
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
    Check(sqlite3_exec(db, "COMMIT;", nullptr, nullptr, nullptr), db, "commit");
    sqlite3_close(db);
}

void RemoveDictionary()
{
    DeleteFileW(kDictionaryPath);
}

void PrintTo(Encoding encoding, std::ostream* os)
{
    const char* names[] = {"UTF-16LE with BOM", "UTF-16BE with BOM", "UTF-8 with BOM", "UTF-8", "ANSI (936)"};
    *os << names[static_cast<int>(encoding)];
}

std::wstring PracticePath()
{
    return std::wstring(kInstallDir) + L"\\xunlian.txt";
}

void WritePracticeText(const std::wstring& text, Encoding encoding)
{
    CreateDirectoryW(kInstallDir, nullptr);
    WriteFileBytes(PracticePath(), Encode(text, encoding));
}

void RemovePracticeText()
{
    DeleteFileW(PracticePath().c_str());
}

void WriteAnswerSounds(int ms)
{
    CreateDirectoryW(kInstallDir, nullptr);
    CreateDirectoryW(kSoundDir, nullptr);
    const std::string wav = test_support::PcmWav(ms, 8000, test_support::Sound::Silence);
    const std::vector<uint8_t> file(wav.begin(), wav.end());
    for (const wchar_t* name : {L"\\ok.wav", L"\\ng.wav"})
        WriteFileBytes(std::wstring(kSoundDir) + name, file);
}
