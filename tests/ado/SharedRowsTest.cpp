// Recordsets of one query on one unchanged file share one copy of the rows: each
// keeps its own position, a file changed in any way is read afresh, and the rows go
// with the last recordset that holds them.
#include "TestDatabase.h"

#include <gtest/gtest.h>

using testdb::Column;

namespace {

const char kThreeRows[] =
    "CREATE TABLE t (id INTEGER PRIMARY KEY, ch TEXT, ph TEXT);"
    "INSERT INTO t VALUES (1, '一', 'jat1'), (2, '二', 'ji6'), (3, '三', 'saam1');";

class AdoSharedRows : public ::testing::Test {
protected:
    void SetUp() override
    {
        testdb::InitCom();
        held = ado::SharedResultCount();   // tables held by recordsets of earlier tests, if any
    }

    static std::wstring Text(const _RecordsetPtr& rs, long column)
    {
        const _variant_t v = rs->GetFields()->GetItem(_variant_t(column))->GetValue();
        return V_VT(&v) == VT_BSTR ? std::wstring(V_BSTR(&v), SysStringLen(V_BSTR(&v))) : L"<not text>";
    }

    testdb::Folder folder;
    std::wstring path = folder.Path(L"abc.mp3");
    size_t held = 0;
};

TEST_F(AdoSharedRows, TwoRecordsetsOfOneQueryShareTheRowsAndMoveIndependently)
{
    testdb::Make(path, kThreeRows);
    _ConnectionPtr first = testdb::OpenConnection(path);
    _ConnectionPtr second = testdb::OpenConnection(path);
    _RecordsetPtr a = testdb::OpenRecordset(first, L"select * from t");
    _RecordsetPtr b = testdb::OpenRecordset(second, L"select * from t");
    EXPECT_EQ(held + 1, ado::SharedResultCount());   // one copy for both

    a->MoveFirst();
    b->MoveFirst();
    a->MoveNext();
    a->MoveNext();
    EXPECT_EQ(L"三", Text(a, 1));
    EXPECT_EQ(L"一", Text(b, 1));
    b->MoveNext();
    EXPECT_EQ(L"二", Text(b, 1));
    EXPECT_EQ(L"三", Text(a, 1));
    a->MoveNext();
    EXPECT_TRUE(a->GetEOF());
    EXPECT_FALSE(b->GetEOF());
    EXPECT_EQ(L"ji6", Text(b, 2));

    // Closing one leaves the other its rows and its place.
    a->Close();
    EXPECT_EQ(adStateClosed, a->GetState());
    EXPECT_EQ(3, b->GetRecordCount());
    EXPECT_EQ(L"二", Text(b, 1));
    EXPECT_EQ((std::vector<std::wstring>{L"jat1", L"ji6", L"saam1"}), Column(b, 2));

    // Opened again, the closed one shares once more and starts on the first row.
    a->Open(L"select * from t", _variant_t(static_cast<IDispatch*>(first.GetInterfacePtr())), adOpenStatic,
            adLockReadOnly, adCmdText);
    EXPECT_EQ(held + 1, ado::SharedResultCount());
    EXPECT_EQ(L"一", Text(a, 1));
}

TEST_F(AdoSharedRows, TheLastHolderToLetGoFreesTheRows)
{
    testdb::Make(path, kThreeRows);
    _ConnectionPtr connection = testdb::OpenConnection(path);
    _RecordsetPtr a = testdb::OpenRecordset(connection, L"select * from t");
    _RecordsetPtr b = testdb::OpenRecordset(connection, L"select * from t");
    FieldPtr phonetic = b->GetFields()->GetItem(_variant_t(2L));
    EXPECT_EQ(held + 1, ado::SharedResultCount());

    a = nullptr;
    EXPECT_EQ(held + 1, ado::SharedResultCount());
    b = nullptr;   // the Field still holds its recordset, and so the rows
    EXPECT_EQ(held + 1, ado::SharedResultCount());
    EXPECT_EQ(L"jat1", std::wstring(_bstr_t(phonetic->GetValue())));
    phonetic = nullptr;
    EXPECT_EQ(held, ado::SharedResultCount());

    // Nothing is kept for a later recordset: it reads the file again.
    _RecordsetPtr c = testdb::OpenRecordset(connection, L"select * from t");
    EXPECT_EQ(held + 1, ado::SharedResultCount());
    EXPECT_EQ(3, c->GetRecordCount());
}

TEST_F(AdoSharedRows, AFileChangedThroughSqliteIsReadAfresh)
{
    testdb::Make(path, kThreeRows);
    _ConnectionPtr old = testdb::OpenConnection(path);
    _RecordsetPtr before = testdb::OpenRecordset(old, L"select * from t");
    old->Close();   // the recordset keeps its rows; the file is free to be written

    testdb::Make(path, "UPDATE t SET ph = 'sei3' WHERE id = 2; INSERT INTO t VALUES (4, '四', 'sei3');");
    _RecordsetPtr after = testdb::OpenRecordset(testdb::OpenConnection(path), L"select * from t");
    EXPECT_EQ((std::vector<std::wstring>{L"jat1", L"sei3", L"saam1", L"sei3"}), Column(after, 2));
    EXPECT_EQ((std::vector<std::wstring>{L"jat1", L"ji6", L"saam1"}), Column(before, 2));
    EXPECT_EQ(held + 2, ado::SharedResultCount());
}

TEST_F(AdoSharedRows, AFileRewrittenToTheSameSizeHeaderAndTimeIsReadAfresh)
{
    // Two databases made alike, differing in one character of one row: same size,
    // same header (change counter, schema cookie, page count).
    const std::wstring other = folder.Path(L"other.db");
    testdb::Make(path, kThreeRows);
    std::string same(kThreeRows);
    same.replace(same.find("saam1"), 5, "saam2");
    testdb::Make(other, same.c_str());
    const std::string oldBytes = testdb::ReadBytes(path);
    const std::string newBytes = testdb::ReadBytes(other);
    ASSERT_EQ(oldBytes.size(), newBytes.size());
    ASSERT_EQ(oldBytes.substr(0, 100), newBytes.substr(0, 100));
    ASSERT_NE(oldBytes, newBytes);

    _ConnectionPtr connection = testdb::OpenConnection(path);
    _RecordsetPtr before = testdb::OpenRecordset(connection, L"select * from t");
    connection->Close();
    FILETIME written{};
    {
        HANDLE h = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
        ASSERT_NE(INVALID_HANDLE_VALUE, h);
        GetFileTime(h, nullptr, nullptr, &written);
        CloseHandle(h);
    }
    testdb::WriteBytes(path, newBytes);
    {
        HANDLE h = CreateFileW(path.c_str(), FILE_WRITE_ATTRIBUTES, 0, nullptr, OPEN_EXISTING, 0, nullptr);
        ASSERT_NE(INVALID_HANDLE_VALUE, h);
        EXPECT_TRUE(SetFileTime(h, nullptr, nullptr, &written));
        CloseHandle(h);
    }

    _RecordsetPtr after = testdb::OpenRecordset(testdb::OpenConnection(path), L"select * from t");
    EXPECT_EQ((std::vector<std::wstring>{L"jat1", L"ji6", L"saam2"}), Column(after, 2));
    EXPECT_EQ((std::vector<std::wstring>{L"jat1", L"ji6", L"saam1"}), Column(before, 2));
}

TEST_F(AdoSharedRows, OnlyRowsThatFollowFromTheFileAloneAreShared)
{
    testdb::Make(path, kThreeRows);
    _ConnectionPtr connection = testdb::OpenConnection(path);
    // Another query is another table.
    _RecordsetPtr all = testdb::OpenRecordset(connection, L"select * from t");
    _RecordsetPtr some = testdb::OpenRecordset(connection, L"select ch from t");
    EXPECT_EQ(held + 2, ado::SharedResultCount());
    // A function may give other values each time (random(), the time of day): such
    // rows are each recordset's own.
    _RecordsetPtr drawn1 = testdb::OpenRecordset(connection, L"select ch, random() from t");
    _RecordsetPtr drawn2 = testdb::OpenRecordset(connection, L"select ch, random() from t");
    EXPECT_EQ(held + 2, ado::SharedResultCount());
    EXPECT_NE(Column(drawn1, 1), Column(drawn2, 1));
    EXPECT_EQ(Column(drawn1, 0), Column(some, 0));
}

}  // namespace
