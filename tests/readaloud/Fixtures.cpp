#include "Fixtures.h"

#include "support/DictionaryFile.h"
#include "support/FileBytes.h"
#include "support/WavBytes.h"

#include <windows.h>


#include <cmath>
#include <cstdint>
#include <stdexcept>

namespace {

const wchar_t kDictionaryPath[] = L"C:\\WINDOWS\\system32\\abc.mp3";
const wchar_t kInstallDir[] = L"C:\\Program Files\\Lorvane\\";
const wchar_t kSoundDir[] = L"C:\\Program Files\\Lorvane\\sound\\";

bool WriteWholeFile(const std::wstring& path, const std::string& bytes)
{
    HANDLE h = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE)
        return false;
    DWORD written = 0;
    WriteFile(h, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    CloseHandle(h);
    return written == bytes.size();
}

// Keeps the dictionary file that was there before this program started and puts
// it back at exit, after the program's own static dictionary object is gone.
// Constructed after the message-box answerer (1500) and before the program's
// static dictionary connects (2001), which then finds a table to open.
struct DictionaryKeeper {
    std::optional<std::string> original;

    DictionaryKeeper()
    {
        original = test_support::ReadFileBytes(kDictionaryPath);
        try {
            WriteDictionary({{L"你", L"nei5"}, {L"好", L"hou2"}});
        } catch (const std::exception&) {
            // The tests that need it will report the failure.
        }
    }
    ~DictionaryKeeper()
    {
        if (original)
            WriteWholeFile(kDictionaryPath, *original);
        else
            DeleteFileW(kDictionaryPath);
    }
};

DictionaryKeeper keeper __attribute__((init_priority(1600)));

}  // namespace

void WriteDictionary(std::initializer_list<DictRow> rows)
{
    test_support::RewriteDictionary(kDictionaryPath, rows);
}

void WriteDictionarySql(const char* sql)
{
    test_support::RewriteDictionarySql(kDictionaryPath, sql);
}

std::wstring RecordingPath(const std::wstring& spelling)
{
    return kSoundDir + spelling + L".wav";
}

void TestRecordings::Write(const std::wstring& spelling, int ms)
{
    CreateDirectoryW(kInstallDir, nullptr);
    CreateDirectoryW(kSoundDir, nullptr);

    const std::string file = test_support::PcmWav(ms);

    const std::wstring path = RecordingPath(spelling);
    bool known = false;
    for (const auto& [replacedPath, bytes] : m_replaced)
        known = known || replacedPath == path;
    if (!known)
        m_replaced.emplace_back(path, test_support::ReadFileBytes(path));
    if (!WriteWholeFile(path, file))
        throw std::runtime_error("cannot write a recording");
}

TestRecordings::~TestRecordings()
{
    for (const auto& [path, bytes] : m_replaced) {
        if (bytes)
            WriteWholeFile(path, *bytes);
        else
            DeleteFileW(path.c_str());
    }
}
