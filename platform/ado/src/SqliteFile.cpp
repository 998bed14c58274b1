#include "SqliteFile.h"
#include "ComBase.h"

#include <sqlite3.h>
#include <cctype>
#include <climits>
#include <cstring>

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

// path as an SQLite URI that opens the file immutable: SQLite then takes no locks
// and makes no files beside it. (A read-only open of a database in WAL mode would
// otherwise create its -wal and -shm files next to it.)
std::string ImmutableUri(const std::wstring& path)
{
    static const char kHex[] = "0123456789ABCDEF";
    const std::string utf8 = WideToUtf8(path);
    std::string uri = "file:";
    if (!utf8.empty() && (utf8[0] == '\\' || utf8[0] == '/'))
        uri += "//";   // an empty authority before a path from the root (\\server\share)
    for (const unsigned char c : utf8) {
        if (c == '\\')
            uri += '/';
        else if (c != 0 && c < 0x80 && (std::isalnum(c) || std::strchr("-._~/:", c)))
            uri += static_cast<char>(c);
        else {
            uri += '%';
            uri += kHex[c >> 4];
            uri += kHex[c & 15];
        }
    }
    return uri + "?immutable=1";
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

VARIANT ReadCell(sqlite3_stmt* stmt, int column, bool* outOfMemory)
{
    VARIANT v;
    VariantInit(&v);
    switch (sqlite3_column_type(stmt, column)) {
    case SQLITE_INTEGER: {
        const sqlite3_int64 i = sqlite3_column_int64(stmt, column);
        if (i >= INT_MIN && i <= INT_MAX) {
            V_VT(&v) = VT_I4;
            V_I4(&v) = static_cast<LONG>(i);
        } else {
            V_VT(&v) = VT_I8;
            V_I8(&v) = i;
        }
        break;
    }
    case SQLITE_FLOAT:
        V_VT(&v) = VT_R8;
        V_R8(&v) = sqlite3_column_double(stmt, column);
        break;
    case SQLITE_TEXT: {
        const void* text = sqlite3_column_text16(stmt, column);
        const int bytes = sqlite3_column_bytes16(stmt, column);
        BSTR bstr = SysAllocStringLen(static_cast<const OLECHAR*>(text), text ? bytes / 2 : 0);
        if (!bstr) {
            *outOfMemory = true;
            break;
        }
        V_VT(&v) = VT_BSTR;
        V_BSTR(&v) = bstr;
        break;
    }
    case SQLITE_BLOB: {
        const void* data = sqlite3_column_blob(stmt, column);
        const int bytes = sqlite3_column_bytes(stmt, column);
        SAFEARRAY* array = SafeArrayCreateVector(VT_UI1, 0, bytes);
        if (!array) {
            *outOfMemory = true;
            break;
        }
        if (bytes > 0)
            std::memcpy(array->pvData, data, bytes);
        V_VT(&v) = VT_ARRAY | VT_UI1;
        V_ARRAY(&v) = array;
        break;
    }
    default:
        V_VT(&v) = VT_NULL;
        break;
    }
    return v;
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
    int rc = sqlite3_open_v2(ImmutableUri(path).c_str(), &db,
                             SQLITE_OPEN_READONLY | SQLITE_OPEN_URI | SQLITE_OPEN_EXRESCODE, nullptr);
    // Opening reads nothing yet; reading the schema finds a file that is not a
    // database, or is cut short, now rather than at the first query.
    if (rc == SQLITE_OK)
        rc = sqlite3_exec(db, "SELECT count(*) FROM sqlite_schema", nullptr, nullptr, nullptr);
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
               std::wstring* error)
{
    const std::wstring what = L"在数据库 " + path + L" 中执行查询“" + sql + L"”失败：";
    sqlite3_stmt* stmt = nullptr;
    int rc = sqlite3_prepare16_v2(db, sql.c_str(), static_cast<int>(sql.size() * sizeof(wchar_t)), &stmt,
                                  nullptr);
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
    std::vector<std::wstring> names;
    for (int c = 0; c < columns; ++c) {
        const void* name = sqlite3_column_name16(stmt, c);
        names.emplace_back(name ? static_cast<const wchar_t*>(name) : L"");
    }
    table->SetColumns(std::move(names));
    bool outOfMemory = false;
    while (!outOfMemory && (rc = sqlite3_step(stmt)) == SQLITE_ROW)
        for (int c = 0; c < columns; ++c)
            table->Append(ReadCell(stmt, c, &outOfMemory));
    if (outOfMemory)
        *error = what + Reason(SQLITE_NOMEM) + L"。";
    else if (rc != SQLITE_DONE)
        *error = what + Reason(rc) + L"。" + SqliteSays(db, rc);
    sqlite3_finalize(stmt);
    return !outOfMemory && rc == SQLITE_DONE;
}

}  // namespace ado::detail
