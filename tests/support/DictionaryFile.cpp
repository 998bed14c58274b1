#include "support/DictionaryFile.h"

#include <sqlite3.h>

#include <stdexcept>

namespace test_support {

const wchar_t kDictionaryPath[] = L"C:\\WINDOWS\\system32\\abc.mp3";

namespace {

void Check(int rc, sqlite3* db, const std::string& what)
{
    if (rc != SQLITE_OK && rc != SQLITE_DONE && rc != SQLITE_ROW)
        throw std::runtime_error(what + ": " + sqlite3_errmsg(db));
}

// Runs fill on an empty database in memory and returns the database's bytes.
template <class Fill>
std::string Image(Fill fill)
{
    sqlite3* db = nullptr;
    try {
        Check(sqlite3_open(":memory:", &db), db, "open a database in memory");
        fill(db);
    } catch (...) {
        sqlite3_close(db);
        throw;
    }
    sqlite3_int64 size = 0;
    unsigned char* data = sqlite3_serialize(db, "main", &size, 0);
    std::string bytes(reinterpret_cast<const char*>(data), static_cast<size_t>(size));
    sqlite3_free(data);
    sqlite3_close(db);
    return bytes;
}

}  // namespace

std::string DatabaseImage(const std::string& sql)
{
    return Image([&](sqlite3* db) { Check(sqlite3_exec(db, sql.c_str(), nullptr, nullptr, nullptr), db, sql); });
}

std::string DictionaryImage(const std::vector<DictRow>& rows)
{
    return Image([&](sqlite3* db) {
        Check(sqlite3_exec(db, "CREATE TABLE cantonesePhonetic (id INTEGER PRIMARY KEY, character TEXT, phonetic TEXT);",
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
            if (rc != SQLITE_DONE) {
                sqlite3_finalize(insert);
                Check(rc, db, "insert row");
            }
        }
        sqlite3_finalize(insert);
    });
}

std::string SyntheticDictionarySql(int rows)
{
    return "CREATE TABLE cantonesePhonetic (id INTEGER PRIMARY KEY, Character TEXT NOT NULL, Phonetic TEXT NOT NULL);"
           "WITH RECURSIVE n(i) AS (SELECT 0 UNION ALL SELECT i + 1 FROM n WHERE i < " +
           std::to_string(rows - 1) +
           ") INSERT INTO cantonesePhonetic"
           " SELECT i + 1, char(CASE WHEN i < 20992 THEN 0x4E00 + i ELSE 0x3400 + i - 20992 END),"
           " 'jyut' || (i % 6 + 1) FROM n;";
}

}  // namespace test_support
