// Small real SQLite files for the tests, made with SQLite itself in a folder of
// their own that is removed afterwards.
#pragma once

#include <ado.h>
#include <string>
#include <vector>

namespace testdb {

// A fresh, empty folder under the temporary folder, named after the running test;
// its name has Chinese in it, so paths that are not ASCII are exercised too.
class Folder {
public:
    Folder();
    ~Folder();
    std::wstring Path(const std::wstring& file) const { return m_path + L"\\" + file; }

private:
    std::wstring m_path;
};

// Creates an SQLite database at path and runs sql (several statements) in it.
void Make(const std::wstring& path, const char* sql);

// Writes bytes to path as they are (for files that are not databases).
void WriteBytes(const std::wstring& path, const std::string& bytes);
std::string ReadBytes(const std::wstring& path);
bool Exists(const std::wstring& path);

std::wstring ConnectionString(const std::wstring& path);

// COM initialised and the ADO objects registered, once per test program.
void InitCom();

// A new connection object, made as COM clients make it (CoCreateInstance), closed.
_ConnectionPtr NewConnection();
// A connection opened on path with a client-side cursor; throws _com_error.
_ConnectionPtr OpenConnection(const std::wstring& path);
// The recordset of query on connection, opened as the program opens it.
_RecordsetPtr OpenRecordset(const _ConnectionPtr& connection, const std::wstring& query);

// Column `column` of every row from the first, as text ("<null>" for NULL,
// "<i4:N>" for numbers and so on), walking with MoveFirst/MoveNext.
std::vector<std::wstring> Column(const _RecordsetPtr& rs, long column);

std::string Utf8(const std::wstring& s);   // for readable failure messages

inline bool Contains(const std::wstring& text, const std::wstring& part)
{
    return text.find(part) != std::wstring::npos;
}

#define EXPECT_CONTAINS(text, part)                                                                  \
    EXPECT_TRUE(testdb::Contains(text, part))                                                        \
        << "\"" << testdb::Utf8(text) << "\" lacks \"" << testdb::Utf8(part) << "\""

// What a call threw: its HRESULT and the description from its IErrorInfo.
struct Failure {
    bool thrown = false;
    HRESULT hr = S_OK;
    std::wstring description;
};
template <class Call>
Failure Catch(Call&& call)
{
    try {
        call();
    } catch (const _com_error& e) {
        const _bstr_t description = e.Description();
        return {true, e.Error(), description.length() ? std::wstring(description, description.length()) : L""};
    }
    return {};
}

}  // namespace testdb
