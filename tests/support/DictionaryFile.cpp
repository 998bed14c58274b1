#include "support/DictionaryFile.h"

#include <sqlite3.h>

#include <stdexcept>

namespace test_support {
namespace {

void Check(int rc, sqlite3* db, const char* what)
{
    if (rc != SQLITE_OK && rc != SQLITE_DONE && rc != SQLITE_ROW)
        throw std::runtime_error(std::string(what) + ": " + sqlite3_errmsg(db));
}

template <class Fill>
void Rewrite(const std::wstring& path, Fill fill)
{
    sqlite3* db = nullptr;
    try {
        Check(sqlite3_open16(path.c_str(), &db), db, "open dictionary");
        sqlite3_busy_timeout(db, 2000);
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

}  // namespace

void RewriteDictionary(const std::wstring& path, const std::vector<DictRow>& rows)
{
    Rewrite(path, [&](sqlite3* db) {
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
                throw std::runtime_error(std::string("insert row: ") + sqlite3_errmsg(db));
            }
        }
        sqlite3_finalize(insert);
    });
}

void RewriteDictionarySql(const std::wstring& path, const char* sql)
{
    Rewrite(path, [&](sqlite3* db) { Check(sqlite3_exec(db, sql, nullptr, nullptr, nullptr), db, sql); });
}

}  // namespace test_support
