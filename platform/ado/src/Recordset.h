// ADODB.Recordset as a static client-side cursor: Open runs the query once and
// keeps every row in memory, so RecordCount is exact, every pass meets the rows in
// the order SQLite gave them, and moving costs nothing. Nothing is written back:
// whatever lock type is asked for, the rows are read-only. Recordsets of one query
// on one unchanged file share their rows; each keeps its own position.
#pragma once

#include "ComBase.h"
#include "Fields.h"
#include "SharedRows.h"

#include <memory>
#include <vector>

namespace ado::detail {

class RecordsetObject final : public DispatchOnly<_Recordset>, public ISupportErrorInfo {
public:
    static HRESULT Create(REFIID riid, void** ppv);

    // For the Fields and Field objects.
    const ResultTable* Table() const { return m_table.get(); }
    bool HasCurrentRow() const { return m_table && m_row < m_table->Rows(); }
    size_t CurrentRow() const { return m_row; }
    FieldObject* FieldAt(size_t column) { return m_fields[column].get(); }
    // The shared count of the recordset and its Fields and Field objects.
    ULONG AddOwnerRef() { return ++m_refs; }
    ULONG ReleaseOwnerRef()
    {
        const ULONG refs = --m_refs;
        if (refs == 0)
            delete this;
        return refs;
    }

    HRESULT __stdcall QueryInterface(REFIID riid, void** ppv) override;
    ULONG __stdcall AddRef() override;
    ULONG __stdcall Release() override;
    HRESULT __stdcall InterfaceSupportsErrorInfo(REFIID riid) override;

