// The application object, the framework's module state and its message loop.
#include "internal.h"

namespace {

struct ModuleState {
    CWinApp* pApp = nullptr;
    HINSTANCE hResource = nullptr;
    CString strExeName;
};

// Constructed on first use, so it is ready for any static object of the program.
ModuleState& State()
{
    static ModuleState state;
    return state;
}

}  // namespace

IMPLEMENT_DYNAMIC(CWinThread, CCmdTarget)
IMPLEMENT_DYNAMIC(CWinApp, CWinThread)

BEGIN_MESSAGE_MAP(CWinApp, CWinThread)
    ON_COMMAND(ID_HELP, OnHelp)
END_MESSAGE_MAP()

CWinThread::CWinThread() = default;

BOOL CWinThread::InitInstance()
{
    return FALSE;
}

int CWinThread::ExitInstance()
{
    return static_cast<int>(m_msgCur.wParam);
}

BOOL CWinThread::PreTranslateMessage(MSG* pMsg)
{
    return CWnd::WalkPreTranslateTree(m_pMainWnd->GetSafeHwnd(), pMsg);
}

BOOL CWinThread::OnIdle(LONG lCount)
{
    if (lCount == 0)
        CWnd::DeleteTempMap();
    return FALSE;
}

BOOL CWinThread::PumpMessage()
{
    BOOL got = ::GetMessageW(&m_msgCur, nullptr, 0, 0);
    if (got == 0 || got == -1)
        return FALSE;
    if (!PreTranslateMessage(&m_msgCur)) {
        ::TranslateMessage(&m_msgCur);
        ::DispatchMessageW(&m_msgCur);
    }
    return TRUE;
}

int CWinThread::Run()
{
    m_bInRun = TRUE;
    LONG idleCount = 0;
    for (;;) {
        MSG peek;
        while (!::PeekMessageW(&peek, nullptr, 0, 0, PM_NOREMOVE) && OnIdle(idleCount++)) {
        }
        if (!PumpMessage())
            break;
        idleCount = 0;
    }
    m_bInRun = FALSE;
    return ExitInstance();
}

CWinApp::CWinApp(LPCTSTR lpszAppName) : m_hInstance(::GetModuleHandleW(nullptr))
{
    State().pApp = this;
    m_strExeName = afx::ExeBaseName();
    m_strAppName = lpszAppName ? CString(lpszAppName) : m_strExeName;
    m_pszAppName = m_strAppName;
    m_pszExeName = m_strExeName;
}

CWinApp::~CWinApp()
{
    if (State().pApp == this)
        State().pApp = nullptr;
}

BOOL CWinApp::InitApplication()
{
    return TRUE;
}

BOOL CWinApp::InitInstance()
{
    return TRUE;
}

int CWinApp::ExitInstance()
{
    return CWinThread::ExitInstance();
}

HICON CWinApp::LoadIcon(UINT nIDResource) const
{
    return ::LoadIconW(AfxGetResourceHandle(), MAKEINTRESOURCEW(nIDResource));
}

HICON CWinApp::LoadIcon(LPCTSTR lpszResourceName) const
{
    return ::LoadIconW(AfxGetResourceHandle(), lpszResourceName);
}

HICON CWinApp::LoadStandardIcon(LPCTSTR lpszIconName) const
{
    return ::LoadIconW(nullptr, lpszIconName);
}

HCURSOR CWinApp::LoadCursor(UINT nIDResource) const
{
    return ::LoadCursorW(AfxGetResourceHandle(), MAKEINTRESOURCEW(nIDResource));
}

HCURSOR CWinApp::LoadStandardCursor(LPCTSTR lpszCursorName) const
{
    return ::LoadCursorW(nullptr, lpszCursorName);
}

void CWinApp::OnHelp()
{
    // The program has no help file: the Help command does nothing.
}

CWinApp* AfxGetApp()
{
    return State().pApp;
}

CWnd* AfxGetMainWnd()
{
    CWinApp* app = AfxGetApp();
    return app ? app->m_pMainWnd : nullptr;
}

HINSTANCE AfxGetInstanceHandle()
{
    CWinApp* app = AfxGetApp();
    return app && app->m_hInstance ? app->m_hInstance : ::GetModuleHandleW(nullptr);
}

HINSTANCE AfxGetResourceHandle()
{
    return State().hResource ? State().hResource : AfxGetInstanceHandle();
}

void AfxSetResourceHandle(HINSTANCE hInstResource)
{
    State().hResource = hInstResource;
}

LPCTSTR AfxGetAppName()
{
    if (CWinApp* app = AfxGetApp())
        return app->m_pszAppName;
    ModuleState& s = State();
    if (s.strExeName.IsEmpty())
        s.strExeName = afx::ExeBaseName();
    return s.strExeName;
}

int AfxWinMain(HINSTANCE hInstance, HINSTANCE, LPSTR lpCmdLine, int nCmdShow)
{
    INITCOMMONCONTROLSEX icc{sizeof(icc), ICC_WIN95_CLASSES | ICC_TAB_CLASSES | ICC_BAR_CLASSES |
                                              ICC_STANDARD_CLASSES};
    ::InitCommonControlsEx(&icc);

    CWinApp* app = AfxGetApp();
    if (!app)
        return -1;
    app->m_hInstance = hInstance;
    app->m_nCmdShow = nCmdShow;
    (void)lpCmdLine;  // the program takes no command line
    if (!app->InitApplication())
        return 0;
    if (!app->InitInstance()) {
        // A dialog-based program does its work in InitInstance and ends here.
        if (app->m_pMainWnd && app->m_pMainWnd->GetSafeHwnd())
            app->m_pMainWnd->DestroyWindow();
        app->ExitInstance();
        return 0;
    }
    return app->Run();
}
