// ADO's dual interfaces in the layout of the ADO 2.x type library (the identifiers
// that ADO keeps for compatibility, 0000055x): every method up to the last one of
// each interface is declared in its vtable place, so a pointer obtained under one of
// these IIDs is usable whichever ADO implementation stands behind it. Methods that
// this library does not carry out answer adErrFeatureNotAvailable.
//
// Enumerations that no client of this library passes appear as `long` (same size
// and passing as an enumeration). The throwing wrappers are defined in AdoWrappers.h.
#pragma once

#include <ado/AdoTypes.h>

struct Properties;   // never handed out here
struct _ADO;
struct Connection15;
struct _Connection;
struct Recordset15;
struct Recordset20;
struct Recordset21;
struct _Recordset;
struct _Collection;
struct Fields15;
struct Fields20;
struct Fields;
struct Field20;
struct Field;
struct Connection;   // coclasses: only their identifiers matter
struct Recordset;

#define ADO_UUID_DECL(type, l) \
    __CRT_UUID_DECL(type, l, 0x0000, 0x0010, 0x80, 0x00, 0x00, 0xAA, 0x00, 0x6D, 0x2E, 0xA4)
ADO_UUID_DECL(_ADO, 0x00000534)
ADO_UUID_DECL(Connection15, 0x00000515)
ADO_UUID_DECL(_Connection, 0x00000550)
ADO_UUID_DECL(Recordset15, 0x0000050E)
ADO_UUID_DECL(Recordset20, 0x0000054F)
ADO_UUID_DECL(Recordset21, 0x00000555)
ADO_UUID_DECL(_Recordset, 0x00000556)
ADO_UUID_DECL(_Collection, 0x00000512)
ADO_UUID_DECL(Fields15, 0x00000506)
ADO_UUID_DECL(Fields20, 0x0000054D)
ADO_UUID_DECL(Fields, 0x00000564)
ADO_UUID_DECL(Field20, 0x0000054C)
ADO_UUID_DECL(Field, 0x00000569)
ADO_UUID_DECL(Connection, 0x00000514)
ADO_UUID_DECL(Recordset, 0x00000535)
#undef ADO_UUID_DECL

_COM_SMARTPTR_TYPEDEF(_Connection, __uuidof(_Connection));
_COM_SMARTPTR_TYPEDEF(_Recordset, __uuidof(_Recordset));
_COM_SMARTPTR_TYPEDEF(Fields, __uuidof(Fields));
_COM_SMARTPTR_TYPEDEF(Field, __uuidof(Field));

struct _ADO : IDispatch {
    virtual HRESULT __stdcall get_Properties(Properties** ppvObject) = 0;
};

struct Connection15 : _ADO {
    HRESULT Open(_bstr_t ConnectionString, _bstr_t UserID, _bstr_t Password, long Options);
    void PutCursorLocation(CursorLocationEnum plCursorLoc);

    virtual HRESULT __stdcall get_ConnectionString(BSTR* pbstr) = 0;
    virtual HRESULT __stdcall put_ConnectionString(BSTR bstr) = 0;
    virtual HRESULT __stdcall get_CommandTimeout(long* plTimeout) = 0;
    virtual HRESULT __stdcall put_CommandTimeout(long lTimeout) = 0;
    virtual HRESULT __stdcall get_ConnectionTimeout(long* plTimeout) = 0;
    virtual HRESULT __stdcall put_ConnectionTimeout(long lTimeout) = 0;
    virtual HRESULT __stdcall get_Version(BSTR* pbstr) = 0;
    virtual HRESULT __stdcall raw_Close() = 0;
    virtual HRESULT __stdcall raw_Execute(BSTR CommandText, VARIANT* RecordsAffected, long Options,
                                          _Recordset** ppiRset) = 0;
    virtual HRESULT __stdcall raw_BeginTrans(long* TransactionLevel) = 0;
    virtual HRESULT __stdcall raw_CommitTrans() = 0;
    virtual HRESULT __stdcall raw_RollbackTrans() = 0;
    virtual HRESULT __stdcall raw_Open(BSTR ConnectionString, BSTR UserID, BSTR Password,
                                       long Options) = 0;
    virtual HRESULT __stdcall get_Errors(IDispatch** ppvObject) = 0;
    virtual HRESULT __stdcall get_DefaultDatabase(BSTR* pbstr) = 0;
    virtual HRESULT __stdcall put_DefaultDatabase(BSTR bstr) = 0;
    virtual HRESULT __stdcall get_IsolationLevel(long* Level) = 0;
    virtual HRESULT __stdcall put_IsolationLevel(long Level) = 0;
    virtual HRESULT __stdcall get_Attributes(long* plAttr) = 0;
    virtual HRESULT __stdcall put_Attributes(long lAttr) = 0;
    virtual HRESULT __stdcall get_CursorLocation(CursorLocationEnum* plCursorLoc) = 0;
    virtual HRESULT __stdcall put_CursorLocation(CursorLocationEnum lCursorLoc) = 0;
    virtual HRESULT __stdcall get_Mode(long* plMode) = 0;
    virtual HRESULT __stdcall put_Mode(long lMode) = 0;
    virtual HRESULT __stdcall get_Provider(BSTR* pbstr) = 0;
    virtual HRESULT __stdcall put_Provider(BSTR Provider) = 0;
    virtual HRESULT __stdcall get_State(long* plObjState) = 0;
    virtual HRESULT __stdcall raw_OpenSchema(long Schema, VARIANT Restrictions, VARIANT SchemaID,
                                             _Recordset** pprset) = 0;
};

