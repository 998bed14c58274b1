// Scalar types, enumerations and error codes of ADO 2.x, as the type library gives
// them. Only the enumerations a client passes or reads are spelled out.
#pragma once

#include <comdef.h>

#ifdef _WIN64
typedef LONGLONG ADO_LONGPTR;
#else
typedef LONG ADO_LONGPTR;
#endif
typedef ADO_LONGPTR PositionEnum_Param;

enum CursorLocationEnum { adUseNone = 1, adUseServer = 2, adUseClient = 3, adUseClientBatch = 3 };

enum CursorTypeEnum {
    adOpenUnspecified = -1, adOpenForwardOnly = 0, adOpenKeyset = 1, adOpenDynamic = 2, adOpenStatic = 3
};

enum LockTypeEnum {
    adLockUnspecified = -1, adLockReadOnly = 1, adLockPessimistic = 2, adLockOptimistic = 3,
    adLockBatchOptimistic = 4
};

enum CommandTypeEnum {
    adCmdUnspecified = -1, adCmdText = 1, adCmdTable = 2, adCmdStoredProc = 4, adCmdUnknown = 8,
    adCmdFile = 256, adCmdTableDirect = 512
};

enum ObjectStateEnum {
    adStateClosed = 0, adStateOpen = 1, adStateConnecting = 2, adStateExecuting = 4, adStateFetching = 8
};

// ADO's own error numbers; as HRESULTs they are MAKE_HRESULT(1, FACILITY_CONTROL, n).
enum ErrorValueEnum {
    adErrInvalidArgument = 3001,
    adErrNoCurrentRecord = 3021,
    adErrFeatureNotAvailable = 3251,
    adErrItemNotFound = 3265,
    adErrObjectClosed = 3704,
    adErrObjectOpen = 3705,
    adErrInvalidConnection = 3709
};

constexpr HRESULT AdoHResult(ErrorValueEnum e)
{
    return static_cast<HRESULT>(0x800A0000u | static_cast<unsigned>(e));
}
