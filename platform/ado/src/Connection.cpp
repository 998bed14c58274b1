#include "Connection.h"
#include "ConnectionString.h"
#include "SqliteFile.h"

#include <new>

namespace ado::detail {
namespace {

// Asked for this IID, a ConnectionObject gives itself: how a recordset recognises
// the connections of this library. Never leaves the library.
// {6C1D3A52-8F0B-4E57-9A43-2B7E41C0D915}
constexpr IID kIidConnectionObject = {0x6c1d3a52, 0x8f0b, 0x4e57, {0x9a, 0x43, 0x2b, 0x7e, 0x41, 0xc0, 0xd9, 0x15}};

constexpr wchar_t kSource[] = L"ADODB.Connection";

}  // namespace

HRESULT ConnectionObject::Create(REFIID riid, void** ppv)
{
    auto* p = new (std::nothrow) ConnectionObject;
    if (!p)
        return E_OUTOFMEMORY;
    const HRESULT hr = p->QueryInterface(riid, ppv);
    p->Release();
    return hr;
}

ConnectionObject* ConnectionObject::From(IUnknown* p)
{
    void* self = nullptr;
    if (!p || FAILED(p->QueryInterface(kIidConnectionObject, &self)))
        return nullptr;
    return static_cast<ConnectionObject*>(self);
}

ConnectionObject::~ConnectionObject()
{
    CloseDatabase(m_db);
}

HRESULT ConnectionObject::QueryInterface(REFIID riid, void** ppv)
{
    if (!ppv)
        return E_POINTER;
    if (IsOneOf(riid, {&IID_IUnknown, &IID_IDispatch, &__uuidof(_ADO), &__uuidof(Connection15),
                       &__uuidof(_Connection)}))
        *ppv = static_cast<_Connection*>(this);
    else if (IsEqualIID(riid, IID_ISupportErrorInfo))
        *ppv = static_cast<ISupportErrorInfo*>(this);
    else if (IsEqualIID(riid, kIidConnectionObject))
        *ppv = this;
    else {
        *ppv = nullptr;
        return E_NOINTERFACE;
    }
    AddRef();
    return S_OK;
}

ULONG ConnectionObject::AddRef()
{
    return ++m_refs;   // apartment-bound, like the recordset
}

ULONG ConnectionObject::Release()
{
    const ULONG refs = --m_refs;
    if (refs == 0)
        delete this;
    return refs;
}

HRESULT ConnectionObject::InterfaceSupportsErrorInfo(REFIID riid)
{
    return IsOneOf(riid, {&__uuidof(_ADO), &__uuidof(Connection15), &__uuidof(_Connection)}) ? S_OK : S_FALSE;
}

HRESULT ConnectionObject::Fail(HRESULT hr, const std::wstring& description)
{
    return detail::Fail(hr, __uuidof(_Connection), kSource, description);
}

HRESULT ConnectionObject::NotAvailable(const wchar_t* member)
{
    return detail::NotAvailable(__uuidof(_Connection), kSource, member);
}

HRESULT ConnectionObject::raw_Open(BSTR ConnectionString, BSTR, BSTR, long)
{
    if (m_db)
        return Fail(AdoHResult(adErrObjectOpen), L"连接已经打开，不能再次打开。");
    const std::wstring connectionString(ConnectionString ? ConnectionString : L"", SysStringLen(ConnectionString));
    const auto source = ConnectionStringValue(connectionString, L"Data Source");
    if (!source || source->empty())
        return Fail(E_FAIL, L"连接字符串“" + connectionString + L"”中没有给出数据库文件（Data Source）。");
    std::wstring error;
    sqlite3* db = OpenDatabaseReadOnly(*source, &error);
    if (!db)
        return Fail(E_FAIL, error);
    m_db = db;
    m_dataSource = *source;
    return S_OK;
}

// Every recordset is a static client-side cursor, whatever is asked.
HRESULT ConnectionObject::put_CursorLocation(CursorLocationEnum)
{
    return S_OK;
}

HRESULT ConnectionObject::get_ConnectionString(BSTR*) { return NotAvailable(L"ConnectionString"); }
HRESULT ConnectionObject::put_ConnectionString(BSTR) { return NotAvailable(L"ConnectionString"); }
HRESULT ConnectionObject::get_CommandTimeout(long*) { return NotAvailable(L"CommandTimeout"); }
HRESULT ConnectionObject::put_CommandTimeout(long) { return NotAvailable(L"CommandTimeout"); }
HRESULT ConnectionObject::get_ConnectionTimeout(long*) { return NotAvailable(L"ConnectionTimeout"); }
HRESULT ConnectionObject::put_ConnectionTimeout(long) { return NotAvailable(L"ConnectionTimeout"); }
HRESULT ConnectionObject::get_Version(BSTR*) { return NotAvailable(L"Version"); }
HRESULT ConnectionObject::raw_Close() { return NotAvailable(L"Close"); }
HRESULT ConnectionObject::get_State(long*) { return NotAvailable(L"State"); }
HRESULT ConnectionObject::get_CursorLocation(CursorLocationEnum*) { return NotAvailable(L"CursorLocation"); }
HRESULT ConnectionObject::raw_Execute(BSTR, VARIANT*, long, _Recordset** pp)
{
    if (pp)
        *pp = nullptr;
    return NotAvailable(L"Execute");
}

HRESULT ConnectionObject::raw_BeginTrans(long*) { return NotAvailable(L"BeginTrans"); }
HRESULT ConnectionObject::raw_CommitTrans() { return NotAvailable(L"CommitTrans"); }
HRESULT ConnectionObject::raw_RollbackTrans() { return NotAvailable(L"RollbackTrans"); }
HRESULT ConnectionObject::get_Errors(IDispatch** pp)
{
    if (pp)
        *pp = nullptr;
    return NotAvailable(L"Errors");
}
HRESULT ConnectionObject::get_DefaultDatabase(BSTR*) { return NotAvailable(L"DefaultDatabase"); }
HRESULT ConnectionObject::put_DefaultDatabase(BSTR) { return NotAvailable(L"DefaultDatabase"); }
HRESULT ConnectionObject::get_IsolationLevel(long*) { return NotAvailable(L"IsolationLevel"); }
HRESULT ConnectionObject::put_IsolationLevel(long) { return NotAvailable(L"IsolationLevel"); }
HRESULT ConnectionObject::get_Attributes(long*) { return NotAvailable(L"Attributes"); }
HRESULT ConnectionObject::put_Attributes(long) { return NotAvailable(L"Attributes"); }
HRESULT ConnectionObject::get_Mode(long*) { return NotAvailable(L"Mode"); }
HRESULT ConnectionObject::put_Mode(long) { return NotAvailable(L"Mode"); }
HRESULT ConnectionObject::get_Provider(BSTR*) { return NotAvailable(L"Provider"); }
HRESULT ConnectionObject::put_Provider(BSTR) { return NotAvailable(L"Provider"); }
HRESULT ConnectionObject::raw_OpenSchema(long, VARIANT, VARIANT, _Recordset** pp)
{
    if (pp)
        *pp = nullptr;
    return NotAvailable(L"OpenSchema");
}
HRESULT ConnectionObject::raw_Cancel() { return NotAvailable(L"Cancel"); }

}  // namespace ado::detail
