// Message boxes: the application name as caption and MFC's choice of owner.
#include "internal.h"

#include <comdef.h>

#include <exception>

namespace afx {

CString ExeBaseName()
{
    wchar_t path[MAX_PATH * 2] = {};
    DWORD n = ::GetModuleFileNameW(nullptr, path, MAX_PATH * 2);
    if (n == 0 || n >= MAX_PATH * 2)
        return CString();
    const wchar_t* name = path;
    for (const wchar_t* p = path; *p; ++p)
        if (*p == L'\\' || *p == L'/')
            name = p + 1;
    CString base(name);
    int dot = -1;
    for (int i = 0; i < base.GetLength(); ++i)
        if (base[i] == L'.')
            dot = i;
    return dot > 0 ? base.Left(dot) : base;
}

HWND GetSafeOwner(HWND hParent, HWND* pWndTop)
{
    HWND hWnd = hParent;
    if (!hWnd) {
        hWnd = AfxGetMainWnd()->GetSafeHwnd();
        if (!hWnd) {
            // No main window (yet): the window the user is working in, if any.
            HWND hActive = ::GetActiveWindow();
            if (hActive && ::IsWindowEnabled(hActive))
                hWnd = hActive;
        }
    }
    // A pop-up cannot be owned by a child window.
    while (hWnd && (::GetWindowLongPtrW(hWnd, GWL_STYLE) & WS_CHILD))
        hWnd = ::GetParent(hWnd);

    HWND hWndTop = hWnd;
    for (HWND h = hWnd; h; h = ::GetParent(h))
        hWndTop = h;

    if (!hParent && hWnd)
        hWnd = ::GetLastActivePopup(hWnd);

    if (pWndTop) {
        if (hWndTop && ::IsWindowEnabled(hWndTop) && hWndTop != hWnd) {
            *pWndTop = hWndTop;
            ::EnableWindow(hWndTop, FALSE);
        } else {
            *pWndTop = nullptr;
        }
    }
    return hWnd;
}

void ReportHandlerException()
{
    CString text;
    try {
        throw;
    } catch (CException* e) {
        if (!e->IsKindOf(RUNTIME_CLASS(CUserException)))
            e->ReportError(MB_ICONEXCLAMATION);
        e->Delete();
        return;
    } catch (const _com_error& e) {
        const wchar_t* description = e.Description();
        text.Format(L"操作失败 (0x%08lX)。\n%ls", static_cast<unsigned long>(e.Error()),
                    description ? description : L"");
    } catch (const std::exception& e) {
        text = L"操作失败: ";
        text += CString(e.what());
    } catch (...) {
        text = L"操作失败: 发生了未知错误。";
    }
    AfxMessageBox(text, MB_ICONEXCLAMATION);
}

}  // namespace afx

namespace {

// MFC's box: owned as GetSafeOwner says, with a standard icon when none is asked for.
int ShowAppMessageBox(LPCTSTR lpszPrompt, UINT nType, LPCTSTR lpszCaption)
{
    HWND hWndTop = nullptr;
    HWND hWnd = afx::GetSafeOwner(nullptr, &hWndTop);
    if ((nType & MB_ICONMASK) == 0) {
        switch (nType & MB_TYPEMASK) {
        case MB_OK:
        case MB_OKCANCEL:
            nType |= MB_ICONEXCLAMATION;
            break;
        case MB_YESNO:
        case MB_YESNOCANCEL:
            nType |= MB_ICONQUESTION;
            break;
        default:
            break;
        }
    }
    int result = ::MessageBoxW(hWnd, lpszPrompt, lpszCaption, nType);
    if (hWndTop)
        ::EnableWindow(hWndTop, TRUE);
    return result;
}

}  // namespace

int CWinApp::DoMessageBox(LPCTSTR lpszPrompt, UINT nType, UINT)
{
    return ShowAppMessageBox(lpszPrompt, nType, m_pszAppName);
}

int AfxMessageBox(LPCTSTR lpszText, UINT nType, UINT nIDHelp)
{
    if (CWinApp* app = AfxGetApp())
        return app->DoMessageBox(lpszText, nType, nIDHelp);
    // No application object (yet): the same rules, with the exe's name.
    return ShowAppMessageBox(lpszText, nType, AfxGetAppName());
}

int AfxMessageBox(UINT nIDPrompt, UINT nType, UINT nIDHelp)
{
    CString text;
    if (!text.LoadString(nIDPrompt))
        text.Format(L"(消息 %u)", nIDPrompt);
    return AfxMessageBox(text, nType, nIDHelp == static_cast<UINT>(-1) ? nIDPrompt : nIDHelp);
}

int CWnd::MessageBox(LPCTSTR lpszText, LPCTSTR lpszCaption, UINT nType)
{
    if (!lpszCaption)
        lpszCaption = AfxGetAppName();
    return ::MessageBoxW(GetSafeHwnd(), lpszText, lpszCaption, nType);
}
