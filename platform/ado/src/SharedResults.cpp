#include "SharedResults.h"
#include "SqliteFile.h"

#include <ado.h>

#include <cstring>
#include <new>
#include <vector>

namespace ado::detail {
namespace {

// Larger files are not shared: hashing them could cost more than reading a query.
constexpr std::uint64_t kMaxHashedSize = 32u << 20;

struct FileIdentity {
    std::wstring path;   // full path
    std::uint64_t size = 0;
    std::uint64_t lastWrite = 0;
    std::uint64_t hash = 0;
    bool operator==(const FileIdentity&) const = default;
};

std::uint64_t Mix(std::uint64_t h, std::uint64_t word)
{
    h ^= word * 0x9E3779B97F4A7C15ull;
    h = (h << 31) | (h >> 33);
    return h * 0xC2B2AE3D27D4EB4Full;
}

// Reads the whole file and hashes it. False when it cannot be read, changes size
// while it is read or is too large.
bool IdentifyFile(const std::wstring& path, FileIdentity* id)
{
    wchar_t full[MAX_PATH * 4];
    const DWORD n = GetFullPathNameW(path.c_str(), MAX_PATH * 4, full, nullptr);
    if (n == 0 || n >= MAX_PATH * 4)
        return false;
    id->path.assign(full, n);
    HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                              nullptr, OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    BY_HANDLE_FILE_INFORMATION info;
    bool ok = GetFileInformationByHandle(file, &info) != FALSE;
    if (ok) {
        id->size = (std::uint64_t{info.nFileSizeHigh} << 32) | info.nFileSizeLow;
        id->lastWrite = (std::uint64_t{info.ftLastWriteTime.dwHighDateTime} << 32) | info.ftLastWriteTime.dwLowDateTime;
        ok = id->size <= kMaxHashedSize;
    }
    std::uint64_t h = id->size;
    std::uint64_t total = 0;
    std::vector<unsigned char> buffer;
    try {
        buffer.resize(64 * 1024);   // measured: faster than one read of the whole file, or a mapping
    } catch (const std::bad_alloc&) {
        ok = false;
    }
    while (ok) {
        DWORD got = 0;
        if (!ReadFile(file, buffer.data(), static_cast<DWORD>(buffer.size()), &got, nullptr)) {
            ok = false;
            break;
        }
        if (got == 0)
            break;
        total += got;
        // Whole words; a short tail padded with zeros (the size is in the hash).
        const unsigned char* data = buffer.data();
        DWORD i = 0;
        for (; i + 8 <= got; i += 8) {
            std::uint64_t word;
            std::memcpy(&word, data + i, 8);   // a fixed size: one load, not a call
            h = Mix(h, word);
        }
        if (i < got) {
            std::uint64_t word = 0;
            std::memcpy(&word, data + i, got - i);
            h = Mix(h, word);
        }
    }
    CloseHandle(file);
    id->hash = h;
    return ok && total == id->size;
}

struct Entry {
    FileIdentity file;
    std::wstring sql;
    std::weak_ptr<const ResultTable> table;
    const ResultTable* raw;   // tells an entry from its successor once the weak pointer has expired
};

// Never destroyed: recordsets held by static objects let go of their tables during
// the program's exit, in an order no destructor here could be sure to follow.
struct Shelf {
    SRWLOCK lock = SRWLOCK_INIT;
    std::vector<Entry> entries;
};

Shelf& TheShelf()
{
    static Shelf* shelf = new Shelf;
    return *shelf;
}

class ExclusiveLock {
public:
    explicit ExclusiveLock(SRWLOCK* lock) : m_lock(lock) { AcquireSRWLockExclusive(m_lock); }
    ~ExclusiveLock() { ReleaseSRWLockExclusive(m_lock); }
    ExclusiveLock(const ExclusiveLock&) = delete;
    ExclusiveLock& operator=(const ExclusiveLock&) = delete;

private:
    SRWLOCK* m_lock;
};

SharedTable Find(const FileIdentity& file, const std::wstring& sql)
{
    Shelf& shelf = TheShelf();
    ExclusiveLock hold(&shelf.lock);
    for (const Entry& e : shelf.entries)
        if (e.file == file && e.sql == sql)
            if (SharedTable table = e.table.lock())
                return table;
    return nullptr;
}

void Forget(const ResultTable* table)
{
    Shelf& shelf = TheShelf();
    ExclusiveLock hold(&shelf.lock);
    std::erase_if(shelf.entries, [table](const Entry& e) { return e.raw == table; });
}

// The table, now held for sharing; the one already held if another recordset got there first.
SharedTable Share(const FileIdentity& file, const std::wstring& sql, std::unique_ptr<ResultTable> fresh)
{
    const ResultTable* raw = fresh.get();
    SharedTable table(fresh.release(), [](const ResultTable* t) {
        Forget(t);
        delete t;
    });
    Shelf& shelf = TheShelf();
    ExclusiveLock hold(&shelf.lock);
    for (Entry& e : shelf.entries)
        if (e.file == file && e.sql == sql) {
            if (SharedTable held = e.table.lock())
                return held;   // ours goes once the lock is let go (its Forget finds nothing)
            e.table = table;
            e.raw = raw;
            return table;
        }
    try {
        shelf.entries.push_back(Entry{file, sql, table, raw});
    } catch (const std::bad_alloc&) {
        // Not shared, still good.
    }
    return table;
}

// The rows of sql: those on the shelf for the same query on the same unchanged file,
// or else read now (and put on the shelf when they follow from the file alone).
SharedTable ReadOrShare(sqlite3* db, const std::wstring& path, const std::wstring& sql, std::wstring* error)
{
    FileIdentity before;
    const bool identified = IdentifyFile(path, &before);
    if (identified)
        if (SharedTable table = Find(before, sql))
            return table;

    auto fresh = std::make_unique<ResultTable>();
    bool onlyFromFile = false;
    if (!ReadQuery(db, path, sql, fresh.get(), &onlyFromFile, error))
        return nullptr;
    FileIdentity after;
    if (identified && onlyFromFile && IdentifyFile(path, &after) && after == before)
        return Share(before, sql, std::move(fresh));
    return SharedTable(std::move(fresh));
}

}  // namespace

SharedTable ReadRows(sqlite3* db, const std::wstring& path, const std::wstring& sql, std::wstring* error)
{
    return ReadOrShare(db, path, sql, error);
}

}  // namespace ado::detail

namespace ado {

size_t SharedResultCount()
{
    detail::Shelf& shelf = detail::TheShelf();
    detail::ExclusiveLock hold(&shelf.lock);
    size_t count = 0;
    for (const detail::Entry& e : shelf.entries)
        count += !e.table.expired();
    return count;
}

}  // namespace ado
