// The program's access to the phonetic dictionary: one ADO connection to the
// dictionary file and one recordset over the table cantonesePhonetic.
#pragma once

#include <ado.h>

// The query both dictionary objects open their recordsets on.
inline constexpr wchar_t kDictionaryQuery[] = L"select * from cantonesePhonetic";

class CPhoneticDb {
public:
    // Connects at once; a failure has been shown to the user when this returns.
    CPhoneticDb();
    virtual ~CPhoneticDb();

    void Connect();
    // Replaces the recordset by a new one opened on bstrSQL over this connection.
    // Failures are shown to the user; the recordset is then absent or not open,
    // and FindPhonetic finds nothing in it.
    _RecordsetPtr& OpenRecordset(BSTR bstrSQL);

    _ConnectionPtr m_pConnection;
    _RecordsetPtr m_pRecordset;
};
