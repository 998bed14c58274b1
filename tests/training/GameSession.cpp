#include "GameSession.h"

#include <gtest/gtest.h>

#include <exception>

#include "app/PronounceApp.h"
#include "app/PronounceDlg.h"
#include "support/Drive.h"
#include "training/GameState.h"
#include "training/TrainingPage.h"

namespace {

const UINT kResume = WM_APP + 1;
const UINT_PTR kWaitTimer = 1;

// A message box (or any other dialog but the main window) still open on this thread.
bool NestedDialogOpen(HWND hMain)
{
    struct Search {
        HWND hMain;
        bool found;
    } search{hMain, false};
    EnumThreadWindows(
        GetCurrentThreadId(),
        [](HWND h, LPARAM p) -> BOOL {
            auto* s = reinterpret_cast<Search*>(p);
            wchar_t cls[16] = {};
            GetClassNameW(h, cls, 16);
            if (h != s->hMain && IsWindowVisible(h) && lstrcmpW(cls, L"#32770") == 0) {
                s->found = true;
                return FALSE;
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
}

}  // namespace

CTrainingPage& GameSession::Page() const
{
    return *m_pMain->m_pTrainingPage;
}

HWND GameSession::PageWnd() const
{
    return m_pMain->m_pTrainingPage->m_hWnd;
}

void GameSession::Run(const std::function<void(GameSession&)>& body)
{
    static const wchar_t kClass[] = L"TrainingTestScript";
    WNDCLASSW wc{};
    wc.lpfnWndProc = HelperProc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = kClass;
    RegisterClassW(&wc);  // fails harmlessly when already registered

    // The game's state as at program start, should an earlier test of this process
    // have played.
    g_nTextPos = 0;
    g_bReloadText = true;
    g_bRunning = false;
    g_bHalted = false;

    CPronounceDlg dlg;
    GameSession session(&dlg);
    session.m_body = &body;
    session.m_hHelper = CreateWindowW(kClass, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, wc.hInstance, nullptr);
    SetWindowLongPtrW(session.m_hHelper, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(&session));

    const bool wasFiber = IsThreadAFiber();
    session.m_mainFiber = wasFiber ? GetCurrentFiber() : ConvertThreadToFiber(nullptr);
    session.m_scriptFiber = CreateFiber(0, ScriptFiber, &session);

    // The first resume reaches the script once the loop runs, after OnInitDialog.
    PostMessageW(session.m_hHelper, kResume, 0, 0);
    theApp.m_pMainWnd = &dlg;  // as InitInstance does
    dlg.DoModal();
    theApp.m_pMainWnd = nullptr;

    EXPECT_TRUE(session.m_bDone) << "the main window closed before the test had finished";
    DeleteFiber(session.m_scriptFiber);
    if (!wasFiber)
        ConvertFiberToThread();
    DestroyWindow(session.m_hHelper);
}

void CALLBACK GameSession::ScriptFiber(void* param)
{
    auto* self = static_cast<GameSession*>(param);
    try {
        (*self->m_body)(*self);
    } catch (const std::exception& e) {
        ADD_FAILURE() << "exception in the test script: " << e.what();
    } catch (...) {
        ADD_FAILURE() << "exception in the test script";
    }
    self->m_bDone = true;
    if (::IsWindow(self->m_pMain->m_hWnd))
        self->m_pMain->EndDialog(IDCANCEL);
    for (;;)
        SwitchToFiber(self->m_mainFiber);  // a fiber must never return
}

LRESULT CALLBACK GameSession::HelperProc(HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    auto* self = reinterpret_cast<GameSession*>(GetWindowLongPtrW(hWnd, GWLP_USERDATA));
    if (msg == WM_TIMER && wParam == kWaitTimer) {
        KillTimer(hWnd, kWaitTimer);
        self->Resume();
        return 0;
    }
    if (msg == kResume) {
        self->Resume();
        return 0;
    }
    return DefWindowProcW(hWnd, msg, wParam, lParam);
}

// Called from the loop: goes on with the script once every box that its last step
// opened has been answered and closed.
void GameSession::Resume()
{
    if (m_bDone)
        return;
    if (NestedDialogOpen(m_pMain->m_hWnd)) {
        Sleep(1);
        PostMessageW(m_hHelper, kResume, 0, 0);
        return;
    }
    SwitchToFiber(m_scriptFiber);
}

void GameSession::Pump()
{
    PostMessageW(m_hHelper, kResume, 0, 0);
    SwitchToFiber(m_mainFiber);
}

void GameSession::Wait(DWORD ms)
{
    // A timer, not a posted message: the loop's own timers must get their turn meanwhile.
    SetTimer(m_hHelper, kWaitTimer, ms, nullptr);
    SwitchToFiber(m_mainFiber);
}

void GameSession::ClickTab(int index)
{
    HWND hTab = GetDlgItem(m_pMain->m_hWnd, IDC_TAB);
    RECT item{};
    SendMessageW(hTab, TCM_GETITEMRECT, index, reinterpret_cast<LPARAM>(&item));
    ClickAt(hTab, POINT{(item.left + item.right) / 2, (item.top + item.bottom) / 2});
    Pump();
}

bool GameSession::Click(int id)
{
    if (!ClickButton(PageWnd(), id))
        return false;
    Pump();
    return true;
}

void GameSession::Type(const std::wstring& text)
{
    TypeText(GetDlgItem(PageWnd(), IDC_ANSWER), text.c_str());
    Pump();
}

void GameSession::PressEnter()
{
    HWND hFocus = GetFocus();
    EXPECT_TRUE(hFocus && IsChild(PageWnd(), hFocus)) << "the focus is not on the training page";
    PostKey(hFocus, VK_RETURN);
    Pump();
}

void GameSession::Tick(UINT_PTR id, int count)
{
    for (int i = 0; i < count; ++i)
        SendMessageW(PageWnd(), WM_TIMER, id, 0);
}

std::wstring GameSession::Text(int id) const
{
    return TextOf(PageWnd(), id);
}

RECT GameSession::Rect(int id) const
{
    RECT r{};
    GetWindowRect(GetDlgItem(PageWnd(), id), &r);
    MapWindowPoints(nullptr, PageWnd(), reinterpret_cast<POINT*>(&r), 2);
    return r;
}

int GameSession::SliderPos() const
{
    return static_cast<int>(SendDlgItemMessageW(PageWnd(), IDC_SPEED, TBM_GETPOS, 0, 0));
}

int GameSession::ClientHeight() const
{
    RECT r{};
    GetClientRect(PageWnd(), &r);
    return r.bottom;
}
