// Framework exceptions (thrown as pointers, released with Delete()).
#include <afxdisp.h>

#include <cwchar>

IMPLEMENT_DYNAMIC(CException, CObject)
IMPLEMENT_DYNAMIC(CUserException, CException)
IMPLEMENT_DYNAMIC(CMemoryException, CException)
IMPLEMENT_DYNAMIC(CNotSupportedException, CException)
IMPLEMENT_DYNAMIC(COleException, CException)
IMPLEMENT_DYNAMIC(COleDispatchException, CException)

void CException::Delete()
{
    if (m_bAutoDelete)
        delete this;
}

BOOL CException::GetErrorMessage(LPWSTR lpszError, UINT nMaxError, PUINT pnHelpContext)
{
    if (pnHelpContext)
        *pnHelpContext = 0;
    if (lpszError && nMaxError)
        *lpszError = L'\0';
    return FALSE;
}

int CException::ReportError(UINT nType, UINT nMessageID)
{
    wchar_t text[512];
    if (GetErrorMessage(text, 512))
        return AfxMessageBox(text, nType);
    if (nMessageID)
        return AfxMessageBox(nMessageID, nType);
    return AfxMessageBox(L"发生了未知错误。", nType);
}

void AfxThrowUserException() { throw new CUserException; }
void AfxThrowNotSupportedException() { throw new CNotSupportedException; }
void AfxThrowMemoryException() { throw new CMemoryException; }

BOOL COleException::GetErrorMessage(LPWSTR lpszError, UINT nMaxError, PUINT pnHelpContext)
{
    if (pnHelpContext)
        *pnHelpContext = 0;
    if (!lpszError || !nMaxError)
        return FALSE;
    DWORD n = ::FormatMessageW(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
                               static_cast<DWORD>(m_sc), 0, lpszError, nMaxError, nullptr);
    if (n == 0)
        std::swprintf(lpszError, nMaxError, L"OLE 错误 0x%08lX", static_cast<unsigned long>(m_sc));
    return TRUE;
}

COleDispatchException::COleDispatchException(LPCTSTR lpszDescription, SCODE scError)
    : m_scError(scError), m_strDescription(lpszDescription)
{
}

BOOL COleDispatchException::GetErrorMessage(LPWSTR lpszError, UINT nMaxError, PUINT pnHelpContext)
{
    if (pnHelpContext)
        *pnHelpContext = 0;
    if (!lpszError || !nMaxError)
        return FALSE;
    if (!m_strDescription.IsEmpty())
        std::swprintf(lpszError, nMaxError, L"%ls", m_strDescription.GetString());
    else
        std::swprintf(lpszError, nMaxError, L"OLE 错误 0x%08lX", static_cast<unsigned long>(m_scError));
    return TRUE;
}

void AfxThrowOleException(SCODE sc) { throw new COleException(sc); }
