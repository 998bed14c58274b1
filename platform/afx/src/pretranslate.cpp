// Pre-translation: offering a message to the framework windows on its way up
// before the message loop translates and dispatches it.
#include "internal.h"

BOOL CWnd::WalkPreTranslateTree(HWND hWndStop, MSG* pMsg)
{
    for (HWND h = pMsg->hwnd; h; h = ::GetParent(h)) {
        try {
            if (CWnd* pWnd = FromHandlePermanent(h); pWnd && pWnd->PreTranslateMessage(pMsg))
                return TRUE;
        } catch (...) {
            // The same as a failing handler: reported, and the program goes on. The
            // message was the handler's, so it goes no further.
            afx::ReportHandlerException();
            return TRUE;
        }
        if (h == hWndStop)
            break;
    }
    return FALSE;
}

BOOL CWnd::PreTranslateMessage(MSG*)
{
    return FALSE;
}

BOOL CWnd::PreTranslateInput(LPMSG lpMsg)
{
    const UINT m = lpMsg->message;
    if ((m < WM_KEYFIRST || m > WM_KEYLAST) && (m < WM_MOUSEFIRST || m > WM_MOUSELAST))
        return FALSE;
    return IsDialogMessage(lpMsg);
}

BOOL AfxPreTranslateMessage(MSG* pMsg)
{
    if (CWinApp* app = AfxGetApp())
        return app->PreTranslateMessage(pMsg);
    return CWnd::WalkPreTranslateTree(nullptr, pMsg);
}
