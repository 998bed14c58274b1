#include "SqliteFile.h"
#include "ComBase.h"
#include "SqliteNative.h"

#include <sqlite3.h>
#include <cstring>
#include <new>

namespace ado::detail {
namespace {

// Looks at the file before SQLite does: SQLite reports all of these as "unable to
// open database file" (after retrying a locked file for a while), and it takes an
// empty file for an empty database.
std::wstring CheckFile(const std::wstring& path)
{
    if (path.empty())
        return L"连接字符串中没有给出数据库文件（Data Source）";
    const DWORD attrs = GetFileAttributesW(path.c_str());
    if (attrs != INVALID_FILE_ATTRIBUTES && (attrs & FILE_ATTRIBUTE_DIRECTORY))
        return L"这是一个文件夹，不是数据库文件";
    HANDLE h = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                           nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE) {
        const DWORD err = GetLastError();
        switch (err) {
        case ERROR_FILE_NOT_FOUND:
        case ERROR_PATH_NOT_FOUND:
        case ERROR_INVALID_NAME:
        case ERROR_INVALID_DRIVE:
        case ERROR_BAD_PATHNAME:
        case ERROR_BAD_NETPATH:
            return L"文件不存在";
        case ERROR_ACCESS_DENIED:
            return L"没有读取这个文件的权限";
        case ERROR_SHARING_VIOLATION:
        case ERROR_LOCK_VIOLATION:
            return L"文件正被其他程序独占使用，暂时无法读取";
        default:
            return L"无法读取这个文件（系统错误 " + std::to_wstring(err) + L"）";
        }
    }
    LARGE_INTEGER size{};
    const BOOL haveSize = GetFileSizeEx(h, &size);
    CloseHandle(h);
    if (haveSize && size.QuadPart == 0)
        return L"文件是空的，里面没有数据库";
    return std::wstring();
}

const wchar_t* Reason(int rc)
{
    switch (rc & 0xff) {
    case SQLITE_NOTADB:   return L"文件不是 SQLite 数据库（格式不对，或者已经损坏）";
    case SQLITE_CORRUPT:  return L"数据库文件已损坏或不完整";
    case SQLITE_CANTOPEN: return L"无法打开文件";
    case SQLITE_BUSY:
    case SQLITE_LOCKED:   return L"数据库正被其他程序锁定";
    case SQLITE_IOERR:    return L"读取文件时出错";
    case SQLITE_NOMEM:    return L"内存不足";
    case SQLITE_READONLY: return L"数据库有一次未完成的写入需要恢复，只读打开时无法恢复";
    case SQLITE_PERM:
    case SQLITE_AUTH:     return L"没有读取权限";
    case SQLITE_ERROR:    return L"查询语句有误，或者所查的表、列不存在";
    default:              return L"数据库引擎报告了错误";
    }
}

std::wstring SqliteSays(sqlite3* db, int rc)
{
    const char* msg = db ? sqlite3_errmsg(db) : sqlite3_errstr(rc);
    return L"（SQLite：" + Utf8ToWide(msg) + L"）";
}

// Appends one value to the table. UTF-8 text is decoded here where SQLite's own
// conversion to UTF-16 would not change it, since SQLite allocates for every value it
// converts; the rest SQLite converts. scratch is the decoding's room, kept between calls.
void AppendCell(sqlite3_stmt* stmt, int column, bool utf8, std::wstring& scratch, ResultTable* table)
{
    switch (sqlite3_column_type(stmt, column)) {
    case SQLITE_INTEGER:
        table->AppendInteger(sqlite3_column_int64(stmt, column));
        return;
    case SQLITE_FLOAT:
        table->AppendReal(sqlite3_column_double(stmt, column));
        return;
    case SQLITE_TEXT: {
        if (utf8) {
            const auto* text = sqlite3_column_text(stmt, column);
            const size_t size = static_cast<size_t>(sqlite3_column_bytes(stmt, column));
            scratch.resize(size);   // UTF-8 never has more UTF-16 units than bytes
            const ptrdiff_t length = text ? DecodeUtf8(text, size, scratch.data()) : 0;
            if (length >= 0) {
                table->AppendText(scratch.data(), static_cast<size_t>(length));
                return;
            }
        }
        const auto* text = static_cast<const wchar_t*>(sqlite3_column_text16(stmt, column));
        table->AppendText(text, text ? static_cast<size_t>(sqlite3_column_bytes16(stmt, column)) / 2 : 0);
        return;
    }
    case SQLITE_BLOB:
        table->AppendBlob(sqlite3_column_blob(stmt, column), static_cast<size_t>(sqlite3_column_bytes(stmt, column)));
        return;
    default:
        table->AppendNull();
    }
}

// Watches a statement being prepared: its result depends on the file's contents
// alone when it only selects and reads columns (no function, which may be random()
// or the time of day, and no pragma, which may report the connection's state).
int NoteWhatIsUsed(void* onlyReads, int action, const char*, const char*, const char*, const char*)
{
    if (action != SQLITE_SELECT && action != SQLITE_READ)
        *static_cast<bool*>(onlyReads) = false;
    return SQLITE_OK;
}

}  // namespace

