// CPhoneticDb: connects when it is made, opens its recordset on request, shows every
// failure in a message box and carries on; it never writes to the dictionary.
#include "DictionaryTest.h"
#include "dictionary/FindPhonetic.h"
#include "dictionary/PhoneticDb.h"
#include "support/MessageBoxes.h"
#include "tests/ado/TestDatabase.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

const _bstr_t kQuery("select * from cantonesePhonetic");

class PhoneticDb : public ::testing::Test {
protected:
    PhoneticDb() { RemoveDictionary(); }  // none until the test makes one
};

TEST_F(PhoneticDb, ConnectsWhenMadeAndOpensTheWholeTable)
{
    WriteTable("(1, '你', 'nei5'), (2, '好', 'hou2'), (3, '你', 'lei5')");
    CPhoneticDb db;
    ASSERT_TRUE(db.m_pConnection);
    EXPECT_FALSE(db.m_pRecordset);

    _RecordsetPtr& rs = db.OpenRecordset(kQuery);
    EXPECT_EQ(std::addressof(db.m_pRecordset), std::addressof(rs));   // (& would release it)
    ASSERT_TRUE(rs) << (Boxes().Count() ? Utf8(Boxes().Taken()[0].text) : "");
    EXPECT_EQ(adStateOpen, rs->GetState());
    EXPECT_EQ(3, rs->GetRecordCount());
    EXPECT_EQ((std::vector<std::wstring>{L"nei5", L"hou2", L"lei5"}), testdb::Column(rs, 2));
    EXPECT_EQ(0u, Boxes().Count()) << (Boxes().Count() ? Utf8(Boxes().Taken()[0].text) : "");
}

TEST_F(PhoneticDb, TwoInstancesHaveTheirOwnPositions)
{
    WriteTable("(1, '你', 'nei5'), (2, '好', 'hou2')");
    CPhoneticDb a, b;
    a.OpenRecordset(kQuery);
    b.OpenRecordset(kQuery);
    EXPECT_NE(a.m_pConnection.GetInterfacePtr(), b.m_pConnection.GetInterfacePtr());
    ASSERT_TRUE(FindPhonetic(a.m_pRecordset, L"好"));
    ASSERT_TRUE(FindPhonetic(b.m_pRecordset, L"你"));
    EXPECT_EQ(CString(L"hou2"), ReadPhonetic(a.m_pRecordset));
    EXPECT_EQ(CString(L"nei5"), ReadPhonetic(b.m_pRecordset));
}

TEST_F(PhoneticDb, MissingDictionaryShowsTwoBoxesPerInstanceAndNothingBreaks)
{
    {
        CPhoneticDb gameDb;   // as g_db: connects, fails, one box
        ASSERT_EQ(1u, Boxes().Count());
        CPhoneticDb windowDb;   // as the main window's m_db
        ASSERT_EQ(2u, Boxes().Count());
        for (CPhoneticDb* db : {&windowDb, &gameDb}) {
            // The connection object stays, not open, so no second Connect (and no extra box).
            ASSERT_TRUE(db->m_pConnection);
            db->OpenRecordset(kQuery);
            ASSERT_TRUE(db->m_pRecordset);
            EXPECT_EQ(adStateClosed, db->m_pRecordset->GetState());
            EXPECT_FALSE(FindPhonetic(db->m_pRecordset, L"你"));
            EXPECT_TRUE(ReadPhonetic(db->m_pRecordset).IsEmpty());
        }
    }
    ASSERT_EQ(4u, Boxes().Count());
    const auto& boxes = Boxes().Taken();
    for (size_t i : {0u, 1u}) {
        EXPECT_CONTAINS(boxes[i].text, std::wstring(L"无法打开数据库文件 ") + kDictionaryPath);
        EXPECT_CONTAINS(boxes[i].text, L"文件不存在");
    }
    for (size_t i : {2u, 3u})
        EXPECT_CONTAINS(boxes[i].text, L"select * from cantonesePhonetic");
    for (const auto& box : boxes) {
        EXPECT_EQ(ProgramName(), box.caption);
        EXPECT_EQ(std::vector<int>{IDOK}, box.buttons);
    }
    EXPECT_FALSE(testdb::Exists(kDictionaryPath));   // a missing file is never created
}

