// Fixtures at the program's fixed paths: the dictionary file and recordings in
// the sound folder. The program reads them exactly as it would read installed
// data. Whatever stood there before this test program ran comes back when it
// ends, so a prefix with the real data installed keeps it.
#pragma once

#include "support/DictionaryFile.h"

#include <initializer_list>
#include <optional>
#include <string>
#include <utility>
#include <vector>

using test_support::DictRow;

// Makes the table cantonesePhonetic (id, character, spelling) hold exactly
// these rows, in this order, in C:\WINDOWS\system32\abc.mp3.
void WriteDictionary(std::initializer_list<DictRow> rows);

// Drops the table and runs SQL text of one's own (for tables of another shape,
// or none at all).
void WriteDictionarySql(const char* sql);

// The path the program forms for a spelling: SoundDir + spelling + ".wav".
std::wstring RecordingPath(const std::wstring& spelling);

// Recordings written for one test: 16-bit mono PCM tones of a given length.
// Files they replaced are put back, and new ones removed, on destruction.
class TestRecordings {
public:
    TestRecordings() = default;
    ~TestRecordings();
    TestRecordings(const TestRecordings&) = delete;
    TestRecordings& operator=(const TestRecordings&) = delete;

    void Write(const std::wstring& spelling, int ms);

private:
    std::vector<std::pair<std::wstring, std::optional<std::string>>> m_replaced;
};
