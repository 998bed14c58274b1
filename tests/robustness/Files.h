// What the program reads at its fixed paths, written (or taken away, locked,
// broken) by the robustness tests. Whatever stood there before the test program
// ran is put back when it ends.
#pragma once

#include <windows.h>

#include "support/MessageBoxes.h"

#include <initializer_list>
#include <string>

namespace robustness {

struct Row {
    const wchar_t* character;
    const wchar_t* phonetic;
};

// The bytes of a well-formed dictionary file holding exactly these rows.
std::string DictionaryImage(std::initializer_list<Row> rows);
// The bytes of a dictionary file made by running `sql` in an empty database.
std::string DictionaryImageSql(const char* sql);
// 你 nei5, 好 hou2, 们 mun4, 学 hok6, 习 zaap6.
std::string StandardDictionary();

// Puts `bytes` at the dictionary path and connects the training game's dictionary
// again, as the program does at start-up with that file (its box, if any, counts).
void UseDictionary(const std::string& bytes);

std::wstring DictionaryPath();
std::wstring PracticePath();
std::wstring VideoPath();
std::wstring SoundPath(const std::wstring& name);  // name with ".wav"

void WriteBytes(const std::wstring& path, const std::string& bytes);
void RemovePath(const std::wstring& path);  // a file or an empty folder

// UTF-16LE with its byte-order mark, as Notepad saves "Unicode".
std::string Utf16Le(const std::wstring& text);
using ::Utf8;   // the test support's

// A short PCM recording: SoundDir\<name>.
void WriteWav(const std::wstring& name, int ms);

// Holds a file open with no sharing, as an editor or virus scanner may.
class ExclusiveLock {
public:
    explicit ExclusiveLock(const std::wstring& path);
    ~ExclusiveLock();
    ExclusiveLock(const ExclusiveLock&) = delete;
    ExclusiveLock& operator=(const ExclusiveLock&) = delete;
    bool Held() const { return m_h != INVALID_HANDLE_VALUE; }

private:
    HANDLE m_h;
};

}  // namespace robustness