TEST_F(PhoneticDb, BadFilesAreReportedWithTheirReason)
{
    struct Case {
        const char* name;
        std::string bytes;
        const wchar_t* reason;
    } cases[] = {
        {"empty", "", L"文件是空的"},
        {"not a database", "ID3" + std::string(3000, '\x42'), L"不是 SQLite 数据库"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Boxes().Reset();
        WriteInstalledFile(kDictionaryPath, c.bytes);
        {
            CPhoneticDb db;
            db.OpenRecordset(kQuery);
            EXPECT_FALSE(FindPhonetic(db.m_pRecordset, L"你"));
        }
        ASSERT_EQ(2u, Boxes().Count());
        EXPECT_CONTAINS(Boxes().Taken()[0].text, c.reason);
        EXPECT_EQ(c.bytes, testdb::ReadBytes(kDictionaryPath));
    }
}

TEST_F(PhoneticDb, TableThatIsMissingOrLacksColumnsIsReportedOnce)
{
    struct Case {
        const char* name;
        const char* sql;
        const wchar_t* shown;
    } cases[] = {
        {"no table", "CREATE TABLE other (a, b, c);", L"no such table: cantonesePhonetic"},
        {"two columns", "CREATE TABLE cantonesePhonetic (id, Character); INSERT INTO cantonesePhonetic VALUES (1, '你');",
         L"只有 2 列"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Boxes().Reset();
        WriteDictionarySql(c.sql);
        CPhoneticDb db;
        EXPECT_EQ(0u, Boxes().Count());
        db.OpenRecordset(kQuery);
        ASSERT_EQ(1u, Boxes().Count());
        EXPECT_CONTAINS(Boxes().Taken()[0].text, c.shown);
        EXPECT_FALSE(FindPhonetic(db.m_pRecordset, L"你"));
        EXPECT_TRUE(ReadPhonetic(db.m_pRecordset).IsEmpty());
        EXPECT_EQ(1u, Boxes().Count());
    }
}

TEST_F(PhoneticDb, OpeningAgainReleasesTheOldRecordsetFirst)
{
    WriteTable("(1, '你', 'nei5')");
    CPhoneticDb db;
    db.OpenRecordset(kQuery);
    _Recordset* old = db.m_pRecordset.GetInterfacePtr();
    old->AddRef();
    db.OpenRecordset(kQuery);
    EXPECT_NE(old, db.m_pRecordset.GetInterfacePtr());
    EXPECT_EQ(0u, old->Release());   // ours was the last reference
    EXPECT_EQ(1, db.m_pRecordset->GetRecordCount());
}

TEST_F(PhoneticDb, LetsGoOfTheFileWhenDestroyedAndNeverWritesIt)
{
    WriteTable("(1, '你', 'nei5'), (2, '好', 'hou2')");
    const std::string before = testdb::ReadBytes(kDictionaryPath);
    {
        CPhoneticDb db;
        db.OpenRecordset(kQuery);
        FindPhonetic(db.m_pRecordset, L"好");
        FindPhonetic(db.m_pRecordset, L"無");
    }
    // Nothing of ours holds the file any more: it can be opened exclusively.
    HANDLE h = CreateFileW(kDictionaryPath, GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                           FILE_ATTRIBUTE_NORMAL, nullptr);
    EXPECT_NE(INVALID_HANDLE_VALUE, h);
    CloseHandle(h);
    EXPECT_EQ(before, testdb::ReadBytes(kDictionaryPath));
    EXPECT_FALSE(testdb::Exists(std::wstring(kDictionaryPath) + L"-journal"));
}

}  // namespace
