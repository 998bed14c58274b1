#include "SyntheticDictionary.h"

#include <windows.h>

#include <sqlite3.h>

bool MakeSyntheticDictionary(const std::wstring& path, int rows, std::string* error)
{
    DeleteFileW(path.c_str());
    const int n = WideCharToMultiByte(CP_UTF8, 0, path.c_str(), -1, nullptr, 0, nullptr, nullptr);
    std::string utf8(n, '\0');
    WideCharToMultiByte(CP_UTF8, 0, path.c_str(), -1, utf8.data(), n, nullptr, nullptr);
    sqlite3* db = nullptr;
    if (sqlite3_open_v2(utf8.c_str(), &db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr) != SQLITE_OK) {
        *error = sqlite3_errmsg(db);
        sqlite3_close(db);
        return false;
    }
    // Characters from U+4E00 on (CJK Unified Ideographs and Extension A), spellings
    // of dictionary length with a tone digit.
    const std::string sql =
        "CREATE TABLE cantonesePhonetic (id INTEGER PRIMARY KEY, Character TEXT NOT NULL, Phonetic TEXT NOT NULL);"
        "WITH RECURSIVE n(i) AS (SELECT 0 UNION ALL SELECT i + 1 FROM n WHERE i < " + std::to_string(rows - 1) + ")"
        " INSERT INTO cantonesePhonetic"
        " SELECT i + 1, char(CASE WHEN i < 20992 THEN 0x4E00 + i ELSE 0x3400 + i - 20992 END),"
        " 'jyut' || (i % 6 + 1) FROM n;";
    char* message = nullptr;
    const bool ok = sqlite3_exec(db, sql.c_str(), nullptr, nullptr, &message) == SQLITE_OK;
    if (!ok)
        *error = message ? message : "?";
    sqlite3_free(message);
    sqlite3_close(db);
    return ok;
}
