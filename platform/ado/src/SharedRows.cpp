#include "SharedRows.h"
#include "SqliteFile.h"

#include <new>
#include <vector>

namespace ado::detail {
namespace {

struct Key {
    std::wstring path;   // full path
    std::uint64_t size = 0;
    std::uint64_t written = 0;
    std::wstring sql;
    bool operator==(const Key&) const = default;
};

// False when the file cannot be told: its rows are then not shared.
bool KeyOf(const std::wstring& path, const std::wstring& sql, Key* key)
{
    wchar_t full[MAX_PATH * 4];
    const DWORD n = GetFullPathNameW(path.c_str(), MAX_PATH * 4, full, nullptr);
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (n == 0 || n >= MAX_PATH * 4 || !GetFileAttributesExW(full, GetFileExInfoStandard, &data))
        return false;
    key->path.assign(full, n);
    key->size = (std::uint64_t{data.nFileSizeHigh} << 32) | data.nFileSizeLow;
    key->written = (std::uint64_t{data.ftLastWriteTime.dwHighDateTime} << 32) | data.ftLastWriteTime.dwLowDateTime;
    key->sql = sql;
    return true;
}

struct Held {
    Key key;
    std::weak_ptr<const ResultTable> rows;
};

std::vector<Held> g_held;

}  // namespace

SharedRows ReadRows(sqlite3* db, const std::wstring& path, const std::wstring& sql, std::wstring* error)
{
    try {
        std::erase_if(g_held, [](const Held& h) { return h.rows.expired(); });
        Key key;
        const bool known = KeyOf(path, sql, &key);
        if (known)
            for (const Held& h : g_held)
                if (h.key == key)
                    return h.rows.lock();
        auto rows = std::make_shared<ResultTable>();
        bool onlyFromFile = false;
        if (!ReadQuery(db, path, sql, rows.get(), &onlyFromFile, error))
            return nullptr;
        if (known && onlyFromFile)
            g_held.push_back(Held{std::move(key), rows});
        return rows;
    } catch (const std::bad_alloc&) {
        *error = L"内存不足，无法读取查询“" + sql + L"”的结果。";
        return nullptr;
    }
}

}  // namespace ado::detail
