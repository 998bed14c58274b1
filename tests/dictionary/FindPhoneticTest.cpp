// FindPhonetic: from the first row, the first row whose column 1 is exactly the
// character; the recordset is left on it, or past the end when there is none.
#include "DictionaryTest.h"
#include "dictionary/FindPhonetic.h"
#include "dictionary/PhoneticDb.h"
#include "support/MessageBoxes.h"
#include "tests/ado/TestDatabase.h"

#include <gtest/gtest.h>

namespace {

const HRESULT kNoCurrentRecord = 0x800A0BCD;

// Made before the CPhoneticDb, which connects as it is made.
struct ScanDictionary {
    ScanDictionary()
    {
        WriteTable("(1, '你', 'nei5'), (2, '行', 'hang4'), (3, '行', 'hong4'), (4, 'a ', 'a-blank1'),"
                  " (5, 'A', 'upper1'), (6, NULL, 'null1'), (7, 42, 'number1'), (8, 'a', 'lower1'),"
                  " (9, '𠀀', 'pair1'), (10, '你好', 'two1'), (11, '好', 'hou2')");
    }
};

class FindPhoneticScan : public ::testing::Test {
protected:
    void SetUp() override
    {
        db.OpenRecordset(_bstr_t("select * from cantonesePhonetic"));
        ASSERT_EQ(adStateOpen, db.m_pRecordset->GetState());
    }

    // The id in column 0 of the current row; the ids count the rows from 1.
    long Position() { return static_cast<long>(db.m_pRecordset->GetFields()->GetItem(_variant_t(0L))->GetValue()); }

    ScanDictionary dictionary;
    CPhoneticDb db;
};

TEST_F(FindPhoneticScan, FindsTheFirstOfSeveralRowsAndStaysOnIt)
{
    ASSERT_TRUE(FindPhonetic(db.m_pRecordset, L"行"));
    EXPECT_EQ(2, Position());
    EXPECT_EQ(CString(L"hang4"), ReadPhonetic(db.m_pRecordset));
    // Every scan starts again from the first row.
    ASSERT_TRUE(FindPhonetic(db.m_pRecordset, L"你"));
    EXPECT_EQ(1, Position());
    ASSERT_TRUE(FindPhonetic(db.m_pRecordset, L"行"));
    EXPECT_EQ(2, Position());
}

TEST_F(FindPhoneticScan, FindsTheLastRowAndPassesOverValuesThatAreNotText)
{
    ASSERT_TRUE(FindPhonetic(db.m_pRecordset, L"好"));
    EXPECT_EQ(11, Position());
    EXPECT_EQ(CString(L"hou2"), ReadPhonetic(db.m_pRecordset));
}

TEST_F(FindPhoneticScan, AbsentCharacterLeavesThePositionPastTheEnd)
{
    EXPECT_FALSE(FindPhonetic(db.m_pRecordset, L"龘"));
    EXPECT_TRUE(db.m_pRecordset->GetEOF());
    const auto failure = testdb::Catch([&] {
        db.m_pRecordset->GetFields()->GetItem(_variant_t(2L))->GetValue();
    });
    EXPECT_EQ(kNoCurrentRecord, failure.hr);
    EXPECT_TRUE(ReadPhonetic(db.m_pRecordset).IsEmpty());   // no throw for the caller
}

TEST_F(FindPhoneticScan, ComparesWholeValuesCodeUnitByCodeUnit)
{
    struct Case {
        const wchar_t* ch;
        const wchar_t* found;   // nullptr: not found
    } cases[] = {
        {L"a", L"lower1"},   // not 'a ' with its blank
        {L"A", L"upper1"},   // case counts
        {L"好", L"hou2"},     // not '你好'
        {L"\xD840", nullptr}, // halves of a character beyond the BMP never match
        {L"\xDC00", nullptr},
        {L"4", nullptr},     // the number 42 is not text
        {L" ", nullptr},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(Utf8(c.ch));
        const bool found = FindPhonetic(db.m_pRecordset, c.ch);
        EXPECT_EQ(c.found != nullptr, found);
        if (c.found)
            EXPECT_EQ(CString(c.found), ReadPhonetic(db.m_pRecordset));
        else
            EXPECT_TRUE(db.m_pRecordset->GetEOF());
    }
}

TEST_F(FindPhoneticScan, RecordsetThatCannotBeScannedIsNotFound)
{
    _RecordsetPtr none;
    EXPECT_FALSE(FindPhonetic(none, L"你"));
    EXPECT_TRUE(ReadPhonetic(none).IsEmpty());

    _RecordsetPtr closed;
    closed.CreateInstance(__uuidof(Recordset));
    EXPECT_FALSE(FindPhonetic(closed, L"你"));
    EXPECT_TRUE(ReadPhonetic(closed).IsEmpty());

    db.m_pRecordset->Close();
    EXPECT_FALSE(FindPhonetic(db.m_pRecordset, L"你"));
}

TEST_F(FindPhoneticScan, EmptyTableIsNotFoundWithoutAnError)
{
    db.m_pRecordset = nullptr;   // lets go of the file, so that it can be replaced
    db.m_pConnection = nullptr;
    WriteDictionarySql("CREATE TABLE cantonesePhonetic (id INTEGER PRIMARY KEY, Character TEXT, Phonetic TEXT);");
    CPhoneticDb empty;
    empty.OpenRecordset(_bstr_t("select * from cantonesePhonetic"));
    ASSERT_EQ(adStateOpen, empty.m_pRecordset->GetState());
    EXPECT_FALSE(FindPhonetic(empty.m_pRecordset, L"你"));
    EXPECT_TRUE(ReadPhonetic(empty.m_pRecordset).IsEmpty());
    EXPECT_EQ(0u, Boxes().Count());
}

TEST_F(FindPhoneticScan, TwoColumnsAreEnoughToFindButNotToRead)
{
    _ConnectionPtr connection = testdb::OpenConnection(kDictionaryPath);
    _RecordsetPtr rs = testdb::OpenRecordset(connection, L"select id, Character from cantonesePhonetic");
    EXPECT_TRUE(FindPhonetic(rs, L"你"));
    EXPECT_TRUE(ReadPhonetic(rs).IsEmpty());
}

}  // namespace