    HRESULT __stdcall get_AbsolutePosition(PositionEnum_Param* pl) override;
    HRESULT __stdcall put_AbsolutePosition(PositionEnum_Param) override;
    HRESULT __stdcall putref_ActiveConnection(IDispatch* pconn) override;
    HRESULT __stdcall put_ActiveConnection(VARIANT vConn) override;
    HRESULT __stdcall get_ActiveConnection(VARIANT* pvar) override;
    HRESULT __stdcall get_BOF(VARIANT_BOOL* pb) override;
    HRESULT __stdcall get_Bookmark(VARIANT*) override;
    HRESULT __stdcall put_Bookmark(VARIANT) override;
    HRESULT __stdcall get_CacheSize(long*) override;
    HRESULT __stdcall put_CacheSize(long) override;
    HRESULT __stdcall get_CursorType(CursorTypeEnum* plCursorType) override;
    HRESULT __stdcall put_CursorType(CursorTypeEnum lCursorType) override;
    HRESULT __stdcall get_EOF(VARIANT_BOOL* pb) override;
    HRESULT __stdcall get_Fields(Fields** ppvObject) override;
    HRESULT __stdcall get_LockType(LockTypeEnum* plLockType) override;
    HRESULT __stdcall put_LockType(LockTypeEnum lLockType) override;
    HRESULT __stdcall get_MaxRecords(ADO_LONGPTR*) override;
    HRESULT __stdcall put_MaxRecords(ADO_LONGPTR) override;
    HRESULT __stdcall get_RecordCount(ADO_LONGPTR* pl) override;
    HRESULT __stdcall putref_Source(IDispatch*) override;
    HRESULT __stdcall put_Source(BSTR bstrConn) override;
    HRESULT __stdcall get_Source(VARIANT* pvSource) override;
    HRESULT __stdcall raw_AddNew(VARIANT, VARIANT) override;
    HRESULT __stdcall raw_CancelUpdate() override;
    HRESULT __stdcall raw_Close() override;
    HRESULT __stdcall raw_Delete(long) override;
    HRESULT __stdcall raw_GetRows(long, VARIANT, VARIANT, VARIANT*) override;
    HRESULT __stdcall raw_Move(ADO_LONGPTR, VARIANT) override;
    HRESULT __stdcall raw_MoveNext() override;
    HRESULT __stdcall raw_MovePrevious() override;
    HRESULT __stdcall raw_MoveFirst() override;
    HRESULT __stdcall raw_MoveLast() override;
    HRESULT __stdcall raw_Open(VARIANT Source, VARIANT ActiveConnection, CursorTypeEnum CursorType,
                               LockTypeEnum LockType, long Options) override;
    HRESULT __stdcall raw_Requery(long) override;
    HRESULT __stdcall raw__xResync(long) override;
    HRESULT __stdcall raw_Update(VARIANT, VARIANT) override;
    HRESULT __stdcall get_AbsolutePage(PositionEnum_Param*) override;
    HRESULT __stdcall put_AbsolutePage(PositionEnum_Param) override;
    HRESULT __stdcall get_EditMode(long*) override;
    HRESULT __stdcall get_Filter(VARIANT*) override;
    HRESULT __stdcall put_Filter(VARIANT) override;
    HRESULT __stdcall get_PageCount(ADO_LONGPTR*) override;
    HRESULT __stdcall get_PageSize(long*) override;
    HRESULT __stdcall put_PageSize(long) override;
    HRESULT __stdcall get_Sort(BSTR*) override;
    HRESULT __stdcall put_Sort(BSTR) override;
    HRESULT __stdcall get_Status(long*) override;
    HRESULT __stdcall get_State(long* plObjState) override;
    HRESULT __stdcall raw__xClone(_Recordset**) override;
    HRESULT __stdcall raw_UpdateBatch(long) override;
    HRESULT __stdcall raw_CancelBatch(long) override;
    HRESULT __stdcall get_CursorLocation(CursorLocationEnum* plCursorLoc) override;
    HRESULT __stdcall put_CursorLocation(CursorLocationEnum lCursorLoc) override;
    HRESULT __stdcall raw_NextRecordset(VARIANT*, _Recordset**) override;
    HRESULT __stdcall raw_Supports(long, VARIANT_BOOL*) override;
    HRESULT __stdcall get_Collect(VARIANT, VARIANT*) override;
    HRESULT __stdcall put_Collect(VARIANT, VARIANT) override;
    HRESULT __stdcall get_MarshalOptions(long*) override;
    HRESULT __stdcall put_MarshalOptions(long) override;
    HRESULT __stdcall raw_Find(BSTR, ADO_LONGPTR, long, VARIANT) override;
    HRESULT __stdcall raw_Cancel() override;
    HRESULT __stdcall get_DataSource(IUnknown**) override;
    HRESULT __stdcall putref_DataSource(IUnknown*) override;
    HRESULT __stdcall raw__xSave(BSTR, long) override;
    HRESULT __stdcall get_ActiveCommand(IDispatch**) override;
    HRESULT __stdcall put_StayInSync(VARIANT_BOOL) override;
    HRESULT __stdcall get_StayInSync(VARIANT_BOOL*) override;
    HRESULT __stdcall raw_GetString(long, long, BSTR, BSTR, BSTR, BSTR*) override;
    HRESULT __stdcall get_DataMember(BSTR*) override;
    HRESULT __stdcall put_DataMember(BSTR) override;
    HRESULT __stdcall raw_CompareBookmarks(VARIANT, VARIANT, long*) override;
    HRESULT __stdcall raw_Clone(LockTypeEnum, _Recordset**) override;
    HRESULT __stdcall raw_Resync(long, long) override;
    HRESULT __stdcall raw_Seek(VARIANT, long) override;
    HRESULT __stdcall put_Index(BSTR) override;
    HRESULT __stdcall get_Index(BSTR*) override;
    HRESULT __stdcall raw_Save(VARIANT, long) override;

private:
    RecordsetObject() : m_fieldsObject(this) {}
    ~RecordsetObject() = default;
    HRESULT Fail(HRESULT hr, const std::wstring& description);
    HRESULT NotAvailable(const wchar_t* member);
    HRESULT FailIfClosed();
    HRESULT NoCurrentRecord();

    ULONG m_refs = 1;
    SharedRows m_table;   // null while closed; may be shared with other recordsets
    size_t m_row = 0;     // Rows() once past the last
    FieldsObject m_fieldsObject;
    std::vector<std::unique_ptr<FieldObject>> m_fields;   // one per column seen, never shrinks
};

}  // namespace ado::detail
