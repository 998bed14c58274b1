// The look-up of one character in a dictionary recordset.
#pragma once

#include <afxwin.h>
#include <ado.h>

// Walks rs from its first row to the first row whose column 1 is exactly ch (same
// UTF-16 code units, nothing more). Found: rs stays on that row. Not found: rs is
// past its last row. A null, closed or empty recordset, or one without columns 1
// and 2, is simply not found; nothing here throws for it.
bool FindPhonetic(const _RecordsetPtr& rs, const CString& ch);

// Column 2 (the spelling) of rs's current row; empty when there is no current row
// or the value is not text.
CString ReadPhonetic(const _RecordsetPtr& rs);
