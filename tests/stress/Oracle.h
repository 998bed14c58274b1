// What the dictionary file holds, read with SQLite directly: the answer the ADO
// objects and the look-up must agree with.
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace stress {

struct OracleRow {
    std::optional<std::wstring> character;  // column 1 when it is text
    std::optional<std::wstring> phonetic;   // column 2 when it is text
};

struct OracleView {
    bool readable = false;  // the file opens and the program's query reads to its end
    int columns = 0;        // of the query, when readable
    std::vector<OracleRow> rows;

    // The program can look characters up: readable, with columns 1 and 2.
    bool Usable() const { return readable && columns >= 3; }
    // The first row whose column 1 is exactly ch: its spelling ("" when column 2 is
    // not text). Nothing when no row has it or the table is not usable.
    std::optional<std::wstring> Lookup(const std::wstring& ch) const;
};

// Reads `path` read-only and immutable (an ASCII path): a missing, empty, locked or
// folder path, a file that is not a database, or a query that fails on the way
// gives readable == false.
OracleView ReadWithSqlite(const std::wstring& path);

}  // namespace stress
