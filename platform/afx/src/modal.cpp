// Modal dialogs: the owner is disabled, the framework's own message loop runs
// (with the pre-translation walk) until EndDialog, then the owner comes back.
#include "internal.h"

INT_PTR CDialog::DoModal()
{
    if (m_hWnd || !m_lpszTemplateName)
        return -1;
    HWND hWndTop = nullptr;
    HWND hWndParent = afx::GetSafeOwner(m_pParentWnd->GetSafeHwnd(), &hWndTop);
    bool enableParent = false;
    if (hWndParent && hWndParent != ::GetDesktopWindow() && ::IsWindowEnabled(hWndParent)) {
        ::EnableWindow(hWndParent, FALSE);
        enableParent = true;
    }

    m_nModalResult = -1;
    m_bContinueModal = TRUE;  // EndDialog in OnInitDialog clears it before the loop
    if (CreateFromTemplate(m_lpszTemplateName, hWndParent)) {
        if (m_bContinueModal && m_hWnd) {
            if (!::IsWindowVisible(m_hWnd))
                ::ShowWindow(m_hWnd, SW_SHOWNORMAL);
            RunModalLoop();
        }
        if (m_hWnd)
            ::SetWindowPos(m_hWnd, nullptr, 0, 0, 0, 0,
                           SWP_HIDEWINDOW | SWP_NOSIZE | SWP_NOMOVE | SWP_NOACTIVATE | SWP_NOZORDER);
    }
    m_bContinueModal = FALSE;

    // Re-enable the owner before destroying the dialog, or activation would go
    // to some other application's window.
    if (enableParent)
        ::EnableWindow(hWndParent, TRUE);
    if (hWndParent && ::GetActiveWindow() == m_hWnd)
        ::SetActiveWindow(hWndParent);
    if (m_hWnd)
        DestroyWindow();
    if (hWndTop)
        ::EnableWindow(hWndTop, TRUE);
    return m_nModalResult;
}

INT_PTR CDialog::RunModalLoop()
{
    const BOOL outerInLoop = m_bInModalLoop;
    m_bInModalLoop = TRUE;
    MSG msg;
    while (m_bContinueModal && m_hWnd) {
        BOOL got = ::GetMessageW(&msg, nullptr, 0, 0);
        if (got == -1)
            break;
        if (got == 0) {
            // Leave the quit request for the loops outside this one.
            ::PostQuitMessage(static_cast<int>(msg.wParam));
            m_nModalResult = -1;
            break;
        }
        if (!WalkPreTranslateTree(m_hWnd, &msg)) {
            ::TranslateMessage(&msg);
            ::DispatchMessageW(&msg);
        }
    }
    m_bInModalLoop = outerInLoop;
    return m_nModalResult;
}

void CDialog::EndDialog(int nResult)
{
    if (m_bContinueModal) {
        m_nModalResult = nResult;
        m_bContinueModal = FALSE;
        ::PostMessageW(m_hWnd, WM_NULL, 0, 0);  // wake the loop if it waits
    }
    // Hides the window; for a modeless dialog that is all it does.
    ::EndDialog(m_hWnd, nResult);
}
