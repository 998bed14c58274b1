// Wrappers of the common controls: tab control, trackbar and tooltip.
#include <afxcmn.h>

IMPLEMENT_DYNAMIC(CTabCtrl, CWnd)
IMPLEMENT_DYNAMIC(CSliderCtrl, CWnd)
IMPLEMENT_DYNAMIC(CToolTipCtrl, CWnd)

// --- CTabCtrl ---------------------------------------------------------------

BOOL CTabCtrl::Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID)
{
    return CWnd::Create(WC_TABCONTROLW, nullptr, dwStyle, rect, pParentWnd, nID);
}

LONG CTabCtrl::InsertItem(int nItem, LPCTSTR lpszItem)
{
    TCITEMW item{};
    item.mask = TCIF_TEXT;
    item.pszText = const_cast<LPWSTR>(lpszItem);
    return InsertItem(nItem, &item);
}

LONG CTabCtrl::InsertItem(int nItem, TCITEMW* pTabCtrlItem)
{
    return static_cast<LONG>(::SendMessageW(m_hWnd, TCM_INSERTITEMW, nItem, reinterpret_cast<LPARAM>(pTabCtrlItem)));
}

BOOL CTabCtrl::DeleteItem(int nItem)
{
    return static_cast<BOOL>(::SendMessageW(m_hWnd, TCM_DELETEITEM, nItem, 0));
}

BOOL CTabCtrl::DeleteAllItems()
{
    return static_cast<BOOL>(::SendMessageW(m_hWnd, TCM_DELETEALLITEMS, 0, 0));
}

int CTabCtrl::GetCurSel() const
{
    return static_cast<int>(::SendMessageW(m_hWnd, TCM_GETCURSEL, 0, 0));
}

int CTabCtrl::SetCurSel(int nItem)
{
    return static_cast<int>(::SendMessageW(m_hWnd, TCM_SETCURSEL, nItem, 0));
}

int CTabCtrl::GetCurFocus() const
{
    return static_cast<int>(::SendMessageW(m_hWnd, TCM_GETCURFOCUS, 0, 0));
}

void CTabCtrl::SetCurFocus(int nItem)
{
    ::SendMessageW(m_hWnd, TCM_SETCURFOCUS, nItem, 0);
}

int CTabCtrl::GetItemCount() const
{
    return static_cast<int>(::SendMessageW(m_hWnd, TCM_GETITEMCOUNT, 0, 0));
}

BOOL CTabCtrl::GetItemRect(int nItem, LPRECT lpRect) const
{
    return static_cast<BOOL>(::SendMessageW(m_hWnd, TCM_GETITEMRECT, nItem, reinterpret_cast<LPARAM>(lpRect)));
}

BOOL CTabCtrl::GetItem(int nItem, TCITEMW* pTabCtrlItem) const
{
    return static_cast<BOOL>(::SendMessageW(m_hWnd, TCM_GETITEMW, nItem, reinterpret_cast<LPARAM>(pTabCtrlItem)));
}

void CTabCtrl::AdjustRect(BOOL bLarger, LPRECT lpRect)
{
    ::SendMessageW(m_hWnd, TCM_ADJUSTRECT, bLarger, reinterpret_cast<LPARAM>(lpRect));
}

// --- CSliderCtrl ------------------------------------------------------------

BOOL CSliderCtrl::Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID)
{
    return CWnd::Create(TRACKBAR_CLASSW, nullptr, dwStyle, rect, pParentWnd, nID);
}

void CSliderCtrl::SetRange(int nMin, int nMax, BOOL bRedraw)
{
    // Two messages rather than TBM_SETRANGE, whose 16-bit halves would cut large values.
    ::SendMessageW(m_hWnd, TBM_SETRANGEMIN, FALSE, nMin);
    ::SendMessageW(m_hWnd, TBM_SETRANGEMAX, bRedraw, nMax);
}

void CSliderCtrl::GetRange(int& nMin, int& nMax) const
{
    nMin = GetRangeMin();
    nMax = GetRangeMax();
}

int CSliderCtrl::GetRangeMin() const
{
    return static_cast<int>(::SendMessageW(m_hWnd, TBM_GETRANGEMIN, 0, 0));
}

int CSliderCtrl::GetRangeMax() const
{
    return static_cast<int>(::SendMessageW(m_hWnd, TBM_GETRANGEMAX, 0, 0));
}

void CSliderCtrl::SetRangeMin(int nMin, BOOL bRedraw)
{
    ::SendMessageW(m_hWnd, TBM_SETRANGEMIN, bRedraw, nMin);
}

void CSliderCtrl::SetRangeMax(int nMax, BOOL bRedraw)
{
    ::SendMessageW(m_hWnd, TBM_SETRANGEMAX, bRedraw, nMax);
}

int CSliderCtrl::GetPos() const
{
    return static_cast<int>(::SendMessageW(m_hWnd, TBM_GETPOS, 0, 0));
}

void CSliderCtrl::SetPos(int nPos)
{
    ::SendMessageW(m_hWnd, TBM_SETPOS, TRUE, nPos);
}

int CSliderCtrl::GetLineSize() const
{
    return static_cast<int>(::SendMessageW(m_hWnd, TBM_GETLINESIZE, 0, 0));
}

int CSliderCtrl::SetLineSize(int nSize)
{
    return static_cast<int>(::SendMessageW(m_hWnd, TBM_SETLINESIZE, 0, nSize));
}

int CSliderCtrl::GetPageSize() const
{
    return static_cast<int>(::SendMessageW(m_hWnd, TBM_GETPAGESIZE, 0, 0));
}

