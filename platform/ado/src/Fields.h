// The Fields collection and the Field objects of a recordset. They belong to their
// recordset and share its reference count, so they are made once (one Field per
// column, kept across re-opening) and never allocated per call: reading a value
// in a scan costs one copy of the cell (for text, one BSTR).
#pragma once

#include "ComBase.h"

namespace ado::detail {

class RecordsetObject;

class FieldObject final : public DispatchOnly<Field>, public ISupportErrorInfo {
public:
    FieldObject(RecordsetObject* owner, size_t column) : m_owner(owner), m_column(column) {}

    HRESULT __stdcall QueryInterface(REFIID riid, void** ppv) override;
    ULONG __stdcall AddRef() override;
    ULONG __stdcall Release() override;
    HRESULT __stdcall InterfaceSupportsErrorInfo(REFIID riid) override;

    HRESULT __stdcall get_ActualSize(ADO_LONGPTR*) override;
    HRESULT __stdcall get_Attributes(long*) override;
    HRESULT __stdcall get_DefinedSize(ADO_LONGPTR*) override;
    HRESULT __stdcall get_Name(BSTR* pbstr) override;
    HRESULT __stdcall get_Type(long*) override;
    HRESULT __stdcall get_Value(VARIANT* pvar) override;
    HRESULT __stdcall put_Value(VARIANT) override;
    HRESULT __stdcall get_Precision(BYTE*) override;
    HRESULT __stdcall get_NumericScale(BYTE*) override;
    HRESULT __stdcall raw_AppendChunk(VARIANT) override;
    HRESULT __stdcall raw_GetChunk(long, VARIANT*) override;
    HRESULT __stdcall get_OriginalValue(VARIANT*) override;
    HRESULT __stdcall get_UnderlyingValue(VARIANT*) override;
    HRESULT __stdcall get_DataFormat(IUnknown**) override;
    HRESULT __stdcall putref_DataFormat(IUnknown*) override;
    HRESULT __stdcall put_Precision(BYTE) override;
    HRESULT __stdcall put_NumericScale(BYTE) override;
    HRESULT __stdcall put_Type(long) override;
    HRESULT __stdcall put_DefinedSize(ADO_LONGPTR) override;
    HRESULT __stdcall put_Attributes(long) override;
    HRESULT __stdcall get_Status(long*) override;

private:
    HRESULT Fail(HRESULT hr, const std::wstring& description);
    HRESULT NotAvailable(const wchar_t* member);
    // S_OK when this column of the current row can be read, else a failure with its error set.
    HRESULT CheckCurrentCell();

    RecordsetObject* m_owner;
    size_t m_column;
};

class FieldsObject final : public DispatchOnly<Fields>, public ISupportErrorInfo {
public:
    explicit FieldsObject(RecordsetObject* owner) : m_owner(owner) {}

    HRESULT __stdcall QueryInterface(REFIID riid, void** ppv) override;
    ULONG __stdcall AddRef() override;
    ULONG __stdcall Release() override;
    HRESULT __stdcall InterfaceSupportsErrorInfo(REFIID riid) override;

    HRESULT __stdcall get_Count(long* c) override;
    HRESULT __stdcall raw__NewEnum(IUnknown**) override;
    HRESULT __stdcall raw_Refresh() override;
    // By position: a VT_I4 index, as the program gives it.
    HRESULT __stdcall get_Item(VARIANT Index, Field** ppvObject) override;
    HRESULT __stdcall raw__Append(BSTR, long, ADO_LONGPTR, long) override;
    HRESULT __stdcall raw_Delete(VARIANT) override;
    HRESULT __stdcall raw_Append(BSTR, long, ADO_LONGPTR, long, VARIANT) override;
    HRESULT __stdcall raw_Update() override;
    HRESULT __stdcall raw_Resync(long) override;
    HRESULT __stdcall raw_CancelUpdate() override;

private:
    HRESULT Fail(HRESULT hr, const std::wstring& description);
    HRESULT NotAvailable(const wchar_t* member);

    RecordsetObject* m_owner;
};

}  // namespace ado::detail
