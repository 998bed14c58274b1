// CWnd core: the handle maps, binding objects to windows (attach, subclass,
// creation hook) and the window procedure that forwards to WindowProc.
#include "internal.h"

#include <memory>
#include <unordered_map>

namespace {

std::unordered_map<HWND, CWnd*>& PermanentMap()
{
    static std::unordered_map<HWND, CWnd*> map;
    return map;
}

std::unordered_map<HWND, std::unique_ptr<CWnd>>& TempMap()
{
    static std::unordered_map<HWND, std::unique_ptr<CWnd>> map;
    return map;
}

// The object to bind to the next window created on this thread (CreateEx).
thread_local CWnd* t_pWndInit = nullptr;
thread_local HHOOK t_hHookCreate = nullptr;

LRESULT CALLBACK CreateHook(int code, WPARAM wParam, LPARAM lParam)
{
    if (code == HCBT_CREATEWND && t_pWndInit) {
        CWnd* pWnd = t_pWndInit;
        t_pWndInit = nullptr;
        pWnd->SubclassWindow(reinterpret_cast<HWND>(wParam));
    }
    return ::CallNextHookEx(t_hHookCreate, code, wParam, lParam);
}

}  // namespace

namespace afx {

CurrentMessage& LastSentMessage()
{
    thread_local CurrentMessage msg{};
    return msg;
}

void MapPermanent(HWND hWnd, CWnd* pWnd)
{
    PermanentMap()[hWnd] = pWnd;
}

void UnmapPermanent(HWND hWnd, CWnd* pWnd)
{
    auto it = PermanentMap().find(hWnd);
    if (it != PermanentMap().end() && it->second == pWnd)
        PermanentMap().erase(it);
}

}  // namespace afx

IMPLEMENT_DYNCREATE(CWnd, CCmdTarget)

CWnd::CWnd() : m_hWnd(nullptr) {}

CWnd::CWnd(HWND hWnd) : m_hWnd(hWnd) {}

CWnd::~CWnd()
{
    // An object that still owns its window takes it with it, as MFC does.
    if (m_hWnd && FromHandlePermanent(m_hWnd) == this) {
        if (::IsWindow(m_hWnd))
            DestroyWindow();
        if (m_hWnd)
            Detach();
    }
}

HWND CWnd::GetSafeHwnd() const
{
    return this ? m_hWnd : nullptr;
}

CWnd* CWnd::FromHandlePermanent(HWND hWnd)
{
    if (!hWnd)
        return nullptr;
    auto it = PermanentMap().find(hWnd);
    return it == PermanentMap().end() ? nullptr : it->second;
}

CWnd* CWnd::FromHandle(HWND hWnd)
{
    if (!hWnd)
        return nullptr;
    if (CWnd* p = FromHandlePermanent(hWnd))
        return p;
    auto& temp = TempMap()[hWnd];
    if (!temp)
        temp = std::make_unique<CWnd>(hWnd);
    temp->m_hWnd = hWnd;  // a handle value may come back for a new window
    return temp.get();
}

void CWnd::DeleteTempMap()
{
    TempMap().clear();
}

BOOL CWnd::Attach(HWND hWndNew)
{
    if (!hWndNew || m_hWnd)
        return FALSE;
    m_hWnd = hWndNew;
    afx::MapPermanent(hWndNew, this);
    return TRUE;
}

HWND CWnd::Detach()
{
    HWND h = m_hWnd;
    if (h)
        afx::UnmapPermanent(h, this);
    m_hWnd = nullptr;
    return h;
}

BOOL CWnd::SubclassWindow(HWND hWnd)
{
    if (!::IsWindow(hWnd) || FromHandlePermanent(hWnd) || !Attach(hWnd))
        return FALSE;
    WNDPROC old = reinterpret_cast<WNDPROC>(
        ::SetWindowLongPtrW(hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&AfxWndProc)));
    if (!old) {
        Detach();
        return FALSE;
    }
    if (old != &AfxWndProc)
        m_pfnSuper = old;
    return TRUE;
}

BOOL CWnd::SubclassDlgItem(UINT nID, CWnd* pParent)
{
    HWND hWndControl = ::GetDlgItem(pParent->GetSafeHwnd(), static_cast<int>(nID));
    return hWndControl ? SubclassWindow(hWndControl) : FALSE;
}

HWND CWnd::UnsubclassWindow()
{
    if (m_pfnSuper && m_hWnd &&
        ::GetWindowLongPtrW(m_hWnd, GWLP_WNDPROC) == reinterpret_cast<LONG_PTR>(&AfxWndProc))
        ::SetWindowLongPtrW(m_hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(m_pfnSuper));
    m_pfnSuper = nullptr;
    return Detach();
}