struct _Connection : Connection15 {
    virtual HRESULT __stdcall raw_Cancel() = 0;
};

struct Recordset15 : _ADO {
    VARIANT_BOOL GetBOF();
    VARIANT_BOOL GetEOF();
    FieldsPtr GetFields();
    ADO_LONGPTR GetRecordCount();
    HRESULT Close();
    HRESULT MoveNext();
    HRESULT MoveFirst();
    HRESULT Open(const _variant_t& Source, const _variant_t& ActiveConnection, CursorTypeEnum CursorType,
                 LockTypeEnum LockType, long Options);
    long GetState();

    virtual HRESULT __stdcall get_AbsolutePosition(PositionEnum_Param* pl) = 0;
    virtual HRESULT __stdcall put_AbsolutePosition(PositionEnum_Param Position) = 0;
    virtual HRESULT __stdcall putref_ActiveConnection(IDispatch* pconn) = 0;
    virtual HRESULT __stdcall put_ActiveConnection(VARIANT vConn) = 0;
    virtual HRESULT __stdcall get_ActiveConnection(VARIANT* pvar) = 0;
    virtual HRESULT __stdcall get_BOF(VARIANT_BOOL* pb) = 0;
    virtual HRESULT __stdcall get_Bookmark(VARIANT* pvBookmark) = 0;
    virtual HRESULT __stdcall put_Bookmark(VARIANT vBookmark) = 0;
    virtual HRESULT __stdcall get_CacheSize(long* pl) = 0;
    virtual HRESULT __stdcall put_CacheSize(long CacheSize) = 0;
    virtual HRESULT __stdcall get_CursorType(CursorTypeEnum* plCursorType) = 0;
    virtual HRESULT __stdcall put_CursorType(CursorTypeEnum lCursorType) = 0;
    virtual HRESULT __stdcall get_EOF(VARIANT_BOOL* pb) = 0;
    virtual HRESULT __stdcall get_Fields(Fields** ppvObject) = 0;
    virtual HRESULT __stdcall get_LockType(LockTypeEnum* plLockType) = 0;
    virtual HRESULT __stdcall put_LockType(LockTypeEnum lLockType) = 0;
    virtual HRESULT __stdcall get_MaxRecords(ADO_LONGPTR* plMaxRecords) = 0;
    virtual HRESULT __stdcall put_MaxRecords(ADO_LONGPTR lMaxRecords) = 0;
    virtual HRESULT __stdcall get_RecordCount(ADO_LONGPTR* pl) = 0;
    virtual HRESULT __stdcall putref_Source(IDispatch* pcmd) = 0;
    virtual HRESULT __stdcall put_Source(BSTR bstrConn) = 0;
    virtual HRESULT __stdcall get_Source(VARIANT* pvSource) = 0;
    virtual HRESULT __stdcall raw_AddNew(VARIANT FieldList, VARIANT Values) = 0;
    virtual HRESULT __stdcall raw_CancelUpdate() = 0;
    virtual HRESULT __stdcall raw_Close() = 0;
    virtual HRESULT __stdcall raw_Delete(long AffectRecords) = 0;
    virtual HRESULT __stdcall raw_GetRows(long Rows, VARIANT Start, VARIANT FieldList, VARIANT* pvar) = 0;
    virtual HRESULT __stdcall raw_Move(ADO_LONGPTR NumRecords, VARIANT Start) = 0;
    virtual HRESULT __stdcall raw_MoveNext() = 0;
    virtual HRESULT __stdcall raw_MovePrevious() = 0;
    virtual HRESULT __stdcall raw_MoveFirst() = 0;
    virtual HRESULT __stdcall raw_MoveLast() = 0;
    virtual HRESULT __stdcall raw_Open(VARIANT Source, VARIANT ActiveConnection,
                                       CursorTypeEnum CursorType, LockTypeEnum LockType,
                                       long Options) = 0;
    virtual HRESULT __stdcall raw_Requery(long Options) = 0;
    virtual HRESULT __stdcall raw__xResync(long AffectRecords) = 0;
    virtual HRESULT __stdcall raw_Update(VARIANT FieldList, VARIANT Values) = 0;
    virtual HRESULT __stdcall get_AbsolutePage(PositionEnum_Param* pl) = 0;
    virtual HRESULT __stdcall put_AbsolutePage(PositionEnum_Param Page) = 0;
    virtual HRESULT __stdcall get_EditMode(long* pl) = 0;
    virtual HRESULT __stdcall get_Filter(VARIANT* Criteria) = 0;
    virtual HRESULT __stdcall put_Filter(VARIANT Criteria) = 0;
    virtual HRESULT __stdcall get_PageCount(ADO_LONGPTR* pl) = 0;
    virtual HRESULT __stdcall get_PageSize(long* pl) = 0;
    virtual HRESULT __stdcall put_PageSize(long PageSize) = 0;
    virtual HRESULT __stdcall get_Sort(BSTR* Criteria) = 0;
    virtual HRESULT __stdcall put_Sort(BSTR Criteria) = 0;
    virtual HRESULT __stdcall get_Status(long* pl) = 0;
    virtual HRESULT __stdcall get_State(long* plObjState) = 0;
    virtual HRESULT __stdcall raw__xClone(_Recordset** ppvObject) = 0;
    virtual HRESULT __stdcall raw_UpdateBatch(long AffectRecords) = 0;
    virtual HRESULT __stdcall raw_CancelBatch(long AffectRecords) = 0;
    virtual HRESULT __stdcall get_CursorLocation(CursorLocationEnum* plCursorLoc) = 0;
    virtual HRESULT __stdcall put_CursorLocation(CursorLocationEnum lCursorLoc) = 0;
    virtual HRESULT __stdcall raw_NextRecordset(VARIANT* RecordsAffected, _Recordset** ppiRs) = 0;
    virtual HRESULT __stdcall raw_Supports(long CursorOptions, VARIANT_BOOL* pb) = 0;
    virtual HRESULT __stdcall get_Collect(VARIANT Index, VARIANT* pvar) = 0;
    virtual HRESULT __stdcall put_Collect(VARIANT Index, VARIANT value) = 0;
    virtual HRESULT __stdcall get_MarshalOptions(long* peMarshal) = 0;
    virtual HRESULT __stdcall put_MarshalOptions(long eMarshal) = 0;
    virtual HRESULT __stdcall raw_Find(BSTR Criteria, ADO_LONGPTR SkipRecords, long SearchDirection,
                                       VARIANT Start) = 0;
};

