#include "Oracle.h"

#include "support/MessageBoxes.h"

#include <windows.h>

#include <sqlite3.h>

namespace stress {
namespace {

std::optional<std::wstring> TextOf(sqlite3_stmt* stmt, int column)
{
    if (sqlite3_column_type(stmt, column) != SQLITE_TEXT)
        return std::nullopt;
    const auto* text = static_cast<const wchar_t*>(sqlite3_column_text16(stmt, column));
    const int bytes = sqlite3_column_bytes16(stmt, column);
    return std::wstring(text ? text : L"", text ? static_cast<size_t>(bytes) / 2 : 0);
}

// An empty file is no dictionary, and a folder or a file held exclusively cannot
// be read; SQLite alone would take the first for an empty database.
bool PlainReadableFile(const std::wstring& path)
{
    HANDLE h = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                           nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE)
        return false;
    LARGE_INTEGER size{};
    const BOOL ok = GetFileSizeEx(h, &size);
    CloseHandle(h);
    return ok && size.QuadPart > 0;
}

}  // namespace

std::optional<std::wstring> OracleView::Lookup(const std::wstring& ch) const
{
    if (!Usable())
        return std::nullopt;
    for (const OracleRow& row : rows)
        if (row.character && *row.character == ch)
            return row.phonetic.value_or(std::wstring());
    return std::nullopt;
}

OracleView ReadWithSqlite(const std::wstring& path)
{
    OracleView view;
    if (!PlainReadableFile(path))
        return view;
    // Read as the program reads it: immutable, so that nothing is made or consulted
    // beside the file (a header that says WAL mode would otherwise make -wal/-shm).
    std::string uri = "file:";
    for (char c : Utf8(path))
        uri += c == '\\' ? '/' : c;
    uri += "?immutable=1";
    sqlite3* db = nullptr;
    int rc = sqlite3_open_v2(uri.c_str(), &db, SQLITE_OPEN_READONLY | SQLITE_OPEN_URI, nullptr);
    if (rc == SQLITE_OK)
        rc = sqlite3_exec(db, "SELECT count(*) FROM sqlite_schema", nullptr, nullptr, nullptr);
    sqlite3_stmt* stmt = nullptr;
    if (rc == SQLITE_OK)
        rc = sqlite3_prepare_v2(db, "select * from cantonesePhonetic", -1, &stmt, nullptr);
    if (rc == SQLITE_OK && stmt) {
        view.columns = sqlite3_column_count(stmt);
        while ((rc = sqlite3_step(stmt)) == SQLITE_ROW) {
            OracleRow row;
            if (view.columns >= 3) {
                row.character = TextOf(stmt, 1);
                row.phonetic = TextOf(stmt, 2);
            }
            view.rows.push_back(std::move(row));
        }
        view.readable = rc == SQLITE_DONE && view.columns > 0;
    }
    sqlite3_finalize(stmt);
    sqlite3_close(db);
    if (!view.readable)
        view.rows.clear();
    return view;
}

}  // namespace stress
