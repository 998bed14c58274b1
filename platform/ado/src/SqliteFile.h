// The SQLite side: a database file opened strictly read-only, and queries read
// into a ResultTable. Failures come back as text for the user: what went wrong in
// Chinese, the file or query concerned, and SQLite's own words.
#pragma once

#include "ResultTable.h"
#include <string>

struct sqlite3;

namespace ado::detail {

// Opens path read-only; the file is never created or written, and nothing is
// created beside it. The file is taken as it is on disk: a journal or WAL file left
// beside it by a writer is not consulted (a dictionary is written whole, elsewhere,
// and replaced). Null with *error set when it is missing, unreadable, empty or not
// an SQLite database.
sqlite3* OpenDatabaseReadOnly(const std::wstring& path, std::wstring* error);

void CloseDatabase(sqlite3* db);

// Runs one read-only statement and keeps every row in table. *onlyFromFile tells
// whether the rows follow from the file's contents alone (the statement only selects
// and reads columns), so that another reading of the same file would give them again.
bool ReadQuery(sqlite3* db, const std::wstring& path, const std::wstring& sql, ResultTable* table,
               bool* onlyFromFile, std::wstring* error);

}  // namespace ado::detail
