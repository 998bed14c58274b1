// CString: a wide string with MFC's operations and clamping rules.
#include <afxwin.h>

#include <algorithm>
#include <cwchar>
#include <cwctype>
#include <vector>

namespace {

std::wstring FromAnsi(const char* psz)
{
    if (!psz || !*psz)
        return {};
    int n = ::MultiByteToWideChar(CP_ACP, 0, psz, -1, nullptr, 0);
    if (n <= 1)
        return {};
    std::wstring w(static_cast<size_t>(n), L'\0');
    ::MultiByteToWideChar(CP_ACP, 0, psz, -1, w.data(), n);
    w.resize(static_cast<size_t>(n - 1));
    return w;
}

}  // namespace

CString::CString(const wchar_t* psz) : m_str(psz ? psz : L"") {}

CString::CString(const wchar_t* pch, int nLength)
{
    if (pch && nLength > 0)
        m_str.assign(pch, static_cast<size_t>(nLength));
}

CString::CString(const char* psz) : m_str(FromAnsi(psz)) {}

CString::CString(wchar_t ch) : m_str(1, ch) {}

CString& CString::operator=(const wchar_t* psz)
{
    m_str = psz ? psz : L"";
    return *this;
}

wchar_t CString::GetAt(int nIndex) const
{
    if (nIndex < 0 || nIndex >= GetLength())
        return L'\0';
    return m_str[static_cast<size_t>(nIndex)];
}

CString CString::Left(int nCount) const
{
    nCount = std::clamp(nCount, 0, GetLength());
    return CString(m_str.c_str(), nCount);
}

int CString::Delete(int nIndex, int nCount)
{
    nIndex = std::max(nIndex, 0);
    if (nCount > 0 && nIndex < GetLength()) {
        nCount = std::min(nCount, GetLength() - nIndex);
        m_str.erase(static_cast<size_t>(nIndex), static_cast<size_t>(nCount));
    }
    return GetLength();
}

CString& CString::TrimLeft()
{
    size_t i = 0;
    while (i < m_str.size() && std::iswspace(m_str[i]))
        ++i;
    m_str.erase(0, i);
    return *this;
}

CString& CString::TrimRight()
{
    while (!m_str.empty() && std::iswspace(m_str.back()))
        m_str.pop_back();
    return *this;
}

CString& CString::operator+=(const CString& s)
{
    m_str += s.m_str;
    return *this;
}

void CString::Format(LPCWSTR pszFormat, ...)
{
    m_str.clear();
    if (!pszFormat)
        return;
    // The C runtime's own wide formatter: %s takes a wide string, as with MFC.
    std::vector<wchar_t> buf(256);
    for (;;) {
        va_list args;
        va_start(args, pszFormat);
        const int n = _vsnwprintf(buf.data(), buf.size() - 1, pszFormat, args);
        va_end(args);
        if (n >= 0 && static_cast<size_t>(n) < buf.size() - 1) {
            m_str.assign(buf.data(), static_cast<size_t>(n));
            return;
        }
        if (buf.size() > (1u << 24))  // a broken format, not a long text
            return;
        buf.resize(buf.size() * 4);
    }
}

BOOL CString::LoadString(UINT nID)
{
    const wchar_t* p = nullptr;
    int n = ::LoadStringW(AfxGetResourceHandle(), nID, reinterpret_cast<LPWSTR>(&p), 0);
    if (n <= 0 || !p) {
        m_str.clear();
        return FALSE;
    }
    m_str.assign(p, static_cast<size_t>(n));
    return TRUE;
}

CString operator+(const CString& a, const CString& b)
{
    CString r(a);
    r += b;
    return r;
}

bool operator==(const CString& a, const CString& b)
{
    return a.GetLength() == b.GetLength() && std::wmemcmp(a.GetString(), b.GetString(), a.GetLength()) == 0;
}

bool operator==(const CString& a, LPCWSTR b) { return std::wcscmp(a.GetString(), b ? b : L"") == 0; }
bool operator!=(const CString& a, const CString& b) { return !(a == b); }
bool operator!=(const CString& a, LPCWSTR b) { return !(a == b); }
