// CDialog: creation from the module's templates, the dialog procedure that
// routes to WindowProc, and the default handlers OnInitDialog/OnOK/OnCancel.
#include "internal.h"

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

LRESULT CDialog::HandleInitDialog(WPARAM, LPARAM)
{
    return OnInitDialog();
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