struct Recordset20 : Recordset15 {
    virtual HRESULT __stdcall raw_Cancel() = 0;
    virtual HRESULT __stdcall get_DataSource(IUnknown** ppunkDataSource) = 0;
    virtual HRESULT __stdcall putref_DataSource(IUnknown* punkDataSource) = 0;
    virtual HRESULT __stdcall raw__xSave(BSTR FileName, long PersistFormat) = 0;
    virtual HRESULT __stdcall get_ActiveCommand(IDispatch** ppCmd) = 0;
    virtual HRESULT __stdcall put_StayInSync(VARIANT_BOOL bStayInSync) = 0;
    virtual HRESULT __stdcall get_StayInSync(VARIANT_BOOL* pbStayInSync) = 0;
    virtual HRESULT __stdcall raw_GetString(long StringFormat, long NumRows, BSTR ColumnDelimeter,
                                            BSTR RowDelimeter, BSTR NullExpr, BSTR* pRetString) = 0;
    virtual HRESULT __stdcall get_DataMember(BSTR* pbstrDataMember) = 0;
    virtual HRESULT __stdcall put_DataMember(BSTR bstrDataMember) = 0;
    virtual HRESULT __stdcall raw_CompareBookmarks(VARIANT Bookmark1, VARIANT Bookmark2,
                                                   long* pCompare) = 0;
    virtual HRESULT __stdcall raw_Clone(LockTypeEnum LockType, _Recordset** ppvObject) = 0;
    virtual HRESULT __stdcall raw_Resync(long AffectRecords, long ResyncValues) = 0;
};

