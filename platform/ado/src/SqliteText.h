// The text conversions of the SQLite reader. Standard C++ only, so that the fuzz
// build (native, on Linux) calls these very functions.
#pragma once

#include <cstddef>
#include <string>

namespace ado::detail {

// The UTF-8 path of a file as an SQLite URI that opens it immutable: SQLite then
// takes no locks and makes no files beside it. (A read-only open of a database in
// WAL mode would otherwise create its -wal and -shm files next to it.)
std::string ImmutableUri(const std::string& utf8Path);

// Decodes UTF-8 text into out (room for `size` units) as SQLite's own conversion to
// UTF-16 would, for the text it converts without a change: ASCII and well-formed
// sequences of two and three bytes. Anything else (four-byte sequences, malformed
// bytes, U+FFFE and U+FFFF, which SQLite replaces) returns -1 and is left to SQLite.
// Returns the number of UTF-16 units written.
std::ptrdiff_t DecodeUtf8(const unsigned char* in, std::size_t size, wchar_t* out);

}  // namespace ado::detail
