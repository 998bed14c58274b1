// Fuzz target: reading a dictionary file with platform/ado's own SQLite code.
//
// The input is written to a file and opened by ado's OpenImmutable (read-only and
// immutable, the schema read at once, so that a file that is not a database, or is
// cut short, fails at open), with the same SQLite amalgamation and compile-time
// options as the program; an empty file is refused before, as ado refuses it. The
// program's query is prepared, must be read-only, and every row is read cell by cell.
// Text in a UTF-8 database goes through ado's DecodeUtf8 wherever it takes it, and
// must then be exactly what SQLite's own conversion to UTF-16 gives. Failures must come
// back as SQLite result codes that the ado layer turns into messages; a crash, a leak,
// undefined behaviour, a disagreement with SQLite or a result code outside SQLite's
// documented set is a finding.
#include "SqliteNative.h"

#include "Check.h"

#include <sqlite3.h>

#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

namespace {

std::string ScratchPath()
{
    const char* dir = getenv("FUZZ_SCRATCH");
    return std::string(dir && *dir ? dir : "/dev/shm") + "/lorvane-dict-" + std::to_string(getpid()) + ".db";
}

bool WriteFile(const std::string& path, const uint8_t* data, size_t size)
{
    FILE* f = std::fopen(path.c_str(), "wb");
    if (!f)
        return false;
    const bool ok = std::fwrite(data, 1, size, f) == size;
    return std::fclose(f) == 0 && ok;
}

// The primary result codes ado knows how to explain (and its default for the rest).
bool IsKnownCode(int rc)
{
    switch (rc & 0xff) {
    case SQLITE_OK: case SQLITE_ROW: case SQLITE_DONE: case SQLITE_NOTADB: case SQLITE_CORRUPT:
    case SQLITE_CANTOPEN: case SQLITE_BUSY: case SQLITE_LOCKED: case SQLITE_IOERR: case SQLITE_NOMEM:
    case SQLITE_READONLY: case SQLITE_PERM: case SQLITE_AUTH: case SQLITE_ERROR: case SQLITE_FULL:
    case SQLITE_RANGE: case SQLITE_SCHEMA: case SQLITE_TOOBIG: case SQLITE_MISMATCH:
    case SQLITE_CONSTRAINT: case SQLITE_PROTOCOL:
        return true;
    default:
        return false;
    }
}

// Reads one value; the text and blob bytes are touched so that a wrong length shows
// up under the address sanitizer.
size_t ReadCell(sqlite3_stmt* stmt, int column, bool utf8)
{
    switch (sqlite3_column_type(stmt, column)) {
    case SQLITE_INTEGER:
        return size_t(sqlite3_column_int64(stmt, column) & 1);
    case SQLITE_FLOAT:
        return sqlite3_column_double(stmt, column) > 0;
    case SQLITE_TEXT: {
        std::vector<wchar_t> decoded;
        ptrdiff_t length = -1;
        if (utf8) {
            const auto* bytes = sqlite3_column_text(stmt, column);
            const int size = sqlite3_column_bytes(stmt, column);
            CHECK(size >= 0);
            decoded.resize(size_t(size) + 1);
            length = bytes ? ado::detail::DecodeUtf8(bytes, size_t(size), decoded.data()) : 0;
            CHECK(length <= size);
        }
        const auto* text = static_cast<const char16_t*>(sqlite3_column_text16(stmt, column));
        const int bytes = sqlite3_column_bytes16(stmt, column);
        // A UTF-16 database cut or damaged inside a value may give an odd count: ado
        // copies the whole units (bytes / 2) and drops the odd byte.
        CHECK(bytes >= 0);
        if (length >= 0) {
            CHECK(length == bytes / 2);
            for (ptrdiff_t i = 0; i < length; ++i)
                CHECK(char16_t(decoded[size_t(i)]) == text[i]);
        }
        size_t sum = 0;
        for (int i = 0; text && i < bytes / 2; ++i)
            sum += text[i];
        return sum;
    }
    case SQLITE_BLOB: {
        const auto* blob = static_cast<const uint8_t*>(sqlite3_column_blob(stmt, column));
        const int bytes = sqlite3_column_bytes(stmt, column);
        CHECK(bytes >= 0);
        CHECK(bytes == 0 || blob);
        size_t sum = 0;
        for (int i = 0; i < bytes; ++i)
            sum += blob[i];
        return sum;
    }
    default:
        return 0;
    }
}

void ReadDictionary(const std::string& path)
{
    sqlite3* db = nullptr;
    int rc = ado::detail::OpenImmutable(path, &db);
    CHECK(IsKnownCode(rc));
    if (rc != SQLITE_OK) {
        CHECK(sqlite3_errmsg(db) != nullptr);
        sqlite3_close(db);
        return;
    }

    static const char16_t kQuery[] = u"select * from cantonesePhonetic";
    sqlite3_stmt* stmt = nullptr;
    rc = sqlite3_prepare16_v2(db, kQuery, int(sizeof kQuery - sizeof kQuery[0]), &stmt, nullptr);
    CHECK(IsKnownCode(rc));
    if (rc == SQLITE_OK && stmt) {
        const int columns = sqlite3_column_count(stmt);
        CHECK(columns >= 0);
        if (sqlite3_stmt_readonly(stmt) && columns > 0) {
            const bool utf8 = ado::detail::IsUtf8Database(db);
            size_t sink = 0;
            long rows = 0;
            while ((rc = sqlite3_step(stmt)) == SQLITE_ROW && rows++ < 1000000)
                for (int c = 0; c < columns; ++c)
                    sink += ReadCell(stmt, c, utf8);
            CHECK(IsKnownCode(rc));
            (void)sink;
        }
    }
    sqlite3_finalize(stmt);
    CHECK(sqlite3_close(db) == SQLITE_OK);   // nothing left open behind the reader
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static const std::string path = ScratchPath();
    if (size == 0)
        return 0;   // ado refuses an empty file before SQLite sees it
    if (!WriteFile(path, data, size))
        return 0;
    ReadDictionary(path);
    return 0;
}
