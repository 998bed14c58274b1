// ActiveX Data Objects, the part a read-only client uses, over SQLite files.
//
// The declarations are shaped like those that #import "msado15.dll" no_namespace
// generates: interfaces with raw virtual methods (get_/put_/raw_ names, HRESULT
// results) in ADO's own vtable order and identifiers, throwing wrappers
// (GetRecordCount(), MoveFirst(), GetFields()->GetItem(_variant_t(1L))->GetValue())
// and _com_ptr_t smart pointers (_ConnectionPtr, _RecordsetPtr, FieldsPtr, FieldPtr).
// A failing wrapper throws _com_error carrying the object's IErrorInfo.
//
// Objects are created the COM way (CoCreateInstance of __uuidof(Connection) or
// __uuidof(Recordset), or of CLSIDFromProgID(L"ADODB.Connection")) once
// ado::RegisterClassObjects() has run on the thread.
#pragma once

#include <ado/AdoTypes.h>
#include <ado/AdoInterfaces.h>
#include <ado/AdoWrappers.h>

namespace ado {

// Registers this library's Connection and Recordset class objects with COM for the
// calling thread's apartment (CoInitialize first), so that CoCreateInstance with an
// in-process context finds them before anything the registry names. Further calls
// do nothing and return S_OK.
HRESULT RegisterClassObjects();

// Withdraws the registrations (before CoUninitialize, e.g. in tests).
void RevokeClassObjects();

}  // namespace ado
