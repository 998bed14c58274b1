// Dictionary files for the tests: the table cantonesePhonetic (id, character,
// phonetic) in a real SQLite file, as the program reads it.
#pragma once

#include <string>
#include <vector>

namespace test_support {

struct DictRow {
    const wchar_t* character;
    const wchar_t* phonetic;
};

// Makes cantonesePhonetic in the file at `path` hold exactly these rows, in this
// order (ids from 1). The program's connections may hold the file open, so the
// file is never replaced: the table is dropped and made again in place.
// Throws std::runtime_error with SQLite's reason.
void RewriteDictionary(const std::wstring& path, const std::vector<DictRow>& rows);

// Drops the table and runs `sql` in the file instead (tables of another shape, or none).
void RewriteDictionarySql(const std::wstring& path, const char* sql);

}  // namespace test_support
