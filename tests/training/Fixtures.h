// What the training page reads at its fixed paths, written by the tests: the
// dictionary, the practice text and the answer sounds.
#pragma once

#include "support/DictionaryFile.h"

#include <ostream>
#include <string>
#include <vector>

using test_support::DictRow;

// The dictionary the tests play with (see Fixtures.cpp).
const std::vector<DictRow>& GameDictionary();

// Makes cantonesePhonetic in C:\WINDOWS\system32\abc.mp3 hold exactly these rows, in order.
void WriteDictionary(const std::vector<DictRow>& rows);
// Deletes the dictionary file.
void RemoveDictionary();

// Encodings a user's editor may save the practice text in.
enum class Encoding { Utf16LeBom, Utf16BeBom, Utf8Bom, Utf8, Ansi };
void PrintTo(Encoding encoding, std::ostream* os);

// Writes C:\Program Files\Lorvane\xunlian.txt.
void WritePracticeText(const std::wstring& text, Encoding encoding = Encoding::Utf16LeBom);
void RemovePracticeText();
std::wstring PracticePath();

// Writes SoundDir\ok.wav and ng.wav: short silent PCM files of `ms` milliseconds.
void WriteAnswerSounds(int ms);
