#include "Recordset.h"
#include "Connection.h"

#include <new>

namespace ado::detail {
constexpr wchar_t kSource[] = L"ADODB.Recordset";

HRESULT RecordsetObject::Create(REFIID riid, void** ppv)
{
    auto* p = new (std::nothrow) RecordsetObject;
    if (!p)
        return E_OUTOFMEMORY;
    const HRESULT hr = p->QueryInterface(riid, ppv);
    p->Release();
    return hr;
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
    return Fail(AdoHResult(adErrNoCurrentRecord), L"没有当前记录：记录集是空的，或者位置已在最后一条之后（EOF）。");
}

// Opens a query (Options adCmdText) on a connection object of this library: the
// way the program opens its recordsets.
HRESULT RecordsetObject::raw_Open(VARIANT Source, VARIANT ActiveConnection, CursorTypeEnum, LockTypeEnum,
                                  long Options)
{
    if (m_table)
        return Fail(AdoHResult(adErrObjectOpen), L"记录集已经打开，不能再次打开。");
    if (V_VT(&Source) != VT_BSTR || SysStringLen(V_BSTR(&Source)) == 0)
        return Fail(AdoHResult(adErrInvalidArgument), L"Source 必须是查询语句（文本），而且不能是空的。");
    const std::wstring sql(V_BSTR(&Source), SysStringLen(V_BSTR(&Source)));
    if (Options != adCmdText && Options != adCmdUnknown && Options != adCmdUnspecified)
        return Fail(AdoHResult(adErrInvalidArgument),
                    L"不支持的命令类型（Options = " + std::to_wstring(Options) + L"）：只能是查询语句。");

    ConnectionObject* connection =
        V_VT(&ActiveConnection) == VT_DISPATCH ? ConnectionObject::From(V_DISPATCH(&ActiveConnection)) : nullptr;
    if (!connection)
        return Fail(AdoHResult(adErrInvalidConnection),
                    L"没有给出本程序库的连接对象（ActiveConnection），无法执行查询“" + sql + L"”。");
    const bool open = connection->Database() != nullptr;
    std::wstring error = L"数据库连接没有打开，无法执行查询“" + sql + L"”。";
    SharedRows table = open ? ReadRows(connection->Database(), connection->DataSource(), sql, &error) : nullptr;
    connection->Release();   // the rows, once read, need it no more
    if (!table)
        return Fail(open ? E_FAIL : AdoHResult(adErrInvalidConnection), error);
    for (size_t c = m_fields.size(); c < table->Columns(); ++c)
        m_fields.push_back(std::make_unique<FieldObject>(this, c));
    m_table = std::move(table);
    m_row = 0;
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
    *pb = m_table->Rows() == 0 ? VARIANT_TRUE : VARIANT_FALSE;   // nothing moves before the first row
    return S_OK;
}

HRESULT RecordsetObject::get_EOF(VARIANT_BOOL* pb)
{
    if (!pb)
        return E_POINTER;
    if (const HRESULT hr = FailIfClosed(); FAILED(hr))
        return hr;
    *pb = m_row >= m_table->Rows() ? VARIANT_TRUE : VARIANT_FALSE;
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

HRESULT RecordsetObject::raw_MoveNext()
{
    if (const HRESULT hr = FailIfClosed(); FAILED(hr))
        return hr;
    if (m_row >= m_table->Rows())
        return NoCurrentRecord();
    ++m_row;
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

HRESULT RecordsetObject::get_AbsolutePosition(PositionEnum_Param*) { return NotAvailable(L"AbsolutePosition"); }
HRESULT RecordsetObject::put_AbsolutePosition(PositionEnum_Param) { return NotAvailable(L"AbsolutePosition"); }
HRESULT RecordsetObject::putref_ActiveConnection(IDispatch*) { return NotAvailable(L"ActiveConnection"); }
HRESULT RecordsetObject::put_ActiveConnection(VARIANT) { return NotAvailable(L"ActiveConnection"); }
HRESULT RecordsetObject::get_ActiveConnection(VARIANT*) { return NotAvailable(L"ActiveConnection"); }
HRESULT RecordsetObject::get_CursorType(CursorTypeEnum*) { return NotAvailable(L"CursorType"); }
HRESULT RecordsetObject::put_CursorType(CursorTypeEnum) { return NotAvailable(L"CursorType"); }
HRESULT RecordsetObject::get_LockType(LockTypeEnum*) { return NotAvailable(L"LockType"); }
HRESULT RecordsetObject::put_LockType(LockTypeEnum) { return NotAvailable(L"LockType"); }
HRESULT RecordsetObject::get_CursorLocation(CursorLocationEnum*) { return NotAvailable(L"CursorLocation"); }
HRESULT RecordsetObject::put_CursorLocation(CursorLocationEnum) { return NotAvailable(L"CursorLocation"); }
HRESULT RecordsetObject::put_Source(BSTR) { return NotAvailable(L"Source"); }
HRESULT RecordsetObject::get_Source(VARIANT*) { return NotAvailable(L"Source"); }
HRESULT RecordsetObject::raw_MovePrevious() { return NotAvailable(L"MovePrevious"); }
HRESULT RecordsetObject::raw_MoveLast() { return NotAvailable(L"MoveLast"); }
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
