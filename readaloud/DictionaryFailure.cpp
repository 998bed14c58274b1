#include "DictionaryFailure.h"

#include <afxwin.h>

#include <cwchar>

void ReportDictionaryFailure(const _com_error& e)
{
    CString text(L"读取词典失败，朗读已停止。");
    const _bstr_t description = e.Description();
    if (description.length() > 0) {
        text += L"\n";
        text += static_cast<const wchar_t*>(description);
    } else {
        wchar_t code[32];
        swprintf(code, 32, L"\n(0x%08lX)", static_cast<unsigned long>(e.Error()));
        text += code;
    }
    AfxMessageBox(text, MB_OK | MB_ICONERROR);
}
