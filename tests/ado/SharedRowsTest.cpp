// Recordsets of one query on one unchanged file share one copy of the rows: each
// keeps its own position, a file changed since is read afresh, and rows that do not
// follow from the file alone are each recordset's own.
#include "TestDatabase.h"

#include <gtest/gtest.h>

using testdb::Column;

namespace {

const char kThreeRows[] =
    "CREATE TABLE t (id INTEGER PRIMARY KEY, ch TEXT, ph TEXT);"
    "INSERT INTO t VALUES (1, '一', 'jat1'), (2, '二', 'ji6'), (3, '三', 'saam1');";

class AdoSharedRows : public ::testing::Test {
protected:
    void SetUp() override { testdb::InitCom(); }

    static std::wstring Text(const _RecordsetPtr& rs, long column)
    {
        const _variant_t v = rs->GetFields()->GetItem(_variant_t(column))->GetValue();
        return V_VT(&v) == VT_BSTR ? std::wstring(V_BSTR(&v), SysStringLen(V_BSTR(&v))) : L"<not text>";
    }

    testdb::Folder folder;
    std::wstring path = folder.Path(L"abc.mp3");
};

TEST_F(AdoSharedRows, TwoRecordsetsOfOneQueryMoveIndependently)
{
    testdb::Make(path, kThreeRows);
    _RecordsetPtr a = testdb::OpenRecordset(testdb::OpenConnection(path), L"select * from t");
    _RecordsetPtr b = testdb::OpenRecordset(testdb::OpenConnection(path), L"select * from t");

    a->MoveFirst();
    b->MoveFirst();
    a->MoveNext();
    a->MoveNext();
    EXPECT_EQ(L"三", Text(a, 1));
    EXPECT_EQ(L"一", Text(b, 1));
    b->MoveNext();
    EXPECT_EQ(L"二", Text(b, 1));
    a->MoveNext();
    EXPECT_TRUE(a->GetEOF());
    EXPECT_FALSE(b->GetEOF());

    // Closing one leaves the other its rows and its place.
    a->Close();
    EXPECT_EQ(3, b->GetRecordCount());
    EXPECT_EQ(L"二", Text(b, 1));
    EXPECT_EQ((std::vector<std::wstring>{L"jat1", L"ji6", L"saam1"}), Column(b, 2));
}

TEST_F(AdoSharedRows, AFileChangedSinceIsReadAfresh)
{
    testdb::Make(path, kThreeRows);
    _RecordsetPtr before = testdb::OpenRecordset(testdb::OpenConnection(path), L"select * from t");

    testdb::Make(path, "UPDATE t SET ph = 'sei3' WHERE id = 2; INSERT INTO t VALUES (4, '四', 'sei3');");
    _RecordsetPtr after = testdb::OpenRecordset(testdb::OpenConnection(path), L"select * from t");
    EXPECT_EQ((std::vector<std::wstring>{L"jat1", L"sei3", L"saam1", L"sei3"}), Column(after, 2));
    EXPECT_EQ((std::vector<std::wstring>{L"jat1", L"ji6", L"saam1"}), Column(before, 2));
}

TEST_F(AdoSharedRows, RowsOfAFunctionAreEachRecordsetsOwn)
{
    // random() (or the time of day) may give other values each time.
    testdb::Make(path, kThreeRows);
    _ConnectionPtr connection = testdb::OpenConnection(path);
    _RecordsetPtr drawn1 = testdb::OpenRecordset(connection, L"select ch, random() from t");
    _RecordsetPtr drawn2 = testdb::OpenRecordset(connection, L"select ch, random() from t");
    EXPECT_NE(Column(drawn1, 1), Column(drawn2, 1));
    EXPECT_EQ(Column(drawn1, 0), Column(drawn2, 0));
}

}  // namespace
