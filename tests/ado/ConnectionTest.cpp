// The connection object: made the COM way, opening SQLite files strictly read-only,
// and failing on every kind of bad file with a description that names the file.
#include "TestDatabase.h"

#include <gtest/gtest.h>

using testdb::Catch;
using testdb::Utf8;

namespace {

const char kSmallTable[] =
    "CREATE TABLE cantonesePhonetic (id INTEGER PRIMARY KEY, Character TEXT, Phonetic TEXT);"
    "INSERT INTO cantonesePhonetic VALUES (1, '你', 'nei5'), (2, '好', 'hou2');";

class AdoConnection : public ::testing::Test {
protected:
    void SetUp() override { testdb::InitCom(); }
    testdb::Folder folder;
};

TEST_F(AdoConnection, IsMadeFromTheProgIdAndRunsAsThePhoneticDbMakesIt)
{
    CLSID clsid;
    ASSERT_EQ(S_OK, CLSIDFromProgID(L"ADODB.Connection", &clsid));
    EXPECT_TRUE(IsEqualCLSID(clsid, __uuidof(Connection)));

    for (const CLSID& cls : {__uuidof(Connection), __uuidof(Recordset)}) {
        IUnknown* unknown = nullptr;
        ASSERT_EQ(S_OK, CoCreateInstance(cls, nullptr, CLSCTX_INPROC_SERVER | CLSCTX_INPROC_HANDLER |
                                                           CLSCTX_LOCAL_SERVER, IID_IUnknown,
                                          reinterpret_cast<void**>(&unknown)));
        EXPECT_EQ(S_OK, OleRun(unknown));
        const IID& iid = IsEqualCLSID(cls, __uuidof(Connection)) ? __uuidof(_Connection) : __uuidof(_Recordset);
        IDispatch* object = nullptr;
        EXPECT_EQ(S_OK, unknown->QueryInterface(iid, reinterpret_cast<void**>(&object)));
        ISupportErrorInfo* support = nullptr;
        ASSERT_EQ(S_OK, unknown->QueryInterface(IID_ISupportErrorInfo, reinterpret_cast<void**>(&support)));
        EXPECT_EQ(S_OK, support->InterfaceSupportsErrorInfo(iid));
        EXPECT_EQ(S_FALSE, support->InterfaceSupportsErrorInfo(IID_IClassFactory));
        support->Release();
        object->Release();
        unknown->Release();
    }
    // Ours, not an ADO from the registry: that one could not read an SQLite file.
    const std::wstring path = folder.Path(L"abc.mp3");
    testdb::Make(path, kSmallTable);
    EXPECT_EQ(2, testdb::OpenRecordset(testdb::OpenConnection(path), L"select * from cantonesePhonetic")
                     ->GetRecordCount());
}

TEST_F(AdoConnection, RegisteringAgainChangesNothing)
{
    EXPECT_EQ(S_OK, ado::RegisterClassObjects());
    EXPECT_EQ(S_OK, ado::RegisterClassObjects());
    ado::RevokeClassObjects();   // as if the apartment had dropped them
    EXPECT_EQ(S_OK, ado::RegisterClassObjects());
    const std::wstring path = folder.Path(L"abc.mp3");
    testdb::Make(path, kSmallTable);
    EXPECT_EQ(2, testdb::OpenRecordset(testdb::OpenConnection(path), L"select * from cantonesePhonetic")
                     ->GetRecordCount());
}

TEST_F(AdoConnection, OpensAnSqliteFileWithoutWritingToIt)
{
    const std::wstring path = folder.Path(L"abc.mp3");
    testdb::Make(path, kSmallTable);
    const std::string before = testdb::ReadBytes(path);

    _ConnectionPtr connection = testdb::OpenConnection(path);
    testdb::Column(testdb::OpenRecordset(connection, L"select * from cantonesePhonetic"), 1);
    connection = nullptr;   // lets go of the file

    EXPECT_EQ(before, testdb::ReadBytes(path));
    EXPECT_FALSE(testdb::Exists(path + L"-journal"));
    EXPECT_FALSE(testdb::Exists(path + L"-wal"));
}

TEST_F(AdoConnection, DatabaseInWalModeIsReadWithoutMakingFilesBesideIt)
{
    const std::wstring path = folder.Path(L"abc.mp3");
    testdb::Make(path, (std::string("PRAGMA journal_mode = WAL;") + kSmallTable).c_str());
    ASSERT_EQ(2, testdb::ReadBytes(path)[18]);   // the header says WAL
    const std::string before = testdb::ReadBytes(path);
    _ConnectionPtr connection = testdb::OpenConnection(path);
    EXPECT_EQ((std::vector<std::wstring>{L"nei5", L"hou2"}),
              testdb::Column(testdb::OpenRecordset(connection, L"select * from cantonesePhonetic"), 2));
    connection = nullptr;
    EXPECT_FALSE(testdb::Exists(path + L"-wal"));
    EXPECT_FALSE(testdb::Exists(path + L"-shm"));
    EXPECT_EQ(before, testdb::ReadBytes(path));
}

TEST_F(AdoConnection, MissingFileFailsAndIsNeverCreated)
{
    const std::wstring path = folder.Path(L"abc.mp3");
    _ConnectionPtr connection = testdb::NewConnection();
    const auto failure = Catch([&] { connection->Open(testdb::ConnectionString(path).c_str(), L"", L"", 0); });
    ASSERT_TRUE(failure.thrown);
    EXPECT_TRUE(FAILED(failure.hr));
    EXPECT_CONTAINS(failure.description, L"无法打开数据库文件 " + path);
    EXPECT_CONTAINS(failure.description, L"文件不存在");
    EXPECT_FALSE(testdb::Exists(path));
    EXPECT_FALSE(testdb::Exists(path + L"-journal"));
}

struct BadFile {
    const char* name;
    std::string bytes;
    const wchar_t* reason;
};

TEST_F(AdoConnection, FilesThatAreNotDatabasesFailWithTheirReason)
{
    const std::wstring good = folder.Path(L"good.db");
    testdb::Make(good, kSmallTable);
    const std::string database = testdb::ReadBytes(good);
    const BadFile cases[] = {
        {"empty", "", L"文件是空的"},
        {"text", std::string(4096, 'x'), L"不是 SQLite 数据库"},
        {"mp3", "ID3\x03\x00\x00\x00\x00\x00\x00" + std::string(2000, '\x55'), L"不是 SQLite 数据库"},
        {"header only", database.substr(0, 100), L"已损坏或不完整"},
    };
    for (const BadFile& c : cases) {
        SCOPED_TRACE(c.name);
        const std::wstring path = folder.Path(L"abc.mp3");
        testdb::WriteBytes(path, c.bytes);
        const auto failure = Catch([&] { testdb::OpenConnection(path); });
        ASSERT_TRUE(failure.thrown);
        EXPECT_EQ(E_FAIL, failure.hr);
        EXPECT_CONTAINS(failure.description, L"无法打开数据库文件 " + path);
        EXPECT_CONTAINS(failure.description, c.reason);
        EXPECT_EQ(c.bytes, testdb::ReadBytes(path));
    }
}

TEST_F(AdoConnection, FileHeldExclusivelyByAnotherProgramFailsAtOnce)
{
    const std::wstring path = folder.Path(L"abc.mp3");
    testdb::Make(path, kSmallTable);
    HANDLE held = CreateFileW(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, held);
    const auto failure = Catch([&] { testdb::OpenConnection(path); });
    CloseHandle(held);
    ASSERT_TRUE(failure.thrown);
    EXPECT_CONTAINS(failure.description, L"独占");
    EXPECT_CONTAINS(failure.description, path);
}

TEST_F(AdoConnection, AFolderIsNotADatabase)
{
    const auto failure = Catch([&] { testdb::OpenConnection(folder.Path(L"")); });
    ASSERT_TRUE(failure.thrown);
    EXPECT_CONTAINS(failure.description, L"文件夹");
}

TEST_F(AdoConnection, ConnectionStringNeedsADataSource)
{
    _ConnectionPtr connection = testdb::NewConnection();
    const auto failure = Catch([&] { connection->Open(L"Provider=Microsoft.Jet.OLEDB.4.0", L"", L"", 0); });
    ASSERT_TRUE(failure.thrown);
    EXPECT_CONTAINS(failure.description, L"Data Source");
}

TEST_F(AdoConnection, DataSourceMayBeQuotedAndKeysIgnoreCaseAndBlanks)
{
    const std::wstring path = folder.Path(L"a;b 'c' 100%#1 字.db");
    testdb::Make(path, kSmallTable);
    // Each opens the file, or throws.
    testdb::NewConnection()->Open((L"Provider=x; data SOURCE = \"" + path + L"\" ;Persist Security Info=False").c_str(),
                                  L"", L"", 0);
    // Single quotes, a doubled quote inside standing for one.
    std::wstring quoted;
    for (wchar_t c : path)
        quoted += c == L'\'' ? std::wstring(L"''") : std::wstring(1, c);
    testdb::NewConnection()->Open((L"Data Source='" + quoted + L"'").c_str(), L"", L"", 0);
}

TEST_F(AdoConnection, OpeningTwiceIsAnErrorThatLeavesItOpen)
{
    const std::wstring path = folder.Path(L"abc.mp3");
    testdb::Make(path, kSmallTable);
    _ConnectionPtr connection = testdb::OpenConnection(path);
    const auto again = Catch([&] { connection->Open(testdb::ConnectionString(path).c_str(), L"", L"", 0); });
    EXPECT_EQ(AdoHResult(adErrObjectOpen), again.hr);
    EXPECT_EQ(2, testdb::OpenRecordset(connection, L"select * from cantonesePhonetic")->GetRecordCount());
}

}  // namespace
