// A dictionary-shaped SQLite file for measuring when the real one is not built:
// cantonesePhonetic (id, Character, Phonetic) with distinct CJK characters.
#pragma once

#include <string>

// Makes path (replacing it) with `rows` rows; false with *error set on failure.
bool MakeSyntheticDictionary(const std::wstring& path, int rows, std::string* error);
