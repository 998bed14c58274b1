#include "Inputs.h"

#include <sqlite3.h>

#include <cstring>
#include <stdexcept>

namespace stress {
namespace {

void Exec(sqlite3* db, const std::string& sql)
{
    if (sqlite3_exec(db, sql.c_str(), nullptr, nullptr, nullptr) != SQLITE_OK)
        throw std::runtime_error(sql + ": " + sqlite3_errmsg(db));
}

std::wstring RandomText(Rng& rng)
{
    const auto& alphabet = Alphabet();
    std::wstring s;
    switch (rng.Below(rng.OneIn(4) ? 12 : 11)) {
    case 0: case 1: case 2: case 3: case 4:  // one character, as the table holds them
        s.push_back(alphabet[rng.Below(alphabet.size())]);
        break;
    case 5: case 6: {  // a spelling with its tone digit
        static const wchar_t* const kSyllables[] = {L"nei", L"hou", L"mun", L"hok", L"zaap", L"gwong", L"a", L""};
        s = kSyllables[rng.Below(8)];
        if (!rng.OneIn(5))
            s.push_back(static_cast<wchar_t>(L'1' + rng.Below(6)));
        break;
    }
    case 7:  // several characters
        for (size_t n = rng.Between(2, 6); n; --n)
            s.push_back(alphabet[rng.Below(alphabet.size())]);
        break;
    case 8:  // empty
        break;
    case 9:  // a character outside the BMP: a surrogate pair
        s = {static_cast<wchar_t>(0xD840 + rng.Below(4)), static_cast<wchar_t>(0xDC00 + rng.Below(0x400))};
        break;
    case 10:  // control characters, blanks, NUL inside the text
        for (size_t n = rng.Between(1, 4); n; --n)
            s.push_back(static_cast<wchar_t>(rng.Below(0x21)));
        break;
    default:  // long; now and then huge
        s.assign(rng.OneIn(40) ? rng.Between(50000, 200000) : rng.Between(300, 3000),
                 alphabet[rng.Below(alphabet.size())]);
        break;
    }
    return s;
}

void BindRandom(sqlite3_stmt* stmt, int index, Rng& rng, bool textMostly)
{
    const size_t pick = rng.Below(100);
    if (textMostly ? pick < 80 : pick < 30) {
        const std::wstring s = RandomText(rng);
        sqlite3_bind_text16(stmt, index, s.data(), static_cast<int>(s.size() * sizeof(wchar_t)), SQLITE_TRANSIENT);
    } else if (pick < 86) {
        sqlite3_bind_null(stmt, index);
    } else if (pick < 91) {
        sqlite3_bind_int64(stmt, index, static_cast<sqlite3_int64>(rng.Next()) >> rng.Below(64));
    } else if (pick < 95) {
        sqlite3_bind_double(stmt, index, static_cast<double>(rng.Next() % 100000) / 7.0);
    } else {
        std::string blob(rng.OneIn(50) ? rng.Between(10000, 100000) : rng.Below(64), '\0');
        for (char& c : blob)
            c = static_cast<char>(rng.Next());
        sqlite3_bind_blob(stmt, index, blob.data(), static_cast<int>(blob.size()), SQLITE_TRANSIENT);
    }
}

std::string Serialize(sqlite3* db)
{
    sqlite3_int64 size = 0;
    unsigned char* data = sqlite3_serialize(db, "main", &size, 0);
    if (!data)
        throw std::runtime_error("sqlite3_serialize failed");
    std::string bytes(reinterpret_cast<const char*>(data), static_cast<size_t>(size));
    sqlite3_free(data);
    return bytes;
}

uint32_t PageSize(const std::string& image)
{
    if (image.size() < 100)
        return 512;
    const uint32_t v = static_cast<unsigned char>(image[16]) << 8 | static_cast<unsigned char>(image[17]);
    return v == 1 ? 65536 : (v >= 512 ? v : 512);
}

}  // namespace

const char* Name(FileKind kind)
{
    static const char* const kNames[] = {"intact",       "truncated", "bit-flipped", "overwritten",
                                         "random-bytes", "random-after-magic", "empty", "missing",
                                         "folder",       "locked"};
    return kNames[static_cast<size_t>(kind)];
}

const std::vector<wchar_t>& Alphabet()
{
    static const std::vector<wchar_t> alphabet = [] {
        std::vector<wchar_t> a;
        for (const wchar_t* p = L"你好们学习广东话粤语拼音训练查词字典开始暂停更换a"; *p; ++p)
            a.push_back(*p);
        a.push_back(L'A');
        a.push_back(L' ');
        a.push_back(L'\r');
        a.push_back(0xD840);  // a lone high surrogate
        a.push_back(0xDC01);  // a lone low surrogate
        a.push_back(0xFFFD);
        return a;
    }();
    return alphabet;
}

std::string MakeImage(Rng& rng)
{
    sqlite3* db = nullptr;
    if (sqlite3_open(":memory:", &db) != SQLITE_OK)
        throw std::runtime_error("cannot open an in-memory database");
    try {
        static const int kPageSizes[] = {512, 1024, 4096, 4096, 4096, 65536};
        Exec(db, "PRAGMA page_size=" + std::to_string(kPageSizes[rng.Below(rng.OneIn(30) ? 6 : 5)]));
        if (rng.OneIn(6))
            Exec(db, rng.OneIn(2) ? "PRAGMA encoding='UTF-16le'" : "PRAGMA encoding='UTF-16be'");

        // Columns: mostly the three of the real table, sometimes fewer or more.
        static const char* const kTypes[] = {"", "TEXT", "TEXT", "INTEGER", "BLOB", "REAL", "NUMERIC"};
        size_t columns = 3;
        const size_t shape = rng.Below(100);
        if (shape < 6)
            columns = 1;
        else if (shape < 12)
            columns = 2;
        else if (shape < 18)
            columns = rng.Between(4, 6);
        const bool withoutRowid = rng.OneIn(12);
        std::string create = "CREATE TABLE t (";
        for (size_t c = 0; c < columns; ++c) {
            create += (c ? ", c" : "c") + std::to_string(c) + " ";
            create += c == 0 ? (withoutRowid ? "INTEGER PRIMARY KEY" : rng.OneIn(2) ? "INTEGER PRIMARY KEY" : "")
                             : kTypes[rng.Below(7)];
        }
        create += withoutRowid ? ") WITHOUT ROWID" : ")";
        Exec(db, create);

        size_t rows;
        const size_t size = rng.Below(100);
        rows = size < 10 ? 0 : size < 75 ? rng.Between(1, 20) : size < 97 ? rng.Between(20, 300)
                                                                             : rng.Between(300, 3000);
        std::string insert = "INSERT INTO t VALUES (";
        for (size_t c = 0; c < columns; ++c)
            insert += c ? ", ?" : "?";
        insert += ")";
        sqlite3_stmt* stmt = nullptr;
        if (sqlite3_prepare_v2(db, insert.c_str(), -1, &stmt, nullptr) != SQLITE_OK)
            throw std::runtime_error(sqlite3_errmsg(db));
        Exec(db, "BEGIN");
        for (size_t r = 0; r < rows; ++r) {
            sqlite3_bind_int64(stmt, 1, static_cast<sqlite3_int64>(r + 1));
            for (size_t c = 1; c < columns; ++c)
                BindRandom(stmt, static_cast<int>(c + 1), rng, c <= 2);
            if (columns == 1 || rng.OneIn(50))
                BindRandom(stmt, 1, rng, false);   // even column 0 may hold anything
            sqlite3_step(stmt);   // a row the column types refuse is simply left out
            sqlite3_reset(stmt);
        }
        sqlite3_finalize(stmt);
        Exec(db, "COMMIT");

        // Under the program's table name: the table itself, mostly, or a view of
        // it, or no such table at all.
        const size_t naming = rng.Below(100);
        std::string table = "t";
        if (naming < 88)
            table = "cantonesePhonetic";
        else if (naming < 94)
            Exec(db, "CREATE VIEW cantonesePhonetic AS SELECT * FROM t");
        else if (naming < 97)
            table = "cantonesePhonetic2";
        if (table != "t")
            Exec(db, "ALTER TABLE t RENAME TO " + table);
        if (rng.OneIn(8))
            Exec(db, "CREATE INDEX ix ON " + table + "(c" + std::to_string(columns - 1) + ")");
        std::string image = Serialize(db);
        sqlite3_close(db);
        return image;
    } catch (...) {
        sqlite3_close(db);
        throw;
    }
}

ImagePool::ImagePool(Rng& rng, size_t size)
{
    for (size_t i = 0; i < size; ++i)
        m_images.push_back(MakeImage(rng));
}

const std::string& ImagePool::Pick(Rng& rng) const
{
    return m_images[rng.Below(m_images.size())];
}

size_t ImagePool::AverageBytes() const
{
    size_t total = 0;
    for (const std::string& image : m_images)
        total += image.size();
    return total / m_images.size();
}

void ImagePool::Refresh(Rng& rng, size_t count)
{
    for (size_t i = 0; i < count; ++i)
        m_images[rng.Below(m_images.size())] = MakeImage(rng);
}

Input MakeInput(const ImagePool& pool, Rng& rng)
{
    Input in;
    const size_t pick = rng.Below(1000);
    in.kind = pick < 250   ? FileKind::Intact
              : pick < 450 ? FileKind::Truncated
              : pick < 700 ? FileKind::BitFlipped
              : pick < 850 ? FileKind::Overwritten
              : pick < 920 ? FileKind::RandomBytes
              : pick < 980 ? FileKind::RandomAfterMagic
              : pick < 990 ? FileKind::Empty
              : pick < 996 ? FileKind::Missing
              : pick < 999 ? FileKind::Folder
                           : FileKind::Locked;
    switch (in.kind) {
    case FileKind::Intact:
    case FileKind::Locked:
        in.bytes = pool.Pick(rng);
        break;
    case FileKind::Truncated: {
        in.bytes = pool.Pick(rng);
        const uint32_t page = PageSize(in.bytes);
        size_t cut;
        switch (rng.Below(4)) {
        case 0: cut = rng.Below(std::min<size_t>(in.bytes.size(), 120)); break;   // inside the header
        case 1: cut = page * rng.Between(1, in.bytes.size() / page); break;     // at a page boundary
        default: cut = rng.Below(in.bytes.size()); break;
        }
        in.bytes.resize(std::max<size_t>(cut, 1));
        break;
    }
    case FileKind::BitFlipped: {
        in.bytes = pool.Pick(rng);
        const size_t zone = rng.Below(3) == 0 ? std::min<size_t>(100, in.bytes.size())
                            : rng.OneIn(2)    ? std::min<size_t>(PageSize(in.bytes), in.bytes.size())
                                              : in.bytes.size();
        for (size_t n = rng.Between(1, 16); n; --n)
            in.bytes[rng.Below(zone)] ^= static_cast<char>(1u << rng.Below(8));
        break;
    }
    case FileKind::Overwritten: {
        in.bytes = pool.Pick(rng);
        const uint32_t page = PageSize(in.bytes);
        const size_t pages = in.bytes.size() / page;
        if (pages >= 2 && rng.OneIn(3)) {
            const size_t from = rng.Below(pages), to = rng.Below(pages);
            std::memmove(&in.bytes[to * page], &in.bytes[from * page], page);
        } else {
            const size_t at = rng.Below(in.bytes.size());
            const size_t len = std::min(in.bytes.size() - at, rng.Between(1, 64));
            for (size_t i = 0; i < len; ++i)
                in.bytes[at + i] = static_cast<char>(rng.OneIn(4) ? 0xFF : rng.Next());
        }
        break;
    }
    case FileKind::RandomBytes:
    case FileKind::RandomAfterMagic: {
        in.bytes.resize(rng.OneIn(4) ? rng.Between(1, 100) : rng.Between(100, 65536));
        for (char& c : in.bytes)
            c = static_cast<char>(rng.Next());
        if (in.kind == FileKind::RandomAfterMagic) {
            static const char kMagic[] = "SQLite format 3";   // with its NUL: 16 bytes
            if (in.bytes.size() < 100)
                in.bytes.resize(100);
            std::memcpy(in.bytes.data(), kMagic, sizeof kMagic);
        }
        break;
    }
    default:
        break;
    }
    return in;
}

}  // namespace stress
