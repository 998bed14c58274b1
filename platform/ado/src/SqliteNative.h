// The part of reading a database file that needs nothing of Windows: standard C++ and
// SQLite only, so that the fuzz build (native, on Linux) calls these very functions.
#pragma once

#include <cstddef>
#include <string>

struct sqlite3;

namespace ado::detail {

// Opens the file at utf8Path read-only and immutable (SQLite then takes no locks and
// makes no files beside it; a read-only open of a database in WAL mode would otherwise
// create its -wal and -shm files), and reads its schema, so that a file that is not a
// database, or is cut short, fails here rather than at the first query. Returns
// SQLite's result code; *db is set even on failure (for sqlite3_errmsg) and the caller
// closes it.
int OpenImmutable(const std::string& utf8Path, sqlite3** db);

// Whether the database keeps its text in UTF-8 (else in UTF-16).
bool IsUtf8Database(sqlite3* db);

// Decodes UTF-8 text into out (room for `size` units) as SQLite's own conversion to
// UTF-16 would, for the text it converts without a change: ASCII and well-formed
// sequences of two and three bytes. Anything else (four-byte sequences, malformed
// bytes, U+FFFE and U+FFFF, which SQLite replaces) returns -1 and is left to SQLite.
// Returns the number of UTF-16 units written.
std::ptrdiff_t DecodeUtf8(const unsigned char* in, std::size_t size, wchar_t* out);

}  // namespace ado::detail
