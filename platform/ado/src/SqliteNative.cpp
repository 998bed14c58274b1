#include "SqliteNative.h"

#include <sqlite3.h>
#include <cctype>
#include <cstring>

namespace ado::detail {
namespace {

std::string ImmutableUri(const std::string& utf8Path)
{
    static const char kHex[] = "0123456789ABCDEF";
    std::string uri = "file:";
    if (!utf8Path.empty() && (utf8Path[0] == '\\' || utf8Path[0] == '/'))
        uri += "//";   // an empty authority before a path from the root (\\server\share)
    for (const unsigned char c : utf8Path) {
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

}  // namespace

int OpenImmutable(const std::string& utf8Path, sqlite3** db)
{
    *db = nullptr;
    // A connection is used only by the apartment that made it, so SQLite's lock around
    // every call is left out: under Wine it costs more than the rest of reading a row.
    int rc = sqlite3_open_v2(ImmutableUri(utf8Path).c_str(), db,
                             SQLITE_OPEN_READONLY | SQLITE_OPEN_URI | SQLITE_OPEN_EXRESCODE | SQLITE_OPEN_NOMUTEX,
                             nullptr);
    // Opening reads nothing yet: the schema is read now.
    if (rc == SQLITE_OK)
        rc = sqlite3_exec(*db, "SELECT count(*) FROM sqlite_schema", nullptr, nullptr, nullptr);
    return rc;
}

bool IsUtf8Database(sqlite3* db)
{
    sqlite3_stmt* stmt = nullptr;
    bool utf8 = false;
    if (sqlite3_prepare_v2(db, "PRAGMA encoding", -1, &stmt, nullptr) == SQLITE_OK && stmt &&
        sqlite3_step(stmt) == SQLITE_ROW) {
        const auto* name = reinterpret_cast<const char*>(sqlite3_column_text(stmt, 0));
        utf8 = name && std::strcmp(name, "UTF-8") == 0;
    }
    sqlite3_finalize(stmt);
    return utf8;
}

std::ptrdiff_t DecodeUtf8(const unsigned char* in, std::size_t size, wchar_t* out)
{
    const unsigned char* const end = in + size;
    wchar_t* const start = out;
    while (in < end) {
        const unsigned c = *in;
        if (c < 0x80) {
            *out++ = static_cast<wchar_t>(c);
            ++in;
        } else if (c >= 0xC2 && c < 0xE0 && end - in >= 2 && (in[1] & 0xC0) == 0x80) {
            *out++ = static_cast<wchar_t>(((c & 0x1F) << 6) | (in[1] & 0x3F));
            in += 2;
        } else if (c >= 0xE0 && c < 0xF0 && end - in >= 3 && (in[1] & 0xC0) == 0x80 && (in[2] & 0xC0) == 0x80) {
            const unsigned u = ((c & 0x0F) << 12) | ((in[1] & 0x3F) << 6) | (in[2] & 0x3F);
            if (u < 0x800 || (u >= 0xD800 && u < 0xE000) || u >= 0xFFFE)
                return -1;
            *out++ = static_cast<wchar_t>(u);
            in += 3;
        } else {
            return -1;
        }
    }
    return out - start;
}

}  // namespace ado::detail
