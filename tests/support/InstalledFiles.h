// The files the program reads at its fixed paths (the dictionary, the recordings,
// the practice text, the video), written, removed or spoilt by tests and
// benchmarks. Every path touched here gets back what stood there before the test
// program ran, at its exit, after the program's own static objects have let go of it.
#pragma once

#include "support/DictionaryFile.h"
#include "support/WavBytes.h"

#include <ostream>
#include <string>
#include <vector>

namespace test_support {

// The program's fixed places, as the tests expect them.
std::wstring SoundFolder();                                // C:\Program Files\Lorvane\sound with its "\"
std::wstring RecordingPath(const std::wstring& spelling);  // SoundFolder() + spelling + ".wav"
std::wstring PracticePath();                               // C:\Program Files\Lorvane\xunlian.txt
std::wstring VideoPath();                                  // C:\Program Files\Lorvane\yueyupinying.wmv

// The dictionary's table holds exactly these rows, in this order.
void WriteDictionary(const std::vector<DictRow>& rows);
// The dictionary file is the database that `sql` makes (tables of another shape, or none).
void WriteDictionarySql(const std::string& sql);
void RemoveDictionary();

// SoundDir\<spelling>.wav, `ms` long.
void WriteRecording(const std::wstring& spelling, int ms, Sound sound = Sound::Tone);

// Encodings a user's editor may save the practice text in.
enum class Encoding { Utf16LeBom, Utf16BeBom, Utf8Bom, Utf8, Ansi };
void PrintTo(Encoding encoding, std::ostream* os);
void WritePracticeText(const std::wstring& text, Encoding encoding = Encoding::Utf16LeBom);
void RemovePracticeText();

// Any of the program's paths: these bytes, or nothing there (a file or an empty folder).
// Writing throws std::runtime_error when the file cannot be written.
void WriteInstalledFile(const std::wstring& path, const std::string& bytes);
void RemoveInstalledFile(const std::wstring& path);

// A test program's files at start-up: `write` runs before the program's static
// objects are made (its dictionary connects as it is made) and before main().
// Construct one with init_priority(1700).
struct StartFiles {
    explicit StartFiles(void (*write)());
};

}  // namespace test_support
