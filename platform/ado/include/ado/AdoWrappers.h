// The throwing wrappers of AdoInterfaces.h, written as #import writes them: call the
// raw method, and on failure raise its HRESULT together with the object's error
// information for the interface that declares the method.
#pragma once

#include <ado/AdoInterfaces.h>

#define ADO_CHECK(call)                                   \
    do {                                                  \
        const HRESULT _hr = (call);                       \
        if (FAILED(_hr))                                  \
            _com_issue_errorex(_hr, this, __uuidof(this)); \
    } while (0)

inline HRESULT Connection15::Open(_bstr_t ConnectionString, _bstr_t UserID, _bstr_t Password,
                                  long Options)
{
    const HRESULT _hr = raw_Open(ConnectionString, UserID, Password, Options);
    if (FAILED(_hr))
        _com_issue_errorex(_hr, this, __uuidof(this));
    return _hr;
}

inline void Connection15::PutCursorLocation(CursorLocationEnum plCursorLoc)
{
    ADO_CHECK(put_CursorLocation(plCursorLoc));
}

inline VARIANT_BOOL Recordset15::GetBOF()
{
    VARIANT_BOOL _result = 0;
    ADO_CHECK(get_BOF(&_result));
    return _result;
}

inline VARIANT_BOOL Recordset15::GetEOF()
{
    VARIANT_BOOL _result = 0;
    ADO_CHECK(get_EOF(&_result));
    return _result;
}

inline FieldsPtr Recordset15::GetFields()
{
    Fields* _result = nullptr;
    ADO_CHECK(get_Fields(&_result));
    return FieldsPtr(_result, false);
}

inline ADO_LONGPTR Recordset15::GetRecordCount()
{
    ADO_LONGPTR _result = 0;
    ADO_CHECK(get_RecordCount(&_result));
    return _result;
}

#define ADO_METHOD(cls, name)                                  \
    inline HRESULT cls::name()                                 \
    {                                                          \
        const HRESULT _hr = raw_##name();                      \
        if (FAILED(_hr))                                       \
            _com_issue_errorex(_hr, this, __uuidof(this));     \
        return _hr;                                            \
    }
ADO_METHOD(Recordset15, Close)
ADO_METHOD(Recordset15, MoveNext)
ADO_METHOD(Recordset15, MoveFirst)
#undef ADO_METHOD

inline HRESULT Recordset15::Open(const _variant_t& Source, const _variant_t& ActiveConnection,
                                 CursorTypeEnum CursorType, LockTypeEnum LockType, long Options)
{
    const HRESULT _hr = raw_Open(Source, ActiveConnection, CursorType, LockType, Options);
    if (FAILED(_hr))
        _com_issue_errorex(_hr, this, __uuidof(this));
    return _hr;
}

inline long Recordset15::GetState()
{
    long _result = 0;
    ADO_CHECK(get_State(&_result));
    return _result;
}

inline long _Collection::GetCount()
{
    long _result = 0;
    ADO_CHECK(get_Count(&_result));
    return _result;
}

inline FieldPtr Fields15::GetItem(const _variant_t& Index)
{
    Field* _result = nullptr;
    ADO_CHECK(get_Item(Index, &_result));
    return FieldPtr(_result, false);
}

inline _variant_t Field20::GetValue()
{
    VARIANT _result;
    VariantInit(&_result);
    ADO_CHECK(get_Value(&_result));
    return _variant_t(_result, false);
}

#undef ADO_CHECK