int CSliderCtrl::SetPageSize(int nSize)
{
    return static_cast<int>(::SendMessageW(m_hWnd, TBM_SETPAGESIZE, 0, nSize));
}

void CSliderCtrl::SetTicFreq(int nFreq)
{
    ::SendMessageW(m_hWnd, TBM_SETTICFREQ, nFreq, 0);
}

// --- CToolTipCtrl -----------------------------------------------------------

BOOL CToolTipCtrl::Create(CWnd* pParentWnd, DWORD dwStyle)
{
    return CreateEx(0, TOOLTIPS_CLASSW, nullptr, WS_POPUP | dwStyle, CW_USEDEFAULT, CW_USEDEFAULT,
                    CW_USEDEFAULT, CW_USEDEFAULT, pParentWnd->GetSafeHwnd(), nullptr);
}

void CToolTipCtrl::Activate(BOOL bActivate)
{
    ::SendMessageW(m_hWnd, TTM_ACTIVATE, bActivate, 0);
}

void CToolTipCtrl::FillInToolInfo(TTTOOLINFOW& ti, CWnd* pWnd, UINT_PTR nIDTool) const
{
    ti = TTTOOLINFOW{};
    ti.cbSize = sizeof(TTTOOLINFOW);
    HWND hwnd = pWnd->GetSafeHwnd();
    if (nIDTool == 0) {
        ti.hwnd = ::GetParent(hwnd);
        ti.uFlags = TTF_IDISHWND;
        ti.uId = reinterpret_cast<UINT_PTR>(hwnd);
    } else {
        ti.hwnd = hwnd;
        ti.uId = nIDTool;
    }
}

BOOL CToolTipCtrl::AddTool(CWnd* pWnd, LPCTSTR lpszText, LPCRECT lpRectTool, UINT_PTR nIDTool)
{
    TTTOOLINFOW ti;
    FillInToolInfo(ti, pWnd, nIDTool);
    if (lpRectTool)
        ti.rect = *lpRectTool;
    ti.lpszText = const_cast<LPWSTR>(lpszText);
    return static_cast<BOOL>(::SendMessageW(m_hWnd, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&ti)));
}

BOOL CToolTipCtrl::AddTool(CWnd* pWnd, UINT nIDText, LPCRECT lpRectTool, UINT_PTR nIDTool)
{
    CString text;
    text.LoadString(nIDText);
    return AddTool(pWnd, text, lpRectTool, nIDTool);
}

void CToolTipCtrl::DelTool(CWnd* pWnd, UINT_PTR nIDTool)
{
    TTTOOLINFOW ti;
    FillInToolInfo(ti, pWnd, nIDTool);
    ::SendMessageW(m_hWnd, TTM_DELTOOLW, 0, reinterpret_cast<LPARAM>(&ti));
}

void CToolTipCtrl::UpdateTipText(LPCTSTR lpszText, CWnd* pWnd, UINT_PTR nIDTool)
{
    TTTOOLINFOW ti;
    FillInToolInfo(ti, pWnd, nIDTool);
    ti.lpszText = const_cast<LPWSTR>(lpszText);
    ::SendMessageW(m_hWnd, TTM_UPDATETIPTEXTW, 0, reinterpret_cast<LPARAM>(&ti));
}

void CToolTipCtrl::GetText(CString& str, CWnd* pWnd, UINT_PTR nIDTool) const
{
    TTTOOLINFOW ti;
    FillInToolInfo(ti, pWnd, nIDTool);
    wchar_t buf[1024] = {};
    ti.lpszText = buf;
    ::SendMessageW(m_hWnd, TTM_GETTEXTW, 1024, reinterpret_cast<LPARAM>(&ti));
    str = buf;
}

int CToolTipCtrl::GetToolCount() const
{
    return static_cast<int>(::SendMessageW(m_hWnd, TTM_GETTOOLCOUNT, 0, 0));
}

void CToolTipCtrl::SetTipTextColor(COLORREF clr)
{
    ::SendMessageW(m_hWnd, TTM_SETTIPTEXTCOLOR, clr, 0);
}

COLORREF CToolTipCtrl::GetTipTextColor() const
{
    return static_cast<COLORREF>(::SendMessageW(m_hWnd, TTM_GETTIPTEXTCOLOR, 0, 0));
}

void CToolTipCtrl::SetTipBkColor(COLORREF clr)
{
    ::SendMessageW(m_hWnd, TTM_SETTIPBKCOLOR, clr, 0);
}

void CToolTipCtrl::SetDelayTime(UINT nDelay)
{
    ::SendMessageW(m_hWnd, TTM_SETDELAYTIME, TTDT_AUTOMATIC, static_cast<LPARAM>(nDelay));
}

void CToolTipCtrl::SetDelayTime(DWORD dwDuration, int iTime)
{
    ::SendMessageW(m_hWnd, TTM_SETDELAYTIME, dwDuration, MAKELPARAM(iTime, 0));
}

int CToolTipCtrl::GetDelayTime(DWORD dwDuration) const
{
    return static_cast<int>(::SendMessageW(m_hWnd, TTM_GETDELAYTIME, dwDuration, 0));
}

int CToolTipCtrl::SetMaxTipWidth(int iWidth)
{
    return static_cast<int>(::SendMessageW(m_hWnd, TTM_SETMAXTIPWIDTH, 0, iWidth));
}

void CToolTipCtrl::RelayEvent(LPMSG lpMsg)
{
    if (m_hWnd)
        ::SendMessageW(m_hWnd, TTM_RELAYEVENT, 0, reinterpret_cast<LPARAM>(lpMsg));
}

void CToolTipCtrl::Pop()
{
    ::SendMessageW(m_hWnd, TTM_POP, 0, 0);
}
