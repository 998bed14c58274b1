#include "Recordset.h"
#include "Connection.h"
#include "SharedRows.h"

#include <new>

namespace ado::detail {
namespace {

constexpr wchar_t kSource[] = L"ADODB.Recordset";

const VARIANT* Deref(const VARIANT* v)
{
    while (V_VT(v) == (VT_BYREF | VT_VARIANT) && V_VARIANTREF(v))
        v = V_VARIANTREF(v);
    return v;
}

bool IsMissing(const VARIANT* v)
{
    return V_VT(v) == VT_EMPTY || V_VT(v) == VT_NULL ||
           (V_VT(v) == VT_ERROR && V_ERROR(v) == DISP_E_PARAMNOTFOUND);
}

std::wstring QuotedName(const std::wstring& table)
{
    std::wstring quoted = L"\"";
    for (wchar_t c : table) {
        quoted += c;
        if (c == L'"')
            quoted += c;
    }
    return quoted + L"\"";
}

}  // namespace

HRESULT RecordsetObject::Create(REFIID riid, void** ppv)
{
    auto* p = new (std::nothrow) RecordsetObject;
    if (!p)
        return E_OUTOFMEMORY;
    const HRESULT hr = p->QueryInterface(riid, ppv);
    p->Release();
    return hr;
}

RecordsetObject::~RecordsetObject()
{
    SetActiveConnection(nullptr);
}

HRESULT RecordsetObject::QueryInterface(REFIID riid, void** ppv)
{
    if (!ppv)
        return E_POINTER;
    if (IsOneOf(riid, {&IID_IUnknown, &IID_IDispatch, &__uuidof(_ADO), &__uuidof(Recordset15),
                       &__uuidof(Recordset20), &__uuidof(Recordset21), &__uuidof(_Recordset)}))
        *ppv = static_cast<_Recordset*>(this);
    else if (IsEqualIID(riid, IID_ISupportErrorInfo))
        *ppv = static_cast<ISupportErrorInfo*>(this);
    else {
        *ppv = nullptr;
        return E_NOINTERFACE;
    }
    AddRef();
    return S_OK;
}

// Plain counts: the objects live in the apartment that made them (they cannot be
// marshalled), and a scan takes and drops four references per row.
ULONG RecordsetObject::AddRef()
{
    return AddOwnerRef();
}

ULONG RecordsetObject::Release()
{
    return ReleaseOwnerRef();
}

HRESULT RecordsetObject::InterfaceSupportsErrorInfo(REFIID riid)
{
    return IsOneOf(riid, {&__uuidof(_ADO), &__uuidof(Recordset15), &__uuidof(Recordset20),
                          &__uuidof(Recordset21), &__uuidof(_Recordset)})
               ? S_OK
               : S_FALSE;
}

HRESULT RecordsetObject::Fail(HRESULT hr, const std::wstring& description)
{
    return detail::Fail(hr, __uuidof(_Recordset), kSource, description);
}

HRESULT RecordsetObject::NotAvailable(const wchar_t* member)
{
    return detail::NotAvailable(__uuidof(_Recordset), kSource, member);
}

HRESULT RecordsetObject::FailIfClosed()
{
    return m_table ? S_OK : Fail(AdoHResult(adErrObjectClosed), L"记录集没有打开，不能进行这项操作。");
}

HRESULT RecordsetObject::NoCurrentRecord()
{
    return Fail(AdoHResult(adErrNoCurrentRecord),
                L"没有当前记录：记录集是空的，或者位置已在第一条之前（BOF）或最后一条之后（EOF）。");
}

void RecordsetObject::SetActiveConnection(ConnectionObject* connection)
{
    if (m_connection)
        m_connection->Release();
    m_connection = connection;
}

HRESULT RecordsetObject::raw_Open(VARIANT Source, VARIANT ActiveConnection, CursorTypeEnum, LockTypeEnum,
                                  long Options)
{
    if (m_table)
        return Fail(AdoHResult(adErrObjectOpen), L"记录集已经打开，不能再次打开。");

    const VARIANT* source = Deref(&Source);
    std::wstring text;
    if (V_VT(source) == VT_BSTR)
        text.assign(V_BSTR(source), SysStringLen(V_BSTR(source)));
    else if (IsMissing(source))
        text = m_source;
    else
        return Fail(AdoHResult(adErrInvalidArgument), L"Source 必须是查询语句（文本）。");
    if (text.empty())
        return Fail(AdoHResult(adErrInvalidArgument), L"没有给出要执行的查询（Source 是空的）。");

    const VARIANT* conn = Deref(&ActiveConnection);
    ConnectionObject* connection = nullptr;
    if (V_VT(conn) == VT_DISPATCH || V_VT(conn) == VT_UNKNOWN) {
        IUnknown* p = V_VT(conn) == VT_DISPATCH ? V_DISPATCH(conn) : V_UNKNOWN(conn);
        if (!p)
            return Fail(AdoHResult(adErrInvalidConnection), L"没有给出连接（ActiveConnection 是空的），无法执行查询“" + text + L"”。");
        connection = ConnectionObject::From(p);
        if (!connection)
            return Fail(AdoHResult(adErrInvalidConnection), L"ActiveConnection 不是本程序库的连接对象。");
    } else if (V_VT(conn) == VT_BSTR) {
        // A connection string: ADO opens a connection of the recordset's own.
        _Connection* fresh = nullptr;
        HRESULT hr = ConnectionObject::Create(__uuidof(_Connection), reinterpret_cast<void**>(&fresh));
        if (FAILED(hr))
            return Fail(hr, L"无法创建连接对象。");
        hr = fresh->raw_Open(V_BSTR(conn), nullptr, nullptr, adConnectUnspecified);
        if (FAILED(hr)) {   // the connection has set the error information
            fresh->Release();
            return hr;
        }
        connection = ConnectionObject::From(fresh);
        fresh->Release();
    } else if (IsMissing(conn) && m_connection) {
        m_connection->AddRef();
        connection = m_connection;
    } else {
        return Fail(AdoHResult(adErrInvalidConnection), L"没有给出连接（ActiveConnection），无法执行查询“" + text + L"”。");
    }
    if (!connection->Database()) {
        connection->Release();
        return Fail(AdoHResult(adErrInvalidConnection),
                    L"数据库连接没有打开，无法执行查询“" + text + L"”。");
    }

    const long commandType = Options == adCmdUnspecified ? long{adCmdUnknown}
                                                         : Options & (adCmdText | adCmdTable | adCmdStoredProc |
                                                                      adCmdUnknown | adCmdFile | adCmdTableDirect);
    std::wstring sql;
    switch (commandType) {
    case 0:
    case adCmdText:
    case adCmdUnknown:
        sql = text;
        break;
    case adCmdTable:
    case adCmdTableDirect:
        sql = L"SELECT * FROM " + QuotedName(text);
        break;
    default:
        connection->Release();
        return Fail(AdoHResult(adErrInvalidArgument),
                    L"不支持的命令类型（Options = " + std::to_wstring(Options) + L"）：只能是查询语句或表名。");
    }

    std::wstring error;
    SharedRows table = ReadRows(connection->Database(), connection->DataSource(), sql, &error);
    if (!table) {
        connection->Release();
        return Fail(E_FAIL, error);
    }
    for (size_t c = m_fields.size(); c < table->Columns(); ++c)
        m_fields.push_back(std::make_unique<FieldObject>(this, c));
    SetActiveConnection(connection);
    m_source = text;
    m_table = std::move(table);
    m_row = 0;
    m_cursorLocation = adUseClient;
    m_cursorType = adOpenStatic;
    m_lockType = adLockReadOnly;
    return S_OK;
}

HRESULT RecordsetObject::raw_Close()
{
    if (const HRESULT hr = FailIfClosed(); FAILED(hr))
        return hr;
    m_table.reset();
    m_row = 0;
    return S_OK;
}

HRESULT RecordsetObject::get_State(long* plObjState)
{
    if (!plObjState)
        return E_POINTER;
    *plObjState = m_table ? adStateOpen : adStateClosed;
    return S_OK;
}

HRESULT RecordsetObject::get_RecordCount(ADO_LONGPTR* pl)
{
    if (!pl)
        return E_POINTER;
    if (const HRESULT hr = FailIfClosed(); FAILED(hr))
        return hr;
    *pl = static_cast<ADO_LONGPTR>(m_table->Rows());
    return S_OK;
}

HRESULT RecordsetObject::get_BOF(VARIANT_BOOL* pb)
{
    if (!pb)
        return E_POINTER;
    if (const HRESULT hr = FailIfClosed(); FAILED(hr))
        return hr;
    *pb = (m_row < 0 || m_table->Rows() == 0) ? VARIANT_TRUE : VARIANT_FALSE;
    return S_OK;
}

HRESULT RecordsetObject::get_EOF(VARIANT_BOOL* pb)
{
    if (!pb)
        return E_POINTER;
    if (const HRESULT hr = FailIfClosed(); FAILED(hr))
        return hr;
    *pb = (m_row >= static_cast<ptrdiff_t>(m_table->Rows())) ? VARIANT_TRUE : VARIANT_FALSE;
    return S_OK;
}

HRESULT RecordsetObject::get_AbsolutePosition(PositionEnum_Param* pl)
{
    if (!pl)
        return E_POINTER;
    if (const HRESULT hr = FailIfClosed(); FAILED(hr))
        return hr;
    if (m_row < 0)
        *pl = adPosBOF;
    else if (m_row >= static_cast<ptrdiff_t>(m_table->Rows()))
        *pl = adPosEOF;
    else
        *pl = m_row + 1;
    return S_OK;
}

HRESULT RecordsetObject::raw_MoveFirst()
{
    if (const HRESULT hr = FailIfClosed(); FAILED(hr))
        return hr;
    if (m_table->Rows() == 0)
        return NoCurrentRecord();
    m_row = 0;
    return S_OK;
}

HRESULT RecordsetObject::raw_MoveLast()
{
    if (const HRESULT hr = FailIfClosed(); FAILED(hr))
        return hr;
    if (m_table->Rows() == 0)
        return NoCurrentRecord();
    m_row = static_cast<ptrdiff_t>(m_table->Rows()) - 1;
    return S_OK;
}

HRESULT RecordsetObject::raw_MoveNext()
{
    if (const HRESULT hr = FailIfClosed(); FAILED(hr))
        return hr;
    if (m_row >= static_cast<ptrdiff_t>(m_table->Rows()))
        return NoCurrentRecord();
    ++m_row;
    return S_OK;
}

HRESULT RecordsetObject::raw_MovePrevious()
{
    if (const HRESULT hr = FailIfClosed(); FAILED(hr))
        return hr;
    if (m_row < 0 || m_table->Rows() == 0)
        return NoCurrentRecord();
    --m_row;
    return S_OK;
}

HRESULT RecordsetObject::get_Fields(Fields** ppvObject)
{
    if (!ppvObject)
        return E_POINTER;
    m_fieldsObject.AddRef();
    *ppvObject = &m_fieldsObject;
    return S_OK;
}

HRESULT RecordsetObject::putref_ActiveConnection(IDispatch* pconn)
{
    if (m_table)
        return Fail(AdoHResult(adErrObjectOpen), L"记录集打开时不能更换连接。");
    ConnectionObject* connection = ConnectionObject::From(pconn);
    if (pconn && !connection)
        return Fail(AdoHResult(adErrInvalidConnection), L"ActiveConnection 不是本程序库的连接对象。");
    SetActiveConnection(connection);
    return S_OK;
}

HRESULT RecordsetObject::put_ActiveConnection(VARIANT vConn)
{
    const VARIANT* conn = Deref(&vConn);
    if (V_VT(conn) == VT_DISPATCH)
        return putref_ActiveConnection(V_DISPATCH(conn));
    if (IsMissing(conn))
        return putref_ActiveConnection(nullptr);
    return Fail(AdoHResult(adErrInvalidArgument), L"ActiveConnection 只能是连接对象。");
}

HRESULT RecordsetObject::get_ActiveConnection(VARIANT* pvar)
{
    if (!pvar)
        return E_POINTER;
    VariantInit(pvar);
    if (m_connection) {
        V_VT(pvar) = VT_DISPATCH;
        V_DISPATCH(pvar) = static_cast<_Connection*>(m_connection);
        m_connection->AddRef();
    }
    return S_OK;
}

HRESULT RecordsetObject::put_Source(BSTR bstrConn)
{
    if (m_table)
        return Fail(AdoHResult(adErrObjectOpen), L"记录集打开时不能更改查询。");
    m_source.assign(bstrConn ? bstrConn : L"", SysStringLen(bstrConn));
    return S_OK;
}

HRESULT RecordsetObject::get_Source(VARIANT* pvSource)
{
    if (!pvSource)
        return E_POINTER;
    VariantInit(pvSource);
    V_BSTR(pvSource) = SysAllocStringLen(m_source.data(), static_cast<UINT>(m_source.size()));
    if (!V_BSTR(pvSource))
        return E_OUTOFMEMORY;
    V_VT(pvSource) = VT_BSTR;
    return S_OK;
}

HRESULT RecordsetObject::get_CursorType(CursorTypeEnum* plCursorType)
{
    if (!plCursorType)
        return E_POINTER;
    *plCursorType = m_cursorType;
    return S_OK;
}

HRESULT RecordsetObject::put_CursorType(CursorTypeEnum lCursorType)
{
    if (m_table)
        return Fail(AdoHResult(adErrObjectOpen), L"记录集打开时不能更改游标类型。");
    m_cursorType = lCursorType;   // Open makes every cursor static
    return S_OK;
}

HRESULT RecordsetObject::get_LockType(LockTypeEnum* plLockType)
{
    if (!plLockType)
        return E_POINTER;
    *plLockType = m_lockType;
    return S_OK;
}

HRESULT RecordsetObject::put_LockType(LockTypeEnum)
{
    if (m_table)
        return Fail(AdoHResult(adErrObjectOpen), L"记录集打开时不能更改锁定类型。");
    return S_OK;   // the rows are read-only whatever is asked
}

HRESULT RecordsetObject::get_CursorLocation(CursorLocationEnum* plCursorLoc)
{
    if (!plCursorLoc)
        return E_POINTER;
    *plCursorLoc = m_cursorLocation;
    return S_OK;
}

HRESULT RecordsetObject::put_CursorLocation(CursorLocationEnum lCursorLoc)
{
    if (m_table)
        return Fail(AdoHResult(adErrObjectOpen), L"记录集打开时不能更改游标位置。");
    if (lCursorLoc != adUseServer && lCursorLoc != adUseClient)
        return Fail(AdoHResult(adErrInvalidArgument),
                    L"CursorLocation 只能是 adUseServer（2）或 adUseClient（3）。");
    m_cursorLocation = lCursorLoc;
    return S_OK;
}

HRESULT RecordsetObject::put_AbsolutePosition(PositionEnum_Param) { return NotAvailable(L"AbsolutePosition"); }
HRESULT RecordsetObject::get_Bookmark(VARIANT*) { return NotAvailable(L"Bookmark"); }
HRESULT RecordsetObject::put_Bookmark(VARIANT) { return NotAvailable(L"Bookmark"); }
HRESULT RecordsetObject::get_CacheSize(long*) { return NotAvailable(L"CacheSize"); }
HRESULT RecordsetObject::put_CacheSize(long) { return NotAvailable(L"CacheSize"); }
HRESULT RecordsetObject::get_MaxRecords(ADO_LONGPTR*) { return NotAvailable(L"MaxRecords"); }
HRESULT RecordsetObject::put_MaxRecords(ADO_LONGPTR) { return NotAvailable(L"MaxRecords"); }
HRESULT RecordsetObject::putref_Source(IDispatch*) { return NotAvailable(L"Source"); }
HRESULT RecordsetObject::raw_AddNew(VARIANT, VARIANT) { return NotAvailable(L"AddNew"); }
HRESULT RecordsetObject::raw_CancelUpdate() { return NotAvailable(L"CancelUpdate"); }
HRESULT RecordsetObject::raw_Delete(long) { return NotAvailable(L"Delete"); }
HRESULT RecordsetObject::raw_GetRows(long, VARIANT, VARIANT, VARIANT*) { return NotAvailable(L"GetRows"); }
HRESULT RecordsetObject::raw_Move(ADO_LONGPTR, VARIANT) { return NotAvailable(L"Move"); }
HRESULT RecordsetObject::raw_Requery(long) { return NotAvailable(L"Requery"); }
HRESULT RecordsetObject::raw__xResync(long) { return NotAvailable(L"Resync"); }
HRESULT RecordsetObject::raw_Update(VARIANT, VARIANT) { return NotAvailable(L"Update"); }
HRESULT RecordsetObject::get_AbsolutePage(PositionEnum_Param*) { return NotAvailable(L"AbsolutePage"); }
HRESULT RecordsetObject::put_AbsolutePage(PositionEnum_Param) { return NotAvailable(L"AbsolutePage"); }
HRESULT RecordsetObject::get_EditMode(long*) { return NotAvailable(L"EditMode"); }
HRESULT RecordsetObject::get_Filter(VARIANT*) { return NotAvailable(L"Filter"); }
HRESULT RecordsetObject::put_Filter(VARIANT) { return NotAvailable(L"Filter"); }
HRESULT RecordsetObject::get_PageCount(ADO_LONGPTR*) { return NotAvailable(L"PageCount"); }
HRESULT RecordsetObject::get_PageSize(long*) { return NotAvailable(L"PageSize"); }
HRESULT RecordsetObject::put_PageSize(long) { return NotAvailable(L"PageSize"); }
HRESULT RecordsetObject::get_Sort(BSTR*) { return NotAvailable(L"Sort"); }
HRESULT RecordsetObject::put_Sort(BSTR) { return NotAvailable(L"Sort"); }
HRESULT RecordsetObject::get_Status(long*) { return NotAvailable(L"Status"); }
HRESULT RecordsetObject::raw__xClone(_Recordset**) { return NotAvailable(L"Clone"); }
HRESULT RecordsetObject::raw_UpdateBatch(long) { return NotAvailable(L"UpdateBatch"); }
HRESULT RecordsetObject::raw_CancelBatch(long) { return NotAvailable(L"CancelBatch"); }
HRESULT RecordsetObject::raw_NextRecordset(VARIANT*, _Recordset**) { return NotAvailable(L"NextRecordset"); }
HRESULT RecordsetObject::raw_Supports(long, VARIANT_BOOL*) { return NotAvailable(L"Supports"); }
HRESULT RecordsetObject::get_Collect(VARIANT, VARIANT*) { return NotAvailable(L"Collect"); }
HRESULT RecordsetObject::put_Collect(VARIANT, VARIANT) { return NotAvailable(L"Collect"); }
HRESULT RecordsetObject::get_MarshalOptions(long*) { return NotAvailable(L"MarshalOptions"); }
HRESULT RecordsetObject::put_MarshalOptions(long) { return NotAvailable(L"MarshalOptions"); }
HRESULT RecordsetObject::raw_Find(BSTR, ADO_LONGPTR, long, VARIANT) { return NotAvailable(L"Find"); }
HRESULT RecordsetObject::raw_Cancel() { return NotAvailable(L"Cancel"); }
HRESULT RecordsetObject::get_DataSource(IUnknown**) { return NotAvailable(L"DataSource"); }
HRESULT RecordsetObject::putref_DataSource(IUnknown*) { return NotAvailable(L"DataSource"); }
HRESULT RecordsetObject::raw__xSave(BSTR, long) { return NotAvailable(L"Save"); }
HRESULT RecordsetObject::get_ActiveCommand(IDispatch**) { return NotAvailable(L"ActiveCommand"); }
HRESULT RecordsetObject::put_StayInSync(VARIANT_BOOL) { return NotAvailable(L"StayInSync"); }
HRESULT RecordsetObject::get_StayInSync(VARIANT_BOOL*) { return NotAvailable(L"StayInSync"); }
HRESULT RecordsetObject::raw_GetString(long, long, BSTR, BSTR, BSTR, BSTR*) { return NotAvailable(L"GetString"); }
HRESULT RecordsetObject::get_DataMember(BSTR*) { return NotAvailable(L"DataMember"); }
HRESULT RecordsetObject::put_DataMember(BSTR) { return NotAvailable(L"DataMember"); }
HRESULT RecordsetObject::raw_CompareBookmarks(VARIANT, VARIANT, long*) { return NotAvailable(L"CompareBookmarks"); }
HRESULT RecordsetObject::raw_Clone(LockTypeEnum, _Recordset**) { return NotAvailable(L"Clone"); }
HRESULT RecordsetObject::raw_Resync(long, long) { return NotAvailable(L"Resync"); }
HRESULT RecordsetObject::raw_Seek(VARIANT, long) { return NotAvailable(L"Seek"); }
HRESULT RecordsetObject::put_Index(BSTR) { return NotAvailable(L"Index"); }
HRESULT RecordsetObject::get_Index(BSTR*) { return NotAvailable(L"Index"); }
HRESULT RecordsetObject::raw_Save(VARIANT, long) { return NotAvailable(L"Save"); }

}  // namespace ado::detail
