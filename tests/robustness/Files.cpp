#include "Files.h"

#include "support/FileBytes.h"
#include "support/WavBytes.h"

#include <sqlite3.h>

#include <cmath>
#include <cstdint>
#include <map>
#include <optional>
#include <stdexcept>

#include "resources/Paths.h"
#include "training/GameState.h"

namespace robustness {
namespace {

const wchar_t kDictionaryPath[] = L"C:\\WINDOWS\\system32\\abc.mp3";

void Exec(sqlite3* db, const char* sql)
{
    if (sqlite3_exec(db, sql, nullptr, nullptr, nullptr) != SQLITE_OK)
        throw std::runtime_error(std::string(sql) + ": " + sqlite3_errmsg(db));
}

template <class Fill>
std::string MakeImage(Fill fill)
{
    sqlite3* db = nullptr;
    sqlite3_open(":memory:", &db);
    fill(db);
    sqlite3_int64 size = 0;
    unsigned char* data = sqlite3_serialize(db, "main", &size, 0);
    std::string bytes(reinterpret_cast<const char*>(data), static_cast<size_t>(size));
    sqlite3_free(data);
    sqlite3_close(db);
    return bytes;
}

// Every path a test touches keeps its first content, put back at exit: after
// the program's static dictionary object has gone (it is destroyed first, being
// constructed later).
class Keeper {
public:
    Keeper()
    {
        // The game's dictionary connects at start-up (2001): it finds a good file.
        Remember(kDictionaryPath);
        WriteBytes(kDictionaryPath, StandardDictionary());
    }
    ~Keeper()
    {
        for (const auto& [path, bytes] : m_saved) {
            RemovePath(path);
            if (bytes) {
                CreateDirectoryW(kInstallDir, nullptr);
                CreateDirectoryW(kSoundDir, nullptr);
                WriteBytes(path, *bytes);
            }
        }
    }
    void Remember(const std::wstring& path)
    {
        if (!m_saved.count(path))
            m_saved[path] = test_support::ReadFileBytes(path);
    }

private:
    std::map<std::wstring, std::optional<std::string>> m_saved;
};

Keeper g_keeper __attribute__((init_priority(1600)));

}  // namespace

std::string DictionaryImage(std::initializer_list<Row> rows)
{
    return MakeImage([&](sqlite3* db) {
        Exec(db, "CREATE TABLE cantonesePhonetic (id INTEGER PRIMARY KEY, character TEXT, phonetic TEXT)");
        sqlite3_stmt* insert = nullptr;
        sqlite3_prepare_v2(db, "INSERT INTO cantonesePhonetic (character, phonetic) VALUES (?, ?)", -1, &insert,
                           nullptr);
        for (const Row& row : rows) {
            sqlite3_bind_text16(insert, 1, row.character, -1, SQLITE_TRANSIENT);
            sqlite3_bind_text16(insert, 2, row.phonetic, -1, SQLITE_TRANSIENT);
            sqlite3_step(insert);
            sqlite3_reset(insert);
        }
        sqlite3_finalize(insert);
    });
}

std::string DictionaryImageSql(const char* sql)
{
    return MakeImage([&](sqlite3* db) { Exec(db, sql); });
}

std::string StandardDictionary()
{
    return DictionaryImage({{L"你", L"nei5"}, {L"好", L"hou2"}, {L"们", L"mun4"}, {L"学", L"hok6"}, {L"习", L"zaap6"}});
}

void UseDictionary(const std::string& bytes)
{
    WriteBytes(kDictionaryPath, bytes);
    g_db.m_pRecordset = nullptr;
    g_db.m_pConnection = nullptr;
    g_db.Connect();
}

std::wstring DictionaryPath()
{
    return kDictionaryPath;
}

std::wstring PracticePath()
{
    return std::wstring(kInstallDir) + L"xunlian.txt";
}

std::wstring VideoPath()
{
    return std::wstring(kInstallDir) + kVideoName;
}

std::wstring SoundPath(const std::wstring& name)
{
    return kSoundDir + name;
}

void WriteBytes(const std::wstring& path, const std::string& bytes)
{
    g_keeper.Remember(path);
    RemoveDirectoryW(path.c_str());
    HANDLE h = CreateFileW(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_ALWAYS,
                           FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE)
        throw std::runtime_error("cannot write a fixture file");
    DWORD written = 0;
    const BOOL ok = WriteFile(h, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    CloseHandle(h);
    if (!ok || written != bytes.size())
        throw std::runtime_error("short write of a fixture file");
}

void RemovePath(const std::wstring& path)
{
    g_keeper.Remember(path);
    if (!DeleteFileW(path.c_str()))
        RemoveDirectoryW(path.c_str());
}

std::string Utf16Le(const std::wstring& text)
{
    std::string out = "\xFF\xFE";
    for (wchar_t c : text) {
        out.push_back(static_cast<char>(c & 0xFF));
        out.push_back(static_cast<char>(c >> 8));
    }
    return out;
}

void WriteWav(const std::wstring& name, int ms)
{
    CreateDirectoryW(kInstallDir, nullptr);
    CreateDirectoryW(kSoundDir, nullptr);
    const std::string file = test_support::PcmWav(ms);
    WriteBytes(SoundPath(name), file);
}

ExclusiveLock::ExclusiveLock(const std::wstring& path)
    : m_h(CreateFileW(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr))
{
}

ExclusiveLock::~ExclusiveLock()
{
    if (m_h != INVALID_HANDLE_VALUE)
        CloseHandle(m_h);
}

}  // namespace robustness
