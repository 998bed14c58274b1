#include "dictionary/FindPhonetic.h"

#include <cwchar>

namespace {

// Whether rs is open, has rows and at least nColumns columns. Asked through the
// raw methods: a recordset that is not usable is an answer here, not an error.
bool IsUsable(const _RecordsetPtr& rs, long nColumns)
{
    if (!rs)
        return false;
    long nState = adStateClosed;
    ADO_LONGPTR nRows = 0;
    if (FAILED(rs->get_State(&nState)) || nState != adStateOpen)
        return false;
    if (FAILED(rs->get_RecordCount(&nRows)) || nRows <= 0)
        return false;
    Fields* pFields = nullptr;
    if (FAILED(rs->get_Fields(&pFields)) || !pFields)
        return false;
    long nCount = 0;
    const HRESULT hr = pFields->get_Count(&nCount);
    pFields->Release();
    return SUCCEEDED(hr) && nCount >= nColumns;
}

bool SameText(BSTR bstrValue, const CString& str)
{
    const UINT nLength = SysStringLen(bstrValue);
    return nLength == static_cast<UINT>(str.GetLength()) &&
           std::wmemcmp(bstrValue, str.GetString(), nLength) == 0;
}

}  // namespace

bool FindPhonetic(const _RecordsetPtr& rs, const CString& ch)
{
    if (!IsUsable(rs, 2))
        return false;
    const _variant_t vColumn1(1L);
    rs->MoveFirst();
    for (long nRow = 1; nRow <= static_cast<long>(rs->GetRecordCount()); ++nRow) {
        const _variant_t vValue = rs->GetFields()->GetItem(vColumn1)->GetValue();
        // A value that is not text (NULL, a number) is no character: no match.
        if (V_VT(&vValue) == VT_BSTR && SameText(V_BSTR(&vValue), ch))
            return true;
        rs->MoveNext();
    }
    return false;
}

CString ReadPhonetic(const _RecordsetPtr& rs)
{
    if (!IsUsable(rs, 3))
        return CString();
    VARIANT_BOOL bEOF = VARIANT_TRUE;
    VARIANT_BOOL bBOF = VARIANT_TRUE;
    if (FAILED(rs->get_EOF(&bEOF)) || FAILED(rs->get_BOF(&bBOF)) || bEOF || bBOF)
        return CString();
    const _variant_t vValue = rs->GetFields()->GetItem(_variant_t(2L))->GetValue();
    if (V_VT(&vValue) != VT_BSTR)
        return CString();
    return CString(V_BSTR(&vValue), static_cast<int>(SysStringLen(V_BSTR(&vValue))));
}