BOOL CWnd::Create(LPCTSTR lpszClassName, LPCTSTR lpszWindowName, DWORD dwStyle, const RECT& rect,
                  CWnd* pParentWnd, UINT nID, CCreateContext*)
{
    return CreateEx(0, lpszClassName, lpszWindowName, dwStyle | WS_CHILD, rect.left, rect.top,
                    rect.right - rect.left, rect.bottom - rect.top, pParentWnd->GetSafeHwnd(),
                    reinterpret_cast<HMENU>(static_cast<UINT_PTR>(nID)));
}

BOOL CWnd::CreateEx(DWORD dwExStyle, LPCTSTR lpszClassName, LPCTSTR lpszWindowName, DWORD dwStyle, int x,
                    int y, int nWidth, int nHeight, HWND hWndParent, HMENU nIDorHMenu, LPVOID lpParam)
{
    if (m_hWnd)
        return FALSE;
    // Bind this object while the window is being created, so that it sees the
    // window's first messages.
    CWnd* pOuterInit = t_pWndInit;
    HHOOK hOuterHook = t_hHookCreate;
    t_pWndInit = this;
    t_hHookCreate = ::SetWindowsHookExW(WH_CBT, &CreateHook, nullptr, ::GetCurrentThreadId());
    HWND hWnd = ::CreateWindowExW(dwExStyle, lpszClassName, lpszWindowName, dwStyle, x, y, nWidth, nHeight,
                                  hWndParent, nIDorHMenu, AfxGetInstanceHandle(), lpParam);
    ::UnhookWindowsHookEx(t_hHookCreate);
    t_hHookCreate = hOuterHook;
    t_pWndInit = pOuterInit;
    if (!hWnd) {
        if (m_hWnd)  // bound, then destroyed during creation
            UnsubclassWindow();
        return FALSE;
    }
    if (m_hWnd != hWnd) {  // the hook did not see it (another hook swallowed it)
        if (m_hWnd)
            UnsubclassWindow();
        SubclassWindow(hWnd);
    }
    return TRUE;
}

BOOL CWnd::DestroyWindow()
{
    HWND h = m_hWnd;
    if (!h)
        return FALSE;
    const bool permanent = FromHandlePermanent(h) == this;
    BOOL result = ::DestroyWindow(h);
    // A subclassed object was detached by WM_NCDESTROY (and may be gone);
    // an attached-only one learns of the end here.
    if (permanent) {
        if (FromHandlePermanent(h) == this && !::IsWindow(h))
            Detach();
    } else if (!::IsWindow(h)) {
        m_hWnd = nullptr;
    }
    return result;
}

LRESULT CALLBACK AfxWndProc(HWND hWnd, UINT nMsg, WPARAM wParam, LPARAM lParam)
{
    CWnd* pWnd = CWnd::FromHandlePermanent(hWnd);
    if (!pWnd)
        return ::DefWindowProcW(hWnd, nMsg, wParam, lParam);
    return AfxCallWndProc(pWnd, hWnd, nMsg, wParam, lParam);
}

LRESULT AfxCallWndProc(CWnd* pWnd, HWND hWnd, UINT nMsg, WPARAM wParam, LPARAM lParam)
{
    afx::CurrentMessage& current = afx::LastSentMessage();
    const afx::CurrentMessage saved = current;
    current = {hWnd, nMsg, wParam, lParam};
    LRESULT result = 0;
    try {
        result = pWnd->WindowProc(nMsg, wParam, lParam);
    } catch (...) {
        // A handler's failure is reported and the program goes on, as with MFC.
        afx::ReportHandlerException();
        result = (nMsg == WM_CREATE) ? -1 : 0;
    }
    if (nMsg == WM_NCDESTROY)
        afx::AfterNcDestroy(pWnd, hWnd);
    current = saved;
    return result;
}

namespace afx {

void AfterNcDestroy(CWnd* pWnd, HWND hWnd)
{
    if (CWnd::FromHandlePermanent(hWnd) != pWnd)
        return;
    // The window is gone: give the procedure back and let the object go.
    pWnd->UnsubclassWindow();
    if (CWinApp* app = AfxGetApp(); app && app->m_pMainWnd == pWnd) {
        app->m_pMainWnd = nullptr;
        // A program that runs the framework's loop ends with its main window.
        if (app->m_bInRun)
            ::PostQuitMessage(0);
    }
    pWnd->PostNcDestroy();
}

}  // namespace afx

LRESULT CWnd::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    LRESULT result = 0;
    if (!OnWndMsg(message, wParam, lParam, &result))
        result = DefWindowProc(message, wParam, lParam);
    return result;
}

LRESULT CWnd::DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (m_pfnSuper)
        return ::CallWindowProcW(m_pfnSuper, m_hWnd, message, wParam, lParam);
    return ::DefWindowProcW(m_hWnd, message, wParam, lParam);
}

LRESULT CWnd::Default()
{
    const afx::CurrentMessage& m = afx::LastSentMessage();
    return DefWindowProc(m.message, m.wParam, m.lParam);
}

void CWnd::PostNcDestroy() {}
