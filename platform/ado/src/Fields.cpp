#include "Fields.h"
#include "Recordset.h"

#include <cwchar>

namespace ado::detail {
namespace {

constexpr wchar_t kFieldSource[] = L"ADODB.Field";
constexpr wchar_t kFieldsSource[] = L"ADODB.Fields";

}  // namespace

// ---- Field ------------------------------------------------------------------

HRESULT FieldObject::QueryInterface(REFIID riid, void** ppv)
{
    if (!ppv)
        return E_POINTER;
    if (IsOneOf(riid, {&IID_IUnknown, &IID_IDispatch, &__uuidof(_ADO), &__uuidof(Field20), &__uuidof(Field)}))
        *ppv = static_cast<Field*>(this);
    else if (IsEqualIID(riid, IID_ISupportErrorInfo))
        *ppv = static_cast<ISupportErrorInfo*>(this);
    else {
        *ppv = nullptr;
        return E_NOINTERFACE;
    }
    AddRef();
    return S_OK;
}

// A Field or the Fields collection keeps its recordset, and so all its siblings, alive.
ULONG FieldObject::AddRef()
{
    return m_owner->AddOwnerRef();
}

ULONG FieldObject::Release()
{
    return m_owner->ReleaseOwnerRef();
}

HRESULT FieldObject::InterfaceSupportsErrorInfo(REFIID riid)
{
    return IsOneOf(riid, {&__uuidof(_ADO), &__uuidof(Field20), &__uuidof(Field)}) ? S_OK : S_FALSE;
}

HRESULT FieldObject::Fail(HRESULT hr, const std::wstring& description)
{
    return detail::Fail(hr, __uuidof(Field), kFieldSource, description);
}

HRESULT FieldObject::NotAvailable(const wchar_t* member)
{
    return detail::NotAvailable(__uuidof(Field), kFieldSource, member);
}

HRESULT FieldObject::CheckCurrentCell()
{
    const ResultTable* table = m_owner->Table();
    if (!table)
        return Fail(AdoHResult(adErrObjectClosed), L"记录集没有打开，不能读取字段的值。");
    if (m_column >= table->Columns())   // kept from an earlier opening with more columns
        return Fail(AdoHResult(adErrItemNotFound), L"记录集现在没有第 " + std::to_wstring(m_column) + L" 列。");
    if (!m_owner->HasCurrentRow())
        return Fail(AdoHResult(adErrNoCurrentRecord), L"没有当前记录：记录集是空的，或者位置已在最后一条之后（EOF）。");
    return S_OK;
}

HRESULT FieldObject::get_Value(VARIANT* pvar)
{
    if (!pvar)
        return E_POINTER;
    V_VT(pvar) = VT_EMPTY;
    if (const HRESULT hr = CheckCurrentCell(); FAILED(hr))
        return hr;
    if (!m_owner->Table()->CopyCell(m_owner->CurrentRow(), m_column, pvar))
        return Fail(E_OUTOFMEMORY, L"内存不足，无法读取字段的值。");
    return S_OK;
}

HRESULT FieldObject::get_ActualSize(ADO_LONGPTR*) { return NotAvailable(L"ActualSize"); }
HRESULT FieldObject::get_Attributes(long*) { return NotAvailable(L"Attributes"); }
HRESULT FieldObject::get_DefinedSize(ADO_LONGPTR*) { return NotAvailable(L"DefinedSize"); }
HRESULT FieldObject::get_Name(BSTR*) { return NotAvailable(L"Name"); }
HRESULT FieldObject::get_Type(long*) { return NotAvailable(L"Type"); }
HRESULT FieldObject::put_Value(VARIANT) { return NotAvailable(L"Value"); }
HRESULT FieldObject::get_Precision(BYTE*) { return NotAvailable(L"Precision"); }
HRESULT FieldObject::get_NumericScale(BYTE*) { return NotAvailable(L"NumericScale"); }
HRESULT FieldObject::raw_AppendChunk(VARIANT) { return NotAvailable(L"AppendChunk"); }
HRESULT FieldObject::raw_GetChunk(long, VARIANT*) { return NotAvailable(L"GetChunk"); }
HRESULT FieldObject::get_OriginalValue(VARIANT*) { return NotAvailable(L"OriginalValue"); }
HRESULT FieldObject::get_UnderlyingValue(VARIANT*) { return NotAvailable(L"UnderlyingValue"); }
HRESULT FieldObject::get_DataFormat(IUnknown**) { return NotAvailable(L"DataFormat"); }
HRESULT FieldObject::putref_DataFormat(IUnknown*) { return NotAvailable(L"DataFormat"); }
HRESULT FieldObject::put_Precision(BYTE) { return NotAvailable(L"Precision"); }
HRESULT FieldObject::put_NumericScale(BYTE) { return NotAvailable(L"NumericScale"); }
HRESULT FieldObject::put_Type(long) { return NotAvailable(L"Type"); }
HRESULT FieldObject::put_DefinedSize(ADO_LONGPTR) { return NotAvailable(L"DefinedSize"); }
HRESULT FieldObject::put_Attributes(long) { return NotAvailable(L"Attributes"); }
HRESULT FieldObject::get_Status(long*) { return NotAvailable(L"Status"); }

// ---- Fields -----------------------------------------------------------------

HRESULT FieldsObject::QueryInterface(REFIID riid, void** ppv)
{
    if (!ppv)
        return E_POINTER;
    if (IsOneOf(riid, {&IID_IUnknown, &IID_IDispatch, &__uuidof(_Collection), &__uuidof(Fields15),
                       &__uuidof(Fields20), &__uuidof(Fields)}))
        *ppv = static_cast<Fields*>(this);
    else if (IsEqualIID(riid, IID_ISupportErrorInfo))
        *ppv = static_cast<ISupportErrorInfo*>(this);
    else {
        *ppv = nullptr;
        return E_NOINTERFACE;
    }
    AddRef();
    return S_OK;
}

ULONG FieldsObject::AddRef()
{
    return m_owner->AddOwnerRef();
}

ULONG FieldsObject::Release()
{
    return m_owner->ReleaseOwnerRef();
}

HRESULT FieldsObject::InterfaceSupportsErrorInfo(REFIID riid)
{
    return IsOneOf(riid, {&__uuidof(_Collection), &__uuidof(Fields15), &__uuidof(Fields20), &__uuidof(Fields)})
               ? S_OK
               : S_FALSE;
}

HRESULT FieldsObject::Fail(HRESULT hr, const std::wstring& description)
{
    return detail::Fail(hr, __uuidof(Fields), kFieldsSource, description);
}

HRESULT FieldsObject::NotAvailable(const wchar_t* member)
{
    return detail::NotAvailable(__uuidof(Fields), kFieldsSource, member);
}

HRESULT FieldsObject::get_Count(long* c)
{
    if (!c)
        return E_POINTER;
    const ResultTable* table = m_owner->Table();
    *c = table ? static_cast<long>(table->Columns()) : 0;
    return S_OK;
}

HRESULT FieldsObject::get_Item(VARIANT Index, Field** ppvObject)
{
    if (!ppvObject)
        return E_POINTER;
    *ppvObject = nullptr;
    const ResultTable* table = m_owner->Table();
    if (!table)
        return Fail(AdoHResult(adErrObjectClosed), L"记录集没有打开，不能取字段。");

    if (V_VT(&Index) != VT_I4)
        return Fail(AdoHResult(adErrInvalidArgument), L"字段的索引必须是列的位置（VT_I4 整数）。");
    const long position = V_I4(&Index);
    if (position < 0 || static_cast<size_t>(position) >= table->Columns())
        return Fail(AdoHResult(adErrItemNotFound),
                    L"记录集中没有第 " + std::to_wstring(position) + L" 列（列从 0 数起，共 " +
                        std::to_wstring(table->Columns()) + L" 列）。");
    FieldObject* field = m_owner->FieldAt(static_cast<size_t>(position));
    m_owner->AddOwnerRef();
    *ppvObject = field;
    return S_OK;
}

HRESULT FieldsObject::raw__NewEnum(IUnknown** pp)
{
    if (pp)
        *pp = nullptr;
    return NotAvailable(L"_NewEnum");
}
HRESULT FieldsObject::raw_Refresh() { return NotAvailable(L"Refresh"); }
HRESULT FieldsObject::raw__Append(BSTR, long, ADO_LONGPTR, long) { return NotAvailable(L"Append"); }
HRESULT FieldsObject::raw_Delete(VARIANT) { return NotAvailable(L"Delete"); }
HRESULT FieldsObject::raw_Append(BSTR, long, ADO_LONGPTR, long, VARIANT) { return NotAvailable(L"Append"); }
HRESULT FieldsObject::raw_Update() { return NotAvailable(L"Update"); }
HRESULT FieldsObject::raw_Resync(long) { return NotAvailable(L"Resync"); }
HRESULT FieldsObject::raw_CancelUpdate() { return NotAvailable(L"CancelUpdate"); }

}  // namespace ado::detail
