// Device-context and menu wrappers, with temporary objects for foreign handles.
#include "internal.h"

#include <memory>
#include <unordered_map>
#include <vector>

namespace {

template <class Obj, class Handle>
Obj* TempObject(Handle h)
{
    static std::unordered_map<Handle, std::unique_ptr<Obj>> map;
    auto& p = map[h];
    if (!p)
        p = std::make_unique<Obj>();
    return p.get();
}

}  // namespace

HDC CDC::GetSafeHdc() const
{
    return this ? m_hDC : nullptr;
}

CDC* CDC::FromHandle(HDC hDC)
{
    if (!hDC)
        return nullptr;
    CDC* p = TempObject<CDC>(hDC);
    p->m_hDC = hDC;
    return p;
}

BOOL CDC::Attach(HDC hDC)
{
    if (!hDC || m_hDC)
        return FALSE;
    m_hDC = hDC;
    return TRUE;
}

HDC CDC::Detach()
{
    HDC h = m_hDC;
    m_hDC = nullptr;
    return h;
}

void CDC::FillSolidRect(LPCRECT lpRect, COLORREF clr)
{
    COLORREF old = ::SetBkColor(m_hDC, clr);
    ::ExtTextOutW(m_hDC, 0, 0, ETO_OPAQUE, lpRect, nullptr, 0, nullptr);
    ::SetBkColor(m_hDC, old);
}

CPaintDC::CPaintDC(CWnd* pWnd) : m_hWnd(pWnd->GetSafeHwnd())
{
    m_hDC = ::BeginPaint(m_hWnd, &m_ps);
}

CPaintDC::~CPaintDC()
{
    ::EndPaint(m_hWnd, &m_ps);
    m_hDC = nullptr;
}

CClientDC::CClientDC(CWnd* pWnd) : m_hWnd(pWnd->GetSafeHwnd())
{
    m_hDC = ::GetDC(m_hWnd);
}

CClientDC::~CClientDC()
{
    ::ReleaseDC(m_hWnd, m_hDC);
    m_hDC = nullptr;
}

HMENU CMenu::GetSafeHmenu() const
{
    return this ? m_hMenu : nullptr;
}

CMenu* CMenu::FromHandle(HMENU hMenu)
{
    if (!hMenu)
        return nullptr;
    CMenu* p = TempObject<CMenu>(hMenu);
    p->m_hMenu = hMenu;
    return p;
}

BOOL CMenu::Attach(HMENU hMenu)
{
    if (!hMenu || m_hMenu)
        return FALSE;
    m_hMenu = hMenu;
    return TRUE;
}

HMENU CMenu::Detach()
{
    HMENU h = m_hMenu;
    m_hMenu = nullptr;
    return h;
}

BOOL CMenu::AppendMenu(UINT nFlags, UINT_PTR nIDNewItem, LPCTSTR lpszNewItem)
{
    return ::AppendMenuW(m_hMenu, nFlags, nIDNewItem, lpszNewItem);
}

int CMenu::GetMenuString(UINT nIDItem, CString& rString, UINT nFlags) const
{
    int n = ::GetMenuStringW(m_hMenu, nIDItem, nullptr, 0, nFlags);
    std::vector<wchar_t> buf(static_cast<size_t>(n) + 1);
    n = ::GetMenuStringW(m_hMenu, nIDItem, buf.data(), n + 1, nFlags);
    rString = CString(buf.data(), n);
    return n;
}
