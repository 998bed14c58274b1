#include "support/InstalledFiles.h"

#include "support/FileBytes.h"

#include <windows.h>

#include <cstdio>
#include <exception>
#include <map>
#include <optional>

namespace test_support {

namespace {

// The program's fixed places as the tests expect them: written here, not taken from
// the program's constants, so that a changed constant shows.
const wchar_t kInstallDir[] = L"C:\\Program Files\\Lorvane\\";
const wchar_t kSoundDir[] = L"C:\\Program Files\\Lorvane\\sound\\";

void RemoveFileOrFolder(const std::wstring& path)
{
    if (!DeleteFileW(path.c_str()))
        RemoveDirectoryW(path.c_str());
}

void MakeFolders()
{
    CreateDirectoryW(kInstallDir, nullptr);
    CreateDirectoryW(kSoundDir, nullptr);
}

// Keeps the first content of every path touched. Made after the message-box
// answerer (1500) and before the program's static objects (2000 on), so it is
// destroyed after them: nothing of the program holds a file when it is put back.
class Keeper {
public:
    void Remember(const std::wstring& path)
    {
        if (!m_saved.count(path))
            m_saved[path] = ReadFileBytes(path);
    }
    ~Keeper()
    {
        for (const auto& [path, bytes] : m_saved) {
            RemoveFileOrFolder(path);
            if (!bytes)
                continue;
            MakeFolders();
            try {
                WriteFileBytes(path, *bytes);
            } catch (const std::exception& e) {
                std::fprintf(stderr, "cannot put back a file of the program: %s\n", e.what());
            }
        }
    }

private:
    std::map<std::wstring, std::optional<std::string>> m_saved;
};

Keeper g_keeper __attribute__((init_priority(1600)));

std::string Encode(const std::wstring& text, Encoding encoding)
{
    std::string out;
    auto multiByte = [&](UINT codePage) {
        const int n = WideCharToMultiByte(codePage, 0, text.data(), static_cast<int>(text.size()), nullptr, 0,
                                          nullptr, nullptr);
        std::string s(n, '\0');
        WideCharToMultiByte(codePage, 0, text.data(), static_cast<int>(text.size()), s.data(), n, nullptr,
                            nullptr);
        out += s;
    };
    auto utf16 = [&](bool bigEndian) {
        out = bigEndian ? "\xFE\xFF" : "\xFF\xFE";
        for (wchar_t c : text) {
            const char low = static_cast<char>(c & 0xFF), high = static_cast<char>(c >> 8);
            out += bigEndian ? std::string{high, low} : std::string{low, high};
        }
    };
    switch (encoding) {
    case Encoding::Utf16LeBom: utf16(false); break;
    case Encoding::Utf16BeBom: utf16(true); break;
    case Encoding::Utf8Bom:
        out = "\xEF\xBB\xBF";
        multiByte(CP_UTF8);
        break;
    case Encoding::Utf8: multiByte(CP_UTF8); break;
    case Encoding::Ansi: multiByte(936); break;  // the Chinese ANSI code page the program runs under
    }
    return out;
}

}  // namespace

std::wstring SoundFolder()
{
    return kSoundDir;
}

std::wstring RecordingPath(const std::wstring& spelling)
{
    return kSoundDir + spelling + L".wav";
}

std::wstring PracticePath()
{
    return std::wstring(kInstallDir) + L"xunlian.txt";
}

std::wstring VideoPath()
{
    return std::wstring(kInstallDir) + L"yueyupinying.wmv";
}

void WriteInstalledFile(const std::wstring& path, const std::string& bytes)
{
    g_keeper.Remember(path);
    MakeFolders();
    RemoveDirectoryW(path.c_str());  // a test may have left a folder in its place
    WriteFileBytes(path, bytes);
}

void RemoveInstalledFile(const std::wstring& path)
{
    g_keeper.Remember(path);
    RemoveFileOrFolder(path);
}

void WriteDictionary(const std::vector<DictRow>& rows)
{
    WriteInstalledFile(kDictionaryPath, DictionaryImage(rows));
}

void WriteDictionarySql(const std::string& sql)
{
    WriteInstalledFile(kDictionaryPath, DatabaseImage(sql));
}

void RemoveDictionary()
{
    RemoveInstalledFile(kDictionaryPath);
}

void WriteRecording(const std::wstring& spelling, int ms, Sound sound)
{
    WriteInstalledFile(RecordingPath(spelling), PcmWav(ms, 8000, sound));
}

void PrintTo(Encoding encoding, std::ostream* os)
{
    const char* names[] = {"UTF-16LE with BOM", "UTF-16BE with BOM", "UTF-8 with BOM", "UTF-8", "ANSI (936)"};
    *os << names[static_cast<int>(encoding)];
}

void WritePracticeText(const std::wstring& text, Encoding encoding)
{
    WriteInstalledFile(PracticePath(), Encode(text, encoding));
}

void RemovePracticeText()
{
    RemoveInstalledFile(PracticePath());
}

StartFiles::StartFiles(void (*write)())
{
    try {
        write();
    } catch (const std::exception& e) {
        // The tests that need the files report what is missing.
        std::fprintf(stderr, "cannot write the test files: %s\n", e.what());
    }
}

}  // namespace test_support
