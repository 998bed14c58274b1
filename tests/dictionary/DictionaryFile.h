// The dictionary at its fixed path, C:\WINDOWS\system32\abc.mp3, made for one test:
// whatever was there is put aside and comes back afterwards.
#pragma once

#include <string>

class DictionaryFile {
public:
    static const wchar_t kPath[];

    DictionaryFile();   // no dictionary at all until Make
    ~DictionaryFile();

    // An SQLite file made by running sql.
    void Make(const char* sql);
    // The table cantonesePhonetic (id, Character, Phonetic) holding rows, e.g.
    // "(1, '你', 'nei5'), (2, '好', 'hou2')".
    void MakeTable(const char* rows);

private:
    bool m_putAside = false;
};
