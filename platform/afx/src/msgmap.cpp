// Message maps: finding entries and calling handlers by their signature.
#include "internal.h"

IMPLEMENT_DYNAMIC(CCmdTarget, CObject)

const AFX_MSGMAP* CCmdTarget::GetThisMessageMap()
{
    static const AFX_MSGMAP_ENTRY entries[] = {{0, 0, 0, 0, AfxSig_end, nullptr}};
    static const AFX_MSGMAP map = {nullptr, &entries[0]};
    return &map;
}

const AFX_MSGMAP* CCmdTarget::GetMessageMap() const
{
    return GetThisMessageMap();
}

const AFX_MSGMAP_ENTRY* AfxFindMessageEntry(const AFX_MSGMAP* pMap, UINT nMsg, UINT nCode, UINT nID)
{
    for (; pMap; pMap = pMap->pfnGetBaseMap ? pMap->pfnGetBaseMap() : nullptr) {
        for (const AFX_MSGMAP_ENTRY* e = pMap->lpEntries; e->nSig != AfxSig_end; ++e) {
            if (e->nMessage == nMsg && e->nCode == nCode && nID >= e->nID && nID <= e->nLastID)
                return e;
        }
    }
    return nullptr;
}

BOOL CCmdTarget::OnCmdMsg(UINT nID, int nCode)
{
    const AFX_MSGMAP_ENTRY* e = AfxFindMessageEntry(GetMessageMap(), WM_COMMAND, static_cast<UINT>(nCode), nID);
    if (!e || e->nSig != AfxSig_vv)
        return FALSE;
    (this->*(e->pfn))();
    return TRUE;
}

BEGIN_MESSAGE_MAP(CWnd, CCmdTarget)
END_MESSAGE_MAP()

BOOL CWnd::OnCommand(WPARAM wParam, LPARAM lParam)
{
    UINT nID = LOWORD(wParam);
    int nCode = HIWORD(wParam);
    if (lParam == 0 && nCode == 1)  // accelerator: a command like a menu's
        nCode = 0;
    if (nID == 0)
        return FALSE;
    return OnCmdMsg(nID, nCode);
}

BOOL CWnd::OnNotify(WPARAM, LPARAM lParam, LRESULT* pResult)
{
    const NMHDR* pNMHDR = reinterpret_cast<const NMHDR*>(lParam);
    const AFX_MSGMAP_ENTRY* e =
        AfxFindMessageEntry(GetMessageMap(), WM_NOTIFY, pNMHDR->code, static_cast<UINT>(pNMHDR->idFrom));
    if (!e || e->nSig != AfxSig_vNMHDRpl)
        return FALSE;
    *pResult = 0;
    using Fn = void (CCmdTarget::*)(NMHDR*, LRESULT*);
    (this->*reinterpret_cast<Fn>(e->pfn))(reinterpret_cast<NMHDR*>(lParam), pResult);
    return TRUE;
}

BOOL CWnd::OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult)
{
    LRESULT lResult = 0;
    if (message == WM_COMMAND) {
        if (!OnCommand(wParam, lParam))
            return FALSE;
        *pResult = 1;
        return TRUE;
    }
    if (message == WM_NOTIFY) {
        const NMHDR* pNMHDR = reinterpret_cast<const NMHDR*>(lParam);
        if (!pNMHDR || !OnNotify(wParam, lParam, &lResult))
            return FALSE;
        *pResult = lResult;
        return TRUE;
    }

    UINT lookup = message;
    if (message >= WM_CTLCOLORMSGBOX && message <= WM_CTLCOLORSTATIC)
        lookup = WM_CTLCOLOR;
    const AFX_MSGMAP_ENTRY* e = AfxFindMessageEntry(GetMessageMap(), lookup, 0, 0);
    if (!e)
        return FALSE;

    switch (e->nSig) {
    case AfxSig_vv:
        (this->*(e->pfn))();
        break;
    case AfxSig_vwl: {
        using Fn = void (CCmdTarget::*)(UINT, LPARAM);
        (this->*reinterpret_cast<Fn>(e->pfn))(static_cast<UINT>(wParam), lParam);
        break;
    }
    case AfxSig_hv: {
        using Fn = HCURSOR (CCmdTarget::*)();
        lResult = reinterpret_cast<LRESULT>((this->*reinterpret_cast<Fn>(e->pfn))());
        break;
    }
    case AfxSig_hDWw: {
        if (lookup == message)  // only the real WM_CTLCOLORxxx messages
            return FALSE;
        using Fn = HBRUSH (CCmdTarget::*)(CDC*, CWnd*, UINT);
        lResult = reinterpret_cast<LRESULT>((this->*reinterpret_cast<Fn>(e->pfn))(
            CDC::FromHandle(reinterpret_cast<HDC>(wParam)), CWnd::FromHandle(reinterpret_cast<HWND>(lParam)),
            message - WM_CTLCOLORMSGBOX));
        break;
    }
    case AfxSig_vt: {
        using Fn = void (CCmdTarget::*)(UINT_PTR);
        (this->*reinterpret_cast<Fn>(e->pfn))(static_cast<UINT_PTR>(wParam));
        break;
    }
    case AfxSig_vwwW: {
        using Fn = void (CCmdTarget::*)(UINT, UINT, CScrollBar*);
        (this->*reinterpret_cast<Fn>(e->pfn))(LOWORD(wParam), HIWORD(wParam),
                                              static_cast<CScrollBar*>(CWnd::FromHandle(reinterpret_cast<HWND>(lParam))));
        break;
    }
    case AfxSig_lwl: {
        using Fn = LRESULT (CCmdTarget::*)(WPARAM, LPARAM);
        lResult = (this->*reinterpret_cast<Fn>(e->pfn))(wParam, lParam);
        break;
    }
    default:
        return FALSE;
    }
    *pResult = lResult;
    return TRUE;
}

// Default handlers: the window's own default processing of the current message.
void CWnd::OnPaint() { Default(); }
void CWnd::OnSysCommand(UINT, LPARAM) { Default(); }
void CWnd::OnClose() { Default(); }
void CWnd::OnDestroy() { Default(); }
void CWnd::OnTimer(UINT_PTR) { Default(); }
void CWnd::OnHScroll(UINT, UINT, CScrollBar*) { Default(); }
void CWnd::OnVScroll(UINT, UINT, CScrollBar*) { Default(); }
HBRUSH CWnd::OnCtlColor(CDC*, CWnd*, UINT) { return reinterpret_cast<HBRUSH>(Default()); }
HCURSOR CWnd::OnQueryDragIcon() { return reinterpret_cast<HCURSOR>(Default()); }
