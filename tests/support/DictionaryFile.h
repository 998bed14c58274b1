// Dictionary files for the tests and benchmarks: SQLite databases as the program
// reads them (the table cantonesePhonetic: id, character, spelling), made whole in
// memory and written with WriteFileBytes, or spoilt first.
#pragma once

#include <string>
#include <vector>

namespace test_support {

// Where the program reads its dictionary.
extern const wchar_t kDictionaryPath[];  // C:\WINDOWS\system32\abc.mp3

struct DictRow {
    const wchar_t* character;
    const wchar_t* phonetic;
};

// The bytes of a database made by running `sql` (several statements) in an empty
// one. Throws std::runtime_error with SQLite's reason.
std::string DatabaseImage(const std::string& sql);

// The bytes of a dictionary whose table holds exactly these rows, in this order
// (ids from 1).
std::string DictionaryImage(const std::vector<DictRow>& rows);

// SQL for a dictionary of `rows` rows of the size the goals speak of: every
// ideograph from U+4E00 on (then Extension A), each spelled jyut with a tone digit.
std::string SyntheticDictionarySql(int rows);

}  // namespace test_support
