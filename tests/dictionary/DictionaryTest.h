// The dictionary at its fixed path, made for each test; what stood there comes back
// when the test program ends.
#pragma once

#include <string>

#include "support/InstalledFiles.h"

using namespace test_support;

// The table cantonesePhonetic (id, Character, Phonetic) holding `rows`, e.g.
// "(1, '你', 'nei5'), (2, '好', 'hou2')".
inline void WriteTable(const char* rows)
{
    WriteDictionarySql(std::string("CREATE TABLE cantonesePhonetic (id INTEGER PRIMARY KEY, Character TEXT, Phonetic TEXT);"
                                   "INSERT INTO cantonesePhonetic VALUES ") +
                       rows + ";");
}
