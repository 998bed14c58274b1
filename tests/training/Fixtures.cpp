#include "Fixtures.h"

#include "support/WavBytes.h"

#include <windows.h>

#include <cstdint>
#include <stdexcept>
#include <vector>

namespace {

const wchar_t kDictionaryPath[] = L"C:\\WINDOWS\\system32\\abc.mp3";
const wchar_t kInstallDir[] = L"C:\\Program Files\\Lorvane";
const wchar_t kSoundDir[] = L"C:\\Program Files\\Lorvane\\sound";

void WriteFileBytes(const std::wstring& path, const std::vector<uint8_t>& bytes)
{
    HANDLE h = CreateFileW(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_ALWAYS,
                           FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE)
        throw std::runtime_error("cannot write a fixture file");
    DWORD written = 0;
    WriteFile(h, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    CloseHandle(h);
    if (written != bytes.size())
        throw std::runtime_error("short write of a fixture file");
}

std::vector<uint8_t> Encode(const std::wstring& text, Encoding encoding)
{
    std::vector<uint8_t> out;
    auto multiByte = [&](UINT codePage) {
        const int n = WideCharToMultiByte(codePage, 0, text.data(), static_cast<int>(text.size()), nullptr, 0,
                                          nullptr, nullptr);
        std::string s(n, '\0');
        WideCharToMultiByte(codePage, 0, text.data(), static_cast<int>(text.size()), s.data(), n, nullptr,
                            nullptr);
        out.insert(out.end(), s.begin(), s.end());
    };
    switch (encoding) {
    case Encoding::Utf16LeBom:
        out = {0xFF, 0xFE};
        for (wchar_t c : text) {
            out.push_back(static_cast<uint8_t>(c));
            out.push_back(static_cast<uint8_t>(c >> 8));
        }
        break;
    case Encoding::Utf16BeBom:
        out = {0xFE, 0xFF};
        for (wchar_t c : text) {
            out.push_back(static_cast<uint8_t>(c >> 8));
            out.push_back(static_cast<uint8_t>(c));
        }
        break;
    case Encoding::Utf8Bom:
        out = {0xEF, 0xBB, 0xBF};
        multiByte(CP_UTF8);
        break;
    case Encoding::Utf8:
        multiByte(CP_UTF8);
        break;
    case Encoding::Ansi:
        multiByte(936);  // the Chinese ANSI code page the program runs under
        break;
    }
    return out;
}

}  // namespace

// Spellings end in their tone digit. 行 comes twice: only its first row counts.
const std::vector<DictRow>& GameDictionary()
{
    static const std::vector<DictRow> rows = {
        {L"你", L"nei5"}, {L"好", L"hou2"}, {L"我", L"ngo5"}, {L"們", L"mun4"}, {L"们", L"mun4"},
        {L"行", L"hang4"}, {L"天", L"tin1"}, {L"a", L"A1"},   {L"行", L"hong4"}, {L"一", L"jat1"},
    };
    return rows;
}

void WriteDictionary(const std::vector<DictRow>& rows)
{
    test_support::RewriteDictionary(kDictionaryPath, rows);
}

void RemoveDictionary()
{
    DeleteFileW(kDictionaryPath);
}

void PrintTo(Encoding encoding, std::ostream* os)
{
    const char* names[] = {"UTF-16LE with BOM", "UTF-16BE with BOM", "UTF-8 with BOM", "UTF-8", "ANSI (936)"};
    *os << names[static_cast<int>(encoding)];
}

std::wstring PracticePath()
{
    return std::wstring(kInstallDir) + L"\\xunlian.txt";
}

void WritePracticeText(const std::wstring& text, Encoding encoding)
{
    CreateDirectoryW(kInstallDir, nullptr);
    WriteFileBytes(PracticePath(), Encode(text, encoding));
}

void RemovePracticeText()
{
    DeleteFileW(PracticePath().c_str());
}

void WriteAnswerSounds(int ms)
{
    CreateDirectoryW(kInstallDir, nullptr);
    CreateDirectoryW(kSoundDir, nullptr);
    const std::string wav = test_support::PcmWav(ms, 8000, test_support::Sound::Silence);
    const std::vector<uint8_t> file(wav.begin(), wav.end());
    for (const wchar_t* name : {L"\\ok.wav", L"\\ng.wav"})
        WriteFileBytes(std::wstring(kSoundDir) + name, file);
}