sqlite3* OpenDatabaseReadOnly(const std::wstring& path, std::wstring* error)
{
    const std::wstring what = L"无法打开数据库文件 " + path + L"：";
    const std::wstring problem = CheckFile(path);
    if (!problem.empty()) {
        *error = what + problem + L"。";
        return nullptr;
    }
    sqlite3* db = nullptr;
    const int rc = OpenImmutable(WideToUtf8(path), &db);
    if (rc != SQLITE_OK) {
        *error = what + Reason(rc) + L"。" + SqliteSays(db, rc);
        sqlite3_close(db);
        return nullptr;
    }
    return db;
}

void CloseDatabase(sqlite3* db)
{
    sqlite3_close(db);
}

bool ReadQuery(sqlite3* db, const std::wstring& path, const std::wstring& sql, ResultTable* table,
               bool* onlyFromFile, std::wstring* error)
{
    const std::wstring what = L"在数据库 " + path + L" 中执行查询“" + sql + L"”失败：";
    const bool utf8 = IsUtf8Database(db);
    sqlite3_stmt* stmt = nullptr;
    *onlyFromFile = true;
    sqlite3_set_authorizer(db, NoteWhatIsUsed, onlyFromFile);
    int rc = sqlite3_prepare16_v2(db, sql.c_str(), static_cast<int>(sql.size() * sizeof(wchar_t)), &stmt,
                                  nullptr);
    sqlite3_set_authorizer(db, nullptr, nullptr);
    if (rc != SQLITE_OK) {
        *error = what + Reason(rc) + L"。" + SqliteSays(db, rc);
        return false;
    }
    if (!stmt) {
        *error = what + L"查询语句是空的。";
        return false;
    }
    const int columns = sqlite3_column_count(stmt);
    if (!sqlite3_stmt_readonly(stmt) || columns == 0) {
        sqlite3_finalize(stmt);
        *error = what + L"这里只能执行读取数据的查询（SELECT）。";
        return false;
    }
    // The file is mapped into memory while its rows are read: SQLite then reads pages
    // without a ReadFile each, which under Wine costs more than the rest of the read.
    // The mapping is let go at the end, since a mapped file cannot be rewritten.
    sqlite3_exec(db, "PRAGMA mmap_size=1073741824", nullptr, nullptr, nullptr);
    bool outOfMemory = false;
    std::wstring scratch;
    try {
        table->SetColumns(static_cast<size_t>(columns));
        while ((rc = sqlite3_step(stmt)) == SQLITE_ROW)
            for (int c = 0; c < columns; ++c)
                AppendCell(stmt, c, utf8, scratch, table);
    } catch (const std::bad_alloc&) {
        outOfMemory = true;
    }
    if (outOfMemory)
        *error = what + Reason(SQLITE_NOMEM) + L"。";
    else if (rc != SQLITE_DONE)
        *error = what + Reason(rc) + L"。" + SqliteSays(db, rc);
    sqlite3_finalize(stmt);
    // The rows are all in the table now: neither the mapping nor the pages SQLite kept
    // of the file are needed.
    sqlite3_exec(db, "PRAGMA mmap_size=0", nullptr, nullptr, nullptr);
    sqlite3_db_release_memory(db);
    table->EndOfRows();
    return !outOfMemory && rc == SQLITE_DONE;
}

}  // namespace ado::detail
