#include "TestDatabase.h"

#include "support/MessageBoxes.h"

#include <gtest/gtest.h>
#include <sqlite3.h>

namespace testdb {

std::string Utf8(const std::wstring& s)
{
    return ::Utf8(s);
}

static std::wstring Wide(const std::string& s)
{
    const int n = MultiByteToWideChar(CP_UTF8, 0, s.data(), static_cast<int>(s.size()), nullptr, 0);
    std::wstring out(n, L'\0');
    MultiByteToWideChar(CP_UTF8, 0, s.data(), static_cast<int>(s.size()), out.data(), n);
    return out;
}

static void RemoveTree(const std::wstring& dir)
{
    WIN32_FIND_DATAW fd;
    HANDLE h = FindFirstFileW((dir + L"\\*").c_str(), &fd);
    if (h != INVALID_HANDLE_VALUE) {
        do {
            const std::wstring name = fd.cFileName;
            if (name == L"." || name == L"..")
                continue;
            const std::wstring path = dir + L"\\" + name;
            if (fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
                RemoveTree(path);
            else
                DeleteFileW(path.c_str());
        } while (FindNextFileW(h, &fd));
        FindClose(h);
    }
    RemoveDirectoryW(dir.c_str());
}

Folder::Folder()
{
    wchar_t temp[MAX_PATH];
    GetTempPathW(MAX_PATH, temp);
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    const std::string name = info ? std::string(info->test_suite_name()) + "." + info->name() : "test";
    m_path = std::wstring(temp) + L"词典测试-" + std::to_wstring(GetCurrentProcessId()) + L"-" + Wide(name);
    RemoveTree(m_path);
    CreateDirectoryW(m_path.c_str(), nullptr);
}

Folder::~Folder()
{
    RemoveTree(m_path);
}

void Make(const std::wstring& path, const char* sql)
{
    sqlite3* db = nullptr;
    ASSERT_EQ(SQLITE_OK, sqlite3_open_v2(Utf8(path).c_str(), &db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE,
                                         nullptr));
    char* error = nullptr;
    const int rc = sqlite3_exec(db, sql, nullptr, nullptr, &error);
    const std::string message = error ? error : "";
    sqlite3_free(error);
    sqlite3_close(db);
    ASSERT_EQ(SQLITE_OK, rc) << message;
}

void WriteBytes(const std::wstring& path, const std::string& bytes)
{
    HANDLE h = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, h);
    DWORD written = 0;
    WriteFile(h, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    CloseHandle(h);
    ASSERT_EQ(bytes.size(), written);
}

std::string ReadBytes(const std::wstring& path)
{
    std::string bytes;
    HANDLE h = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                           FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE)
        return bytes;
    char buffer[65536];
    DWORD got = 0;
    while (ReadFile(h, buffer, sizeof buffer, &got, nullptr) && got > 0)
        bytes.append(buffer, got);
    CloseHandle(h);
    return bytes;
}

bool Exists(const std::wstring& path)
{
    return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

std::wstring ConnectionString(const std::wstring& path)
{
    return L"Provider=Microsoft.Jet.OLEDB.4.0;Data Source=" + path + L";Persist Security Info=False";
}

void InitCom()
{
    static const bool done = [] {
        CoInitialize(nullptr);
        return SUCCEEDED(ado::RegisterClassObjects());
    }();
    ASSERT_TRUE(done);
}

_ConnectionPtr NewConnection()
{
    InitCom();
    _ConnectionPtr connection;
    const HRESULT hr = connection.CreateInstance(__uuidof(Connection), nullptr, CLSCTX_INPROC_SERVER);
    EXPECT_EQ(S_OK, hr);
    return connection;
}

_ConnectionPtr OpenConnection(const std::wstring& path)
{
    _ConnectionPtr connection = NewConnection();
    connection->PutCursorLocation(adUseClient);
    connection->Open(ConnectionString(path).c_str(), L"", L"", 0);
    return connection;
}

_RecordsetPtr OpenRecordset(const _ConnectionPtr& connection, const std::wstring& query)
{
    _RecordsetPtr rs;
    EXPECT_EQ(S_OK, rs.CreateInstance(__uuidof(Recordset), nullptr, CLSCTX_INPROC_SERVER));
    rs->Open(query.c_str(), _variant_t(static_cast<IDispatch*>(connection.GetInterfacePtr())), adOpenDynamic,
             adLockOptimistic, adCmdText);
    return rs;
}

std::vector<std::wstring> Column(const _RecordsetPtr& rs, long column)
{
    std::vector<std::wstring> values;
    if (rs->GetRecordCount() == 0)
        return values;
    rs->MoveFirst();
    while (!rs->GetEOF()) {
        const _variant_t v = rs->GetFields()->GetItem(_variant_t(column))->GetValue();
        switch (V_VT(&v)) {
        case VT_BSTR: values.emplace_back(V_BSTR(&v), SysStringLen(V_BSTR(&v))); break;
        case VT_NULL: values.emplace_back(L"<null>"); break;
        case VT_I4: values.emplace_back(L"<i4:" + std::to_wstring(V_I4(&v)) + L">"); break;
        case VT_I8: values.emplace_back(L"<i8:" + std::to_wstring(V_I8(&v)) + L">"); break;
        case VT_R8: values.emplace_back(L"<r8:" + std::to_wstring(V_R8(&v)) + L">"); break;
        case VT_ARRAY | VT_UI1: values.emplace_back(L"<blob:" + std::to_wstring(V_ARRAY(&v)->rgsabound[0].cElements) + L">"); break;
        default: values.emplace_back(L"<vt:" + std::to_wstring(V_VT(&v)) + L">"); break;
        }
        rs->MoveNext();
    }
    return values;
}

}  // namespace testdb
