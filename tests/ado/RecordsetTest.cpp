// The recordset: a static client-side cursor over the rows of one query, with an
// exact count, SQLite's order on every pass, columns by position, every SQLite type
// as a VARIANT, and ADO's errors (with descriptions) where there is no row to read.
#include "TestDatabase.h"

#include <gtest/gtest.h>
#include <sqlite3.h>

using testdb::Catch;
using testdb::Column;
using testdb::Utf8;

namespace {

const HRESULT kNoCurrentRecord = 0x800A0BCD;   // adErrNoCurrentRecord, 3021

class AdoRecordset : public ::testing::Test {
protected:
    void SetUp() override { testdb::InitCom(); }

    _RecordsetPtr Query(const char* tables, const std::wstring& query)
    {
        testdb::Make(path, tables);
        connection = testdb::OpenConnection(path);
        return testdb::OpenRecordset(connection, query);
    }

    testdb::Folder folder;
    std::wstring path = folder.Path(L"abc.mp3");
    _ConnectionPtr connection;
};

// SQLite's own answer to query, column `column` as text, in the order it gives.
std::vector<std::wstring> SqliteOrder(const std::wstring& path, const char* query, int column)
{
    std::vector<std::wstring> values;
    sqlite3* db = nullptr;
    sqlite3_open_v2(Utf8(path).c_str(), &db, SQLITE_OPEN_READONLY, nullptr);
    sqlite3_stmt* stmt = nullptr;
    sqlite3_prepare_v2(db, query, -1, &stmt, nullptr);
    while (sqlite3_step(stmt) == SQLITE_ROW)
        values.emplace_back(static_cast<const wchar_t*>(sqlite3_column_text16(stmt, column)));
    sqlite3_finalize(stmt);
    sqlite3_close(db);
    return values;
}

TEST_F(AdoRecordset, HoldsEveryRowInSqlitesOrderOnEveryPass)
{
    // Rows inserted out of key order, a second index, a thousand generated rows.
    _RecordsetPtr rs = Query(
        "CREATE TABLE t (id INTEGER PRIMARY KEY, ch TEXT, ph TEXT);"
        "CREATE INDEX t_ch ON t (ch);"
        "INSERT INTO t VALUES (30, '三', 'saam1'), (10, '一', 'jat1'), (20, '二', 'ji6');"
        "WITH RECURSIVE n(i) AS (SELECT 100 UNION ALL SELECT i + 1 FROM n WHERE i < 1099)"
        " INSERT INTO t SELECT i, char(0x4E00 + i), 'x' || i FROM n;",
        L"select * from t");
    EXPECT_EQ(adStateOpen, rs->GetState());
    EXPECT_EQ(1003, rs->GetRecordCount());

    const auto first = Column(rs, 1);
    EXPECT_EQ(SqliteOrder(path, "select * from t", 1), first);
    ASSERT_EQ(1003u, first.size());
    EXPECT_EQ(L"一", first[0]);
    EXPECT_EQ(L"二", first[1]);
    EXPECT_EQ(L"三", first[2]);
    EXPECT_EQ(first, Column(rs, 1));   // the same again
}

TEST_F(AdoRecordset, ColumnsByPosition)
{
    _RecordsetPtr rs = Query("CREATE TABLE t (id INTEGER, ch TEXT, ph TEXT);"
                             "INSERT INTO t VALUES (7, '粤', 'jyut6');",
                             L"select * from t");
    FieldsPtr fields = rs->GetFields();
    ASSERT_EQ(3, fields->GetCount());
    EXPECT_EQ(7, static_cast<long>(fields->GetItem(_variant_t(0L))->GetValue()));
    EXPECT_EQ(std::wstring(L"粤"), std::wstring(_bstr_t(fields->GetItem(_variant_t(1L))->GetValue())));
    EXPECT_EQ(std::wstring(L"jyut6"), std::wstring(_bstr_t(fields->GetItem(_variant_t(2L))->GetValue())));
    // The same Field object every time: nothing is made per call.
    EXPECT_EQ(fields->GetItem(_variant_t(1L)).GetInterfacePtr(), fields->GetItem(_variant_t(1L)).GetInterfacePtr());

    for (const long index : {3L, -1L}) {
        const auto failure = Catch([&] { fields->GetItem(_variant_t(index)); });
        EXPECT_EQ(static_cast<HRESULT>(0x800A0CC1), failure.hr);   // adErrItemNotFound
        EXPECT_FALSE(failure.description.empty());
    }
    const auto byName = Catch([&] { fields->GetItem(_variant_t(L"ph")); });
    EXPECT_EQ(AdoHResult(adErrInvalidArgument), byName.hr);
    EXPECT_FALSE(byName.description.empty());
}

TEST_F(AdoRecordset, DuplicateKeysStayAsTheyAreInTheirOrder)
{
    _RecordsetPtr rs = Query("CREATE TABLE t (id INTEGER PRIMARY KEY, ch TEXT, ph TEXT);"
                             "INSERT INTO t VALUES (1, '行', 'hang4'), (2, '行', 'hong4'), (3, '好', 'hou2'),"
                             " (4, '行', 'haang4');",
                             L"select * from t");
    EXPECT_EQ(4, rs->GetRecordCount());
    EXPECT_EQ((std::vector<std::wstring>{L"hang4", L"hong4", L"hou2", L"haang4"}), Column(rs, 2));
}

TEST_F(AdoRecordset, EverySqliteTypeBecomesAVariant)
{
    _RecordsetPtr rs = Query(
        "CREATE TABLE t (v);"
        "INSERT INTO t VALUES (42), (-2147483648), (4294967296), (2.5), (NULL), (x'00FF10'), (''),"
        " ('a' || char(0) || 'b'), ('𠀀'), (x'');",
        L"select v from t");
    const std::vector<std::wstring> expected = {
        L"<i4:42>", L"<i4:-2147483648>", L"<i8:4294967296>", L"<r8:2.500000>", L"<null>", L"<blob:3>", L"",
        std::wstring(L"a\0b", 3), L"\xD840\xDC00", L"<blob:0>"};
    EXPECT_EQ(expected, Column(rs, 0));

    rs->MoveFirst();
    for (int i = 0; i < 5; ++i)
        rs->MoveNext();
    const _variant_t blob = rs->GetFields()->GetItem(_variant_t(0L))->GetValue();
    ASSERT_EQ(VT_ARRAY | VT_UI1, V_VT(&blob));
    const auto* bytes = static_cast<const unsigned char*>(V_ARRAY(&blob)->pvData);
    EXPECT_EQ(0x00, bytes[0]);
    EXPECT_EQ(0xFF, bytes[1]);
    EXPECT_EQ(0x10, bytes[2]);
}

// Every text as SQLite itself gives it in UTF-16, whatever bytes the file holds:
// the recordset decodes the common UTF-8 itself and must agree with SQLite exactly.
TEST_F(AdoRecordset, TextIsWhatSqliteGivesAsUtf16)
{
    const char* const texts[] = {
        "x'6A797574'",         // ASCII
        "x'C3A9'",             // é, two bytes
        "x'E7B2A4'",           // 粤, three bytes
        "x'F0A08080'",         // 𠀀, four bytes: a surrogate pair
        "x'EFBFBD'",           // U+FFFD itself
        "x'EFBFBE'",           // U+FFFE, which SQLite replaces
        "x'EFBFBF'",           // U+FFFF, likewise
        "x'C080'",             // overlong NUL
        "x'E08080'",           // overlong, three bytes
        "x'EDA080'",           // an encoded surrogate
        "x'80'",               // a continuation byte alone
        "x'61E4BD'",           // cut short
        "x'F4908080'",         // beyond U+10FFFF
        "x'FE61FF'",           // bytes that never occur in UTF-8
        "x'61C262'",           // a lead byte without its continuation
        "x'610062'",           // an embedded NUL
        "x''",                 // empty
    };
    std::string sql = "CREATE TABLE t (v TEXT);";
    for (const char* text : texts)
        sql += std::string("INSERT INTO t VALUES (CAST(") + text + " AS TEXT));";
    for (const char* encoding : {"UTF-8", "UTF-16le"}) {
        SCOPED_TRACE(encoding);
        testdb::Folder own;
        const std::wstring file = own.Path(L"text.db");
        testdb::Make(file, (std::string("PRAGMA encoding = '") + encoding + "';" + sql).c_str());

        std::vector<std::wstring> expected;
        sqlite3* db = nullptr;
        sqlite3_open_v2(Utf8(file).c_str(), &db, SQLITE_OPEN_READONLY, nullptr);
        sqlite3_stmt* stmt = nullptr;
        sqlite3_prepare_v2(db, "select v from t", -1, &stmt, nullptr);
        while (sqlite3_step(stmt) == SQLITE_ROW) {
            const auto* text = static_cast<const wchar_t*>(sqlite3_column_text16(stmt, 0));
            expected.emplace_back(text, text + sqlite3_column_bytes16(stmt, 0) / 2);
        }
        sqlite3_finalize(stmt);
        sqlite3_close(db);
        ASSERT_EQ(std::size(texts), expected.size());
        if (std::string(encoding) == "UTF-8") {   // in a UTF-16 file the bytes are read as UTF-16
            EXPECT_EQ(L"\xD840\xDC00", expected[3]);
            EXPECT_EQ(L"\xFFFD", expected[5]);
        }

        const auto got = Column(testdb::OpenRecordset(testdb::OpenConnection(file), L"select v from t"), 0);
        ASSERT_EQ(expected.size(), got.size());
        for (size_t i = 0; i < got.size(); ++i)
            EXPECT_EQ(expected[i], got[i]) << texts[i];
    }
}

TEST_F(AdoRecordset, PastTheLastRowThereIsNothingToRead)
{
    _RecordsetPtr rs = Query("CREATE TABLE t (id, ch, ph); INSERT INTO t VALUES (1, '你', 'nei5');",
                             L"select * from t");
    FieldPtr phonetic = rs->GetFields()->GetItem(_variant_t(2L));
    EXPECT_FALSE(rs->GetBOF());
    EXPECT_FALSE(rs->GetEOF());
    rs->MoveNext();
    EXPECT_TRUE(rs->GetEOF());

    const auto read = Catch([&] { phonetic->GetValue(); });
    EXPECT_EQ(kNoCurrentRecord, read.hr);
    EXPECT_CONTAINS(read.description, L"没有当前记录");
    EXPECT_EQ(kNoCurrentRecord, Catch([&] { rs->MoveNext(); }).hr);

    rs->MoveFirst();
    EXPECT_EQ(std::wstring(L"nei5"), std::wstring(_bstr_t(phonetic->GetValue())));
}

TEST_F(AdoRecordset, EmptyTableHasNoFirstRow)
{
    _RecordsetPtr rs = Query("CREATE TABLE t (id, ch, ph);", L"select * from t");
    EXPECT_EQ(adStateOpen, rs->GetState());
    EXPECT_EQ(0, rs->GetRecordCount());
    EXPECT_TRUE(rs->GetBOF());
    EXPECT_TRUE(rs->GetEOF());
    EXPECT_EQ(3, rs->GetFields()->GetCount());
    const auto first = Catch([&] { rs->MoveFirst(); });
    EXPECT_EQ(kNoCurrentRecord, first.hr);
    EXPECT_CONTAINS(first.description, L"记录集是空的");
    EXPECT_EQ(kNoCurrentRecord, Catch([&] { rs->GetFields()->GetItem(_variant_t(1L))->GetValue(); }).hr);
}

TEST_F(AdoRecordset, TableWithFewerColumnsHasNoColumnTwo)
{
    _RecordsetPtr rs = Query("CREATE TABLE t (id, ch); INSERT INTO t VALUES (1, '你');", L"select * from t");
    EXPECT_EQ(2, rs->GetFields()->GetCount());
    const auto failure = Catch([&] { rs->GetFields()->GetItem(_variant_t(2L)); });
    EXPECT_EQ(static_cast<HRESULT>(0x800A0CC1), failure.hr);
    EXPECT_CONTAINS(failure.description, L"第 2 列");
}

TEST_F(AdoRecordset, MissingTableFailsWithSqlitesReason)
{
    testdb::Make(path, "CREATE TABLE other (a);");
    connection = testdb::OpenConnection(path);
    const auto failure = Catch([&] { testdb::OpenRecordset(connection, L"select * from cantonesePhonetic"); });
    ASSERT_TRUE(failure.thrown);
    EXPECT_CONTAINS(failure.description, path);
    EXPECT_CONTAINS(failure.description, L"select * from cantonesePhonetic");
    EXPECT_CONTAINS(failure.description, L"no such table: cantonesePhonetic");
}

TEST_F(AdoRecordset, TruncatedFileFailsWithItsReason)
{
    // Enough rows that the table's pages lie beyond the part that is kept.
    testdb::Make(path, "CREATE TABLE t (id INTEGER PRIMARY KEY, ch TEXT, ph TEXT);"
                       "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 3000)"
                       " INSERT INTO t SELECT i, char(0x4E00 + i), 'spelling' || i FROM n;");
    const std::string bytes = testdb::ReadBytes(path);
    testdb::WriteBytes(path, bytes.substr(0, bytes.size() / 2));
    const auto failure = Catch([&] {
        connection = testdb::OpenConnection(path);
        testdb::OpenRecordset(connection, L"select * from t");
    });
    ASSERT_TRUE(failure.thrown);
    EXPECT_CONTAINS(failure.description, L"已损坏或不完整");
}

TEST_F(AdoRecordset, StatementsThatWriteAreRefusedAndTheFileStaysAsItWas)
{
    testdb::Make(path, "CREATE TABLE t (id, ch, ph); INSERT INTO t VALUES (1, '你', 'nei5');");
    const std::string before = testdb::ReadBytes(path);
    connection = testdb::OpenConnection(path);
    for (const wchar_t* statement : {L"delete from t", L"insert into t values (2, '好', 'hou2')",
                                     L"create table u (a)", L"pragma user_version = 3"}) {
        const auto failure = Catch([&] { testdb::OpenRecordset(connection, statement); });
        EXPECT_TRUE(failure.thrown) << Utf8(statement);
        EXPECT_FALSE(failure.description.empty());
    }
    EXPECT_EQ(1, testdb::OpenRecordset(connection, L"select * from t")->GetRecordCount());
    connection = nullptr;
    EXPECT_EQ(before, testdb::ReadBytes(path));
}

TEST_F(AdoRecordset, ConnectionThatIsNotOpenGivesAnErrorNamingTheQuery)
{
    _ConnectionPtr closed = testdb::NewConnection();
    const auto failure = Catch([&] { testdb::OpenRecordset(closed, L"select * from cantonesePhonetic"); });
    EXPECT_EQ(AdoHResult(adErrInvalidConnection), failure.hr);
    EXPECT_CONTAINS(failure.description, L"没有打开");
    EXPECT_CONTAINS(failure.description, L"select * from cantonesePhonetic");

    _RecordsetPtr rs;
    rs.CreateInstance(__uuidof(Recordset));
    const auto none = Catch([&] { rs->Open(L"select 1", _variant_t(), adOpenStatic, adLockReadOnly, adCmdText); });
    EXPECT_EQ(AdoHResult(adErrInvalidConnection), none.hr);
    EXPECT_EQ(adStateClosed, rs->GetState());
}

TEST_F(AdoRecordset, ClosedRecordsetRefusesToMoveOrRead)
{
    _RecordsetPtr rs = Query("CREATE TABLE t (id, ch, ph); INSERT INTO t VALUES (1, '你', 'nei5');",
                             L"select * from t");
    FieldPtr character = rs->GetFields()->GetItem(_variant_t(1L));
    rs->Close();
    EXPECT_EQ(adStateClosed, rs->GetState());
    EXPECT_EQ(0, rs->GetFields()->GetCount());
    for (const auto& call : std::initializer_list<std::function<void()>>{
             [&] { rs->GetRecordCount(); }, [&] { rs->MoveFirst(); }, [&] { rs->MoveNext(); },
             [&] { rs->GetEOF(); }, [&] { character->GetValue(); }, [&] { rs->Close(); }}) {
        const auto failure = Catch(call);
        EXPECT_EQ(AdoHResult(adErrObjectClosed), failure.hr);
        EXPECT_FALSE(failure.description.empty());
    }

    // Opened again on fewer columns, a Field kept from before has no column to read.
    rs->Open(L"select ch from t", static_cast<IDispatch*>(connection.GetInterfacePtr()), adOpenStatic,
             adLockReadOnly, adCmdText);
    EXPECT_EQ(std::wstring(L"你"), std::wstring(_bstr_t(rs->GetFields()->GetItem(_variant_t(0L))->GetValue())));
    EXPECT_EQ(static_cast<HRESULT>(0x800A0CC1), Catch([&] { character->GetValue(); }).hr);
}

TEST_F(AdoRecordset, ObjectsOutliveTheirHoldersCorrectly)
{
    _RecordsetPtr rs = Query("CREATE TABLE t (id, ch, ph); INSERT INTO t VALUES (1, '你', 'nei5');",
                             L"select * from t");
    FieldPtr phonetic = rs->GetFields()->GetItem(_variant_t(2L));
    rs = nullptr;           // the Field keeps its recordset alive
    connection = nullptr;   // the recordset has its rows already
    EXPECT_EQ(std::wstring(L"nei5"), std::wstring(_bstr_t(phonetic->GetValue())));
}

TEST_F(AdoRecordset, WhatIsNotCarriedOutSaysSo)
{
    _RecordsetPtr rs = Query("CREATE TABLE t (id, ch, ph);", L"select * from t");
    EXPECT_EQ(AdoHResult(adErrFeatureNotAvailable), rs->raw_AddNew(_variant_t(), _variant_t()));
    IErrorInfo* info = nullptr;
    ASSERT_EQ(S_OK, GetErrorInfo(0, &info));
    BSTR description = nullptr;
    info->GetDescription(&description);
    EXPECT_CONTAINS(std::wstring(description), L"AddNew");
    SysFreeString(description);
    info->Release();
}

}  // namespace
