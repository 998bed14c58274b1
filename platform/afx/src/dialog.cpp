// CDialog: creation from the module's templates, the dialog procedure that
// routes to WindowProc, and the default handlers OnInitDialog/OnOK/OnCancel.
#include "internal.h"

#include <algorithm>

namespace {

// The dialog being created on this thread: bound at its first message.
thread_local CDialog* t_pDlgInit = nullptr;

// Messages whose result the dialog procedure returns itself instead of in DWLP_MSGRESULT.
bool ReturnsDirectly(UINT message)
{
    return (message >= WM_CTLCOLORMSGBOX && message <= WM_CTLCOLORSTATIC) || message == WM_COMPAREITEM ||
           message == WM_VKEYTOITEM || message == WM_CHARTOITEM || message == WM_QUERYDRAGICON ||
           message == WM_INITDIALOG;
}

}  // namespace

IMPLEMENT_DYNAMIC(CDialog, CWnd)

BEGIN_MESSAGE_MAP(CDialog, CWnd)
    ON_COMMAND(IDOK, OnOK)
    ON_COMMAND(IDCANCEL, OnCancel)
    ON_MESSAGE(WM_INITDIALOG, HandleInitDialog)
END_MESSAGE_MAP()

CDialog::CDialog() : m_lpszTemplateName(nullptr), m_pParentWnd(nullptr) {}

CDialog::CDialog(UINT nIDTemplate, CWnd* pParentWnd)
    : m_lpszTemplateName(MAKEINTRESOURCEW(nIDTemplate)), m_nIDHelp(nIDTemplate), m_pParentWnd(pParentWnd)
{
}

CDialog::CDialog(LPCTSTR lpszTemplateName, CWnd* pParentWnd)
    : m_lpszTemplateName(lpszTemplateName), m_pParentWnd(pParentWnd)
{
}

CDialog::~CDialog()
{
    if (m_hWnd && FromHandlePermanent(m_hWnd) == this && ::IsWindow(m_hWnd))
        DestroyWindow();
}

BOOL CDialog::Create(UINT nIDTemplate, CWnd* pParentWnd)
{
    return Create(MAKEINTRESOURCEW(nIDTemplate), pParentWnd);
}

BOOL CDialog::Create(LPCTSTR lpszTemplateName, CWnd* pParentWnd)
{
    m_lpszTemplateName = lpszTemplateName;
    if (IS_INTRESOURCE(lpszTemplateName) && m_nIDHelp == 0)
        m_nIDHelp = LOWORD(reinterpret_cast<ULONG_PTR>(lpszTemplateName));
    if (pParentWnd)
        m_pParentWnd = pParentWnd;
    HWND hWndParent = pParentWnd ? pParentWnd->GetSafeHwnd() : AfxGetMainWnd()->GetSafeHwnd();
    return CreateFromTemplate(lpszTemplateName, hWndParent);
}

BOOL CDialog::CreateFromTemplate(LPCTSTR lpszTemplateName, HWND hWndParent)
{
    if (m_hWnd)
        return FALSE;
    HINSTANCE hInst = AfxGetResourceHandle();
    HRSRC hResource = ::FindResourceW(hInst, lpszTemplateName, MAKEINTRESOURCEW(5) /* RT_DIALOG */);
    HGLOBAL hTemplate = hResource ? ::LoadResource(hInst, hResource) : nullptr;
    auto* pTemplate = hTemplate ? static_cast<LPCDLGTEMPLATEW>(::LockResource(hTemplate)) : nullptr;
    if (!pTemplate)
        return FALSE;
    CDialog* pOuter = t_pDlgInit;
    t_pDlgInit = this;
    HWND hWnd = ::CreateDialogIndirectParamW(hInst, pTemplate, hWndParent, &AfxDlgProc,
                                             reinterpret_cast<LPARAM>(this));
    t_pDlgInit = pOuter;
    if (!hWnd) {
        if (m_hWnd)
            Detach();
        return FALSE;
    }
    return TRUE;
}

INT_PTR CALLBACK AfxDlgProc(HWND hWnd, UINT nMsg, WPARAM wParam, LPARAM lParam)
{
    CDialog* pDlg = dynamic_cast<CDialog*>(CWnd::FromHandlePermanent(hWnd));
    if (!pDlg) {
        // The first message of a dialog that we are creating binds it.
        CDialog* pInit = t_pDlgInit;
        if (nMsg == WM_INITDIALOG && !pInit)
            pInit = reinterpret_cast<CDialog*>(lParam);
        if (!pInit || pInit->m_hWnd)
            return FALSE;
        t_pDlgInit = nullptr;
        pInit->Attach(hWnd);
        pDlg = pInit;
    }
    if (const MSG* p = pDlg->m_pDefaultPending;
        p && p->hwnd == hWnd && p->message == nMsg && p->wParam == wParam && p->lParam == lParam) {
        // Default() asked the dialog manager for its own processing of this message.
        pDlg->m_pDefaultPending = nullptr;
        return FALSE;
    }
    if (nMsg == WM_NCDESTROY) {
        afx::AfterNcDestroy(pDlg, hWnd);
        return FALSE;
    }
    LRESULT result = AfxCallWndProc(pDlg, hWnd, nMsg, wParam, lParam);
    if (ReturnsDirectly(nMsg))
        return result;
    ::SetWindowLongPtrW(hWnd, DWLP_MSGRESULT, result);
    return TRUE;
}

