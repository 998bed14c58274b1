// Writes a dictionary file of the program's format for the benchmark.
#pragma once

// Creates (replacing) an SQLite file at `path` holding the table cantonesePhonetic with
// `rows` rows: id, one CJK character, a spelling ending in a tone digit. Characters
// repeat once the CJK block is used up, as a dictionary with several readings does.
bool WriteDictionaryFile(const wchar_t* path, int rows);
