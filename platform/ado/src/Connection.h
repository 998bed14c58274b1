// ADODB.Connection over one SQLite file. The connection string's Data Source names
// the file; the Provider it names is not consulted (the engine is always SQLite),
// and UserID/Password have no meaning for SQLite files. The file is opened
// read-only: a missing file fails, it is never created.
#pragma once

#include "ComBase.h"

struct sqlite3;

namespace ado::detail {

class ConnectionObject final : public DispatchOnly<_Connection>, public ISupportErrorInfo {
public:
    // A new, closed connection, queried for riid.
    static HRESULT Create(REFIID riid, void** ppv);
    // The ConnectionObject behind p with a reference added, or null when p is not one.
    static ConnectionObject* From(IUnknown* p);

    sqlite3* Database() const { return m_db; }
    const std::wstring& DataSource() const { return m_dataSource; }

    HRESULT __stdcall QueryInterface(REFIID riid, void** ppv) override;
    ULONG __stdcall AddRef() override;
    ULONG __stdcall Release() override;
    HRESULT __stdcall InterfaceSupportsErrorInfo(REFIID riid) override;

    HRESULT __stdcall get_ConnectionString(BSTR* pbstr) override;
    HRESULT __stdcall put_ConnectionString(BSTR bstr) override;
    HRESULT __stdcall get_CommandTimeout(long* plTimeout) override;
    HRESULT __stdcall put_CommandTimeout(long lTimeout) override;
    HRESULT __stdcall get_ConnectionTimeout(long* plTimeout) override;
    HRESULT __stdcall put_ConnectionTimeout(long lTimeout) override;
    HRESULT __stdcall get_Version(BSTR* pbstr) override;
    HRESULT __stdcall raw_Close() override;
    HRESULT __stdcall raw_Execute(BSTR, VARIANT*, long, _Recordset**) override;
    HRESULT __stdcall raw_BeginTrans(long*) override;
    HRESULT __stdcall raw_CommitTrans() override;
    HRESULT __stdcall raw_RollbackTrans() override;
    HRESULT __stdcall raw_Open(BSTR ConnectionString, BSTR UserID, BSTR Password, long Options) override;
    HRESULT __stdcall get_Errors(IDispatch**) override;
    HRESULT __stdcall get_DefaultDatabase(BSTR*) override;
    HRESULT __stdcall put_DefaultDatabase(BSTR) override;
    HRESULT __stdcall get_IsolationLevel(long*) override;
    HRESULT __stdcall put_IsolationLevel(long) override;
    HRESULT __stdcall get_Attributes(long*) override;
    HRESULT __stdcall put_Attributes(long) override;
    HRESULT __stdcall get_CursorLocation(CursorLocationEnum* plCursorLoc) override;
    HRESULT __stdcall put_CursorLocation(CursorLocationEnum lCursorLoc) override;
    HRESULT __stdcall get_Mode(long*) override;
    HRESULT __stdcall put_Mode(long) override;
    HRESULT __stdcall get_Provider(BSTR*) override;
    HRESULT __stdcall put_Provider(BSTR) override;
    HRESULT __stdcall get_State(long* plObjState) override;
    HRESULT __stdcall raw_OpenSchema(long, VARIANT, VARIANT, _Recordset**) override;
    HRESULT __stdcall raw_Cancel() override;

private:
    ConnectionObject() = default;
    ~ConnectionObject();
    HRESULT Fail(HRESULT hr, const std::wstring& description);
    HRESULT NotAvailable(const wchar_t* member);

    ULONG m_refs = 1;
    std::wstring m_dataSource;
    sqlite3* m_db = nullptr;
};

}  // namespace ado::detail