LRESULT CDialog::DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (!m_hWnd)
        return 0;
    // The dialog manager's default: it first asks the dialog procedure, which
    // declines this one message, then does its own processing.
    MSG pending{m_hWnd, message, wParam, lParam, 0, {}};
    m_pDefaultPending = &pending;
    LRESULT result = ::DefDlgProcW(m_hWnd, message, wParam, lParam);
    m_pDefaultPending = nullptr;
    return result;
}

namespace {

// The framework's rule for placing a dialog: one that its template leaves hidden, that
// OnInitDialog neither showed nor moved, and whose owner is absent or disabled (a modal
// box) is centred over its owner, or over the work area when it has none.
void CentreModalDialog(HWND hWnd, DWORD styleBefore, const RECT& rectBefore)
{
    DWORD style = static_cast<DWORD>(::GetWindowLongPtrW(hWnd, GWL_STYLE));
    if ((styleBefore & WS_VISIBLE) || (style & (WS_VISIBLE | WS_CHILD)))
        return;
    RECT rect;
    ::GetWindowRect(hWnd, &rect);
    if (rect.left != rectBefore.left || rect.top != rectBefore.top)
        return;
    HWND owner = ::GetWindow(hWnd, GW_OWNER);
    if (owner && ::IsWindowEnabled(owner))
        return;
    RECT area;
    MONITORINFO monitor{sizeof monitor};
    if (::GetMonitorInfoW(::MonitorFromWindow(owner ? owner : hWnd, MONITOR_DEFAULTTONEAREST), &monitor))
        area = monitor.rcWork;
    else
        ::SystemParametersInfoW(SPI_GETWORKAREA, 0, &area, 0);
    RECT centre = area;
    if (owner && !::IsIconic(owner) && ::IsWindowVisible(owner))
        ::GetWindowRect(owner, &centre);
    LONG width = rect.right - rect.left, height = rect.bottom - rect.top;
    LONG x = (centre.left + centre.right - width) / 2, y = (centre.top + centre.bottom - height) / 2;
    // Keep the whole dialog on the work area.
    x = std::max(area.left, std::min(x, area.right - width));
    y = std::max(area.top, std::min(y, area.bottom - height));
    ::SetWindowPos(hWnd, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

}  // namespace

namespace {

// The style that a dialog template gives its window; the dialog manager only adds
// WS_VISIBLE after WM_INITDIALOG, so the window cannot tell yet.
DWORD TemplateStyle(LPCTSTR lpszTemplateName)
{
    HINSTANCE hInst = AfxGetResourceHandle();
    HRSRC hResource = lpszTemplateName ? ::FindResourceW(hInst, lpszTemplateName, MAKEINTRESOURCEW(5)) : nullptr;
    HGLOBAL hTemplate = hResource ? ::LoadResource(hInst, hResource) : nullptr;
    auto* p = hTemplate ? static_cast<const WORD*>(::LockResource(hTemplate)) : nullptr;
    if (!p)
        return 0;
    // DLGTEMPLATEEX: dlgVer, signature 0xFFFF, helpID, exStyle, style.
    if (p[0] == 1 && p[1] == 0xFFFF)
        return *reinterpret_cast<const DWORD*>(p + 6);
    return *reinterpret_cast<const DWORD*>(p);
}

}  // namespace

LRESULT CDialog::HandleInitDialog(WPARAM, LPARAM)
{
    DWORD styleBefore = TemplateStyle(m_lpszTemplateName);
    RECT rectBefore{};
    ::GetWindowRect(m_hWnd, &rectBefore);
    BOOL result = OnInitDialog();
    if (m_hWnd)
        CentreModalDialog(m_hWnd, styleBefore, rectBefore);
    return result;
}

BOOL CDialog::OnInitDialog()
{
    if (!UpdateData(FALSE)) {
        EndDialog(-1);
        return FALSE;
    }
    return TRUE;
}

void CDialog::OnOK()
{
    if (!UpdateData(TRUE))
        return;
    EndDialog(IDOK);
}

void CDialog::OnCancel()
{
    EndDialog(IDCANCEL);
}

BOOL CDialog::OnCmdMsg(UINT nID, int nCode)
{
    if (CWnd::OnCmdMsg(nID, nCode))
        return TRUE;
    // Commands (not control notifications) that the dialog does not handle go
    // on to the application object.
    if (nCode != 0 || nID < 0x8000 || nID >= 0xF000)
        return FALSE;
    CWinApp* app = AfxGetApp();
    return app ? app->OnCmdMsg(nID, nCode) : FALSE;
}

BOOL CDialog::PreTranslateMessage(MSG* pMsg)
{
    if (CWnd::PreTranslateMessage(pMsg))
        return TRUE;
    // Esc in a multi-line edit would make the edit send WM_CLOSE to the
    // dialog; it means Cancel, as in a single-line one.
    if (pMsg->message == WM_KEYDOWN && (pMsg->wParam == VK_ESCAPE || pMsg->wParam == VK_CANCEL) &&
        (::GetWindowLongPtrW(pMsg->hwnd, GWL_STYLE) & ES_MULTILINE)) {
        wchar_t cls[16] = {};
        ::GetClassNameW(pMsg->hwnd, cls, 16);
        if (::lstrcmpiW(cls, L"Edit") == 0 && (::IsChild(m_hWnd, pMsg->hwnd))) {
            HWND hItem = ::GetDlgItem(m_hWnd, IDCANCEL);
            if (!hItem || ::IsWindowEnabled(hItem)) {
                SendMessage(WM_COMMAND, IDCANCEL, 0);
                return TRUE;
            }
        }
    }
    return PreTranslateInput(pMsg);
}

void CDialog::GotoDlgCtrl(CWnd* pWndCtrl)
{
    ::SendMessageW(m_hWnd, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(pWndCtrl->GetSafeHwnd()), 1L);
}
