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

CString::CString(wchar_t ch, int nRepeat)
{
    if (nRepeat > 0)
        m_str.assign(static_cast<size_t>(nRepeat), ch);
}

CString& CString::operator=(const wchar_t* psz)
{
    m_str = psz ? psz : L"";
    return *this;
}

CString& CString::operator=(const char* psz)
{
    m_str = FromAnsi(psz);
    return *this;
}

CString& CString::operator=(wchar_t ch)
{
    m_str.assign(1, ch);
    return *this;
}

wchar_t CString::GetAt(int nIndex) const
{
    if (nIndex < 0 || nIndex >= GetLength())
        return L'\0';
    return m_str[static_cast<size_t>(nIndex)];
}

void CString::SetAt(int nIndex, wchar_t ch)
{
    if (nIndex >= 0 && nIndex < GetLength())
        m_str[static_cast<size_t>(nIndex)] = ch;
}

CString CString::Left(int nCount) const
{
    nCount = std::clamp(nCount, 0, GetLength());
    return CString(m_str.c_str(), nCount);
}

CString CString::Mid(int nFirst) const
{
    return Mid(nFirst, GetLength() - std::max(nFirst, 0));
}

CString CString::Mid(int nFirst, int nCount) const
{
    nFirst = std::max(nFirst, 0);
    nCount = std::max(nCount, 0);
    if (nFirst >= GetLength())
        return CString();
    nCount = std::min(nCount, GetLength() - nFirst);
    return CString(m_str.c_str() + nFirst, nCount);
}

CString CString::Right(int nCount) const
{
    nCount = std::clamp(nCount, 0, GetLength());
    return CString(m_str.c_str() + (GetLength() - nCount), nCount);
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

int CString::Insert(int nIndex, wchar_t ch)
{
    nIndex = std::clamp(nIndex, 0, GetLength());
    m_str.insert(static_cast<size_t>(nIndex), 1, ch);
    return GetLength();
}

int CString::Insert(int nIndex, LPCWSTR psz)
{
    nIndex = std::clamp(nIndex, 0, GetLength());
    if (psz)
        m_str.insert(static_cast<size_t>(nIndex), psz);
    return GetLength();
}

int CString::Replace(LPCWSTR pszOld, LPCWSTR pszNew)
{
    if (!pszOld || !*pszOld)
        return 0;
    const std::wstring from(pszOld), to(pszNew ? pszNew : L"");
    int count = 0;
    for (size_t pos = m_str.find(from); pos != std::wstring::npos; pos = m_str.find(from, pos + to.size())) {
        m_str.replace(pos, from.size(), to);
        ++count;
    }
    return count;
}

int CString::Find(wchar_t ch, int nStart) const
{
    if (nStart < 0 || nStart >= GetLength())
        return -1;
    size_t pos = m_str.find(ch, static_cast<size_t>(nStart));
    return pos == std::wstring::npos ? -1 : static_cast<int>(pos);
}

int CString::Find(LPCWSTR pszSub, int nStart) const
{
    if (!pszSub || nStart < 0 || nStart > GetLength())
        return -1;
    size_t pos = m_str.find(pszSub, static_cast<size_t>(nStart));
    return pos == std::wstring::npos ? -1 : static_cast<int>(pos);
}

void CString::MakeUpper()
{
    if (!m_str.empty())
        ::CharUpperBuffW(m_str.data(), static_cast<DWORD>(m_str.size()));
}

void CString::MakeLower()
{
    if (!m_str.empty())
        ::CharLowerBuffW(m_str.data(), static_cast<DWORD>(m_str.size()));
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

int CString::Compare(LPCWSTR psz) const
{
    return std::wcscmp(m_str.c_str(), psz ? psz : L"");
}

int CString::CompareNoCase(LPCWSTR psz) const
{
    return _wcsicmp(m_str.c_str(), psz ? psz : L"");
}

CString& CString::operator+=(const CString& s)
{
    m_str += s.m_str;
    return *this;
}

CString& CString::operator+=(LPCWSTR psz)
{
    if (psz)
        m_str += psz;
    return *this;
}

CString& CString::operator+=(const char* psz)
{
    m_str += FromAnsi(psz);
    return *this;
}

CString& CString::operator+=(wchar_t ch)
{
    m_str += ch;
    return *this;
}

void CString::Format(LPCWSTR pszFormat, ...)
{
    va_list args;
    va_start(args, pszFormat);
    FormatV(pszFormat, args);
    va_end(args);
}

void CString::Format(UINT nFormatID, ...)
{
    CString format;
    format.LoadString(nFormatID);
    va_list args;
    va_start(args, nFormatID);
    FormatV(format, args);
    va_end(args);
}

void CString::FormatV(LPCWSTR pszFormat, va_list args)
{
    if (!pszFormat) {
        m_str.clear();
        return;
    }
    // The C runtime's own wide formatter: %s takes a wide string, as with MFC.
    std::vector<wchar_t> buf(256);
    for (;;) {
        va_list copy;
        va_copy(copy, args);
        int n = _vsnwprintf(buf.data(), buf.size() - 1, pszFormat, copy);
        va_end(copy);
        if (n >= 0 && static_cast<size_t>(n) < buf.size() - 1) {
            m_str.assign(buf.data(), static_cast<size_t>(n));
            return;
        }
        if (buf.size() > (1u << 24)) {  // a broken format, not a long text
            m_str.clear();
            return;
        }
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

BSTR CString::AllocSysString() const
{
    return ::SysAllocStringLen(m_str.c_str(), static_cast<UINT>(m_str.size()));
}

LPWSTR CString::GetBuffer(int nMinBufLength)
{
    if (nMinBufLength > GetLength())
        m_str.resize(static_cast<size_t>(nMinBufLength));
    return m_str.data();
}

void CString::ReleaseBuffer(int nNewLength)
{
    if (nNewLength < 0)
        nNewLength = static_cast<int>(std::wcslen(m_str.c_str()));
    m_str.resize(static_cast<size_t>(std::min(nNewLength, GetLength())));
}

LPWSTR CString::GetBufferSetLength(int nNewLength)
{
    m_str.resize(static_cast<size_t>(std::max(nNewLength, 0)));
    return m_str.data();
}

CString operator+(const CString& a, const CString& b)
{
    CString r(a);
    r += b;
    return r;
}

CString operator+(const CString& a, LPCWSTR b)
{
    CString r(a);
    r += b;
    return r;
}

CString operator+(LPCWSTR a, const CString& b)
{
    CString r(a);
    r += b;
    return r;
}

CString operator+(const CString& a, wchar_t b)
{
    CString r(a);
    r += b;
    return r;
}

CString operator+(wchar_t a, const CString& b)
{
    CString r(a);
    r += b;
    return r;
}

bool operator==(const CString& a, const CString& b) { return a.str() == b.str(); }
bool operator==(const CString& a, LPCWSTR b) { return a.Compare(b) == 0; }
bool operator==(LPCWSTR a, const CString& b) { return b.Compare(a) == 0; }
bool operator!=(const CString& a, const CString& b) { return !(a == b); }
bool operator!=(const CString& a, LPCWSTR b) { return !(a == b); }
bool operator!=(LPCWSTR a, const CString& b) { return !(a == b); }
bool operator<(const CString& a, const CString& b) { return a.str() < b.str(); }
bool operator<(const CString& a, LPCWSTR b) { return a.Compare(b) < 0; }
bool operator<(LPCWSTR a, const CString& b) { return b.Compare(a) > 0; }