struct Recordset21 : Recordset20 {
    virtual HRESULT __stdcall raw_Seek(VARIANT KeyValues, long SeekOption) = 0;
    virtual HRESULT __stdcall put_Index(BSTR Index) = 0;
    virtual HRESULT __stdcall get_Index(BSTR* pbstrIndex) = 0;
};

struct _Recordset : Recordset21 {
    virtual HRESULT __stdcall raw_Save(VARIANT Destination, long PersistFormat) = 0;
};

struct _Collection : IDispatch {
    long GetCount();

    virtual HRESULT __stdcall get_Count(long* c) = 0;
    virtual HRESULT __stdcall raw__NewEnum(IUnknown** ppvObject) = 0;
    virtual HRESULT __stdcall raw_Refresh() = 0;
};

struct Fields15 : _Collection {
    FieldPtr GetItem(const _variant_t& Index);

    virtual HRESULT __stdcall get_Item(VARIANT Index, Field** ppvObject) = 0;
};

struct Fields20 : Fields15 {
    virtual HRESULT __stdcall raw__Append(BSTR Name, long Type, ADO_LONGPTR DefinedSize,
                                          long Attrib) = 0;
    virtual HRESULT __stdcall raw_Delete(VARIANT Index) = 0;
};

struct Fields : Fields20 {
    virtual HRESULT __stdcall raw_Append(BSTR Name, long Type, ADO_LONGPTR DefinedSize, long Attrib,
                                         VARIANT FieldValue) = 0;
    virtual HRESULT __stdcall raw_Update() = 0;
    virtual HRESULT __stdcall raw_Resync(long ResyncValues) = 0;
    virtual HRESULT __stdcall raw_CancelUpdate() = 0;
};

struct Field20 : _ADO {
    _variant_t GetValue();

    virtual HRESULT __stdcall get_ActualSize(ADO_LONGPTR* pl) = 0;
    virtual HRESULT __stdcall get_Attributes(long* pl) = 0;
    virtual HRESULT __stdcall get_DefinedSize(ADO_LONGPTR* pl) = 0;
    virtual HRESULT __stdcall get_Name(BSTR* pbstr) = 0;
    virtual HRESULT __stdcall get_Type(long* pDataType) = 0;
    virtual HRESULT __stdcall get_Value(VARIANT* pvar) = 0;
    virtual HRESULT __stdcall put_Value(VARIANT Val) = 0;
    virtual HRESULT __stdcall get_Precision(BYTE* pbPrecision) = 0;
    virtual HRESULT __stdcall get_NumericScale(BYTE* pbNumericScale) = 0;
    virtual HRESULT __stdcall raw_AppendChunk(VARIANT Data) = 0;
    virtual HRESULT __stdcall raw_GetChunk(long Length, VARIANT* pvar) = 0;
    virtual HRESULT __stdcall get_OriginalValue(VARIANT* pvar) = 0;
    virtual HRESULT __stdcall get_UnderlyingValue(VARIANT* pvar) = 0;
    virtual HRESULT __stdcall get_DataFormat(IUnknown** ppiDF) = 0;
    virtual HRESULT __stdcall putref_DataFormat(IUnknown* piDF) = 0;
    virtual HRESULT __stdcall put_Precision(BYTE bPrecision) = 0;
    virtual HRESULT __stdcall put_NumericScale(BYTE bScale) = 0;
    virtual HRESULT __stdcall put_Type(long DataType) = 0;
    virtual HRESULT __stdcall put_DefinedSize(ADO_LONGPTR lSize) = 0;
    virtual HRESULT __stdcall put_Attributes(long lAttributes) = 0;
};

struct Field : Field20 {
    virtual HRESULT __stdcall get_Status(long* pFStatus) = 0;
};
