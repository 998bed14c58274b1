#include "bench/startup/DictionaryFile.h"

#include <windows.h>

#include <sqlite3.h>

#include <string>

namespace {

const char* const kInitials[] = {"b", "p", "m", "f", "d", "t", "n", "l", "g", "k", "ng", "h",
                                 "gw", "kw", "w", "z", "c", "s", "j"};
const char* const kFinals[] = {"aa", "aai", "aau", "aam", "aan", "aang", "aap", "aat", "aak",
                               "ai", "au", "am", "an", "ang", "e", "ei", "eng", "i", "in",
                               "ing", "o", "oi", "ou", "on", "ong", "u", "ui", "un", "ung",
                               "yu", "yun", "oe", "eoi", "eon"};

std::string Utf8Of(const wchar_t* s)
{
    int n = WideCharToMultiByte(CP_UTF8, 0, s, -1, nullptr, 0, nullptr, nullptr);
    std::string out(n, '\0');
    WideCharToMultiByte(CP_UTF8, 0, s, -1, out.data(), n, nullptr, nullptr);
    out.resize(n - 1);
    return out;
}

}  // namespace

bool WriteDictionaryFile(const wchar_t* path, int rows)
{
    DeleteFileW(path);
    sqlite3* db = nullptr;
    if (sqlite3_open(Utf8Of(path).c_str(), &db) != SQLITE_OK) {
        sqlite3_close(db);
        return false;
    }
    bool ok = sqlite3_exec(db,
                           "CREATE TABLE cantonesePhonetic(id INTEGER PRIMARY KEY, "
                           "Character TEXT NOT NULL, Phonetic TEXT NOT NULL);"
                           "BEGIN;",
                           nullptr, nullptr, nullptr) == SQLITE_OK;
    sqlite3_stmt* insert = nullptr;
    ok = ok && sqlite3_prepare_v2(db, "INSERT INTO cantonesePhonetic VALUES(?, ?, ?)", -1,
                                  &insert, nullptr) == SQLITE_OK;
    const int cjkCount = 0x9FFF - 0x4E00 + 1;
    for (int i = 0; ok && i < rows; ++i) {
        wchar_t ch[2] = {wchar_t(0x4E00 + i % cjkCount), 0};
        std::string spelling = std::string(kInitials[i % 19]) + kFinals[(i / 19) % 34] +
                               char('1' + i % 6);
        std::string character = Utf8Of(ch);
        sqlite3_bind_int(insert, 1, i + 1);
        sqlite3_bind_text(insert, 2, character.c_str(), -1, SQLITE_TRANSIENT);
        sqlite3_bind_text(insert, 3, spelling.c_str(), -1, SQLITE_TRANSIENT);
        ok = sqlite3_step(insert) == SQLITE_DONE;
        sqlite3_reset(insert);
    }
    sqlite3_finalize(insert);
    ok = ok && sqlite3_exec(db, "COMMIT;", nullptr, nullptr, nullptr) == SQLITE_OK;
    sqlite3_close(db);
    return ok;
}
