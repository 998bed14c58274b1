#include "support/MainWindowDriver.h"

#include <afxdisp.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <exception>

#include "app/PronounceApp.h"
#include "app/PronounceDlg.h"
#include "support/Dialogs.h"
#include "support/Drive.h"
#include "support/MessageBoxes.h"
#include "training/GameState.h"
#include "training/TrainingPage.h"

namespace {

const wchar_t kEmptyTextMessage[] = L"请在文本框中输入一些文字";

// The driver whose window runs (one at a time, on the thread that runs it).
MainWindowDriver* g_running = nullptr;
HHOOK g_tickHook = nullptr;

// A dialog or message box of this thread shows besides the main window.
bool BoxOver(HWND main)
{
    struct Search {
        HWND main;
        bool found;
    } search{main, false};
    EnumThreadWindows(
        GetCurrentThreadId(),
        [](HWND h, LPARAM p) -> BOOL {
            auto* s = reinterpret_cast<Search*>(p);
            wchar_t cls[16] = {};
            GetClassNameW(h, cls, 16);
            s->found = h != s->main && IsWindowVisible(h) && lstrcmpW(cls, L"#32770") == 0;
            return !s->found;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
}

}  // namespace

MainWindowDriver::Outcome MainWindowDriver::Run(const Script& script, DWORD watchdogMs)
{
    CPronounceDlg dlg;
    return Run(dlg, script, watchdogMs);
}

MainWindowDriver::Outcome MainWindowDriver::Run(CPronounceDlg& dlg, const Script& script, DWORD watchdogMs)
{
    // The game's state as at program start, should an earlier run of this process have played.
    g_nTextPos = 0;
    g_bReloadText = true;
    g_bRunning = false;
    g_bHalted = false;

    MainWindowDriver d(dlg, script);
    d.m_loopFiber = ConvertThreadToFiber(nullptr);
    if (!d.m_loopFiber) {
        ADD_FAILURE() << "the main window runs one at a time, on a thread that is no fiber yet";
        return d.m_outcome;
    }
    d.m_scriptFiber = CreateFiber(0, &ScriptMain, &d);

    // The script starts once the window is up and no box of its start-up (a
    // dictionary report, say) is open over it.
    Later([&d] { d.ResumeWhenIdle(); });
    After(watchdogMs, [&d, watchdogMs] {
        d.m_outcome.watchdogFired = true;
        ADD_FAILURE() << "the main window still ran after " << watchdogMs << " ms: the watchdog ended it";
        // A walk holding at a pause, or between recordings, gives way.
        d.m_dlg.m_bPause = false;
        d.m_dlg.m_bStop = true;
        d.EndAll(kWatchdogEnded);
    });
    AfxEnableControlContainer();  // as InitInstance does before any window
    theApp.m_pMainWnd = &dlg;
    // Every loop of the thread (the main window's, a walk's, a box's) takes its
    // messages through the hook.
    g_running = &d;
    g_tickHook = SetWindowsHookExW(WH_GETMESSAGE, &DropPageTicks, nullptr, GetCurrentThreadId());
    EXPECT_TRUE(g_tickHook) << "the page's timers cannot be held";
    d.m_outcome.result = dlg.DoModal();
    UnhookWindowsHookEx(g_tickHook);
    g_tickHook = nullptr;
    g_running = nullptr;
    theApp.m_pMainWnd = nullptr;
    CancelCallbacks();

    d.m_windowGone = true;
    if (!d.m_done) {
        ADD_FAILURE() << "the main window ended before the test script had finished";
        d.SwitchToScript();  // it runs to its end, releasing what it holds
    }
    DeleteFiber(d.m_scriptFiber);
    ConvertFiberToThread();
    return d.m_outcome;
}

// A tick of the page's fall or hint timer taken from the queue (the real timer) becomes
// WM_NULL while they are held; the ticks Tick() sends never pass through a queue.
LRESULT CALLBACK MainWindowDriver::DropPageTicks(int code, WPARAM wParam, LPARAM lParam)
{
    auto* msg = reinterpret_cast<MSG*>(lParam);
    if (code == HC_ACTION && g_running && g_running->m_pageTimersHeld && msg->message == WM_TIMER &&
        (msg->wParam == CTrainingPage::kFallTimer || msg->wParam == CTrainingPage::kHintTimer) &&
        g_running->m_dlg.m_pTrainingPage && msg->hwnd == g_running->m_dlg.m_pTrainingPage->m_hWnd)
        msg->message = WM_NULL;
    return CallNextHookEx(g_tickHook, code, wParam, lParam);
}

void CALLBACK MainWindowDriver::ScriptMain(void* param)
{
    auto& d = *static_cast<MainWindowDriver*>(param);
    try {
        d.m_script(d);
    } catch (const std::exception& e) {
        ADD_FAILURE() << "exception in the test script: " << e.what();
    } catch (...) {
        ADD_FAILURE() << "exception in the test script";
    }
    d.m_done = true;
    // What the script posted last (a close, say) is handled before a window it left
    // open is ended.
    if (!d.m_windowGone)
        After(0, [&d] { d.EndAll(kLeftOpen); });
    for (;;)
        SwitchToFiber(d.m_loopFiber);  // a fiber must never return
}

// Ends the boxes and dialogs still open over the main window, innermost first, then
// the main window, if it still runs.
void MainWindowDriver::EndAll(INT_PTR result)
{
    const HWND main = m_dlg.m_hWnd;
    if (!::IsWindow(main) || !::IsWindowVisible(main))
        return;
    for (HWND box : OpenDialogs()) {
        if (box == main)
            continue;
        if (auto* framework = dynamic_cast<CDialog*>(CWnd::FromHandlePermanent(box)))
            framework->EndDialog(IDCANCEL);
        else
            ::EndDialog(box, IDCANCEL);
    }
    m_dlg.EndDialog(static_cast<int>(result));
}

// Idle: the window is up and takes input, no real input is still to come, and no
// box or dialog is open over it.
bool MainWindowDriver::Idle() const
{
    const HWND main = m_dlg.m_hWnd;
    if (!::IsWindow(main) || !::IsWindowVisible(main) || !::IsWindowEnabled(main))
        return false;
    return !HIWORD(::GetQueueStatus(QS_INPUT)) && !BoxOver(main);
}

// Runs from the loop's side: goes on with the script when the loop is idle, or
// looks again once the loop has handled what came meanwhile (a timer comes after
// posted messages and input).
void MainWindowDriver::ResumeWhenIdle()
{
    if (m_done || m_windowGone || m_onScript)
        return;
    if (!Idle()) {
        After(0, [this] { ResumeWhenIdle(); });
        return;
    }
    SwitchToScript();
}

// Returns when the script hands the thread back, or has finished.
void MainWindowDriver::SwitchToScript()
{
    m_onScript = true;
    SwitchToFiber(m_scriptFiber);
    m_onScript = false;
}

bool MainWindowDriver::OnScript() const
{
    if (m_onScript)
        return true;
    ADD_FAILURE() << "only the test script hands the thread to the loop, not a callback";
    return false;
}

void MainWindowDriver::Pump()
{
    if (m_windowGone) {
        PumpUntilIdle();
    } else if (OnScript()) {
        Later([this] { ResumeWhenIdle(); });
        SwitchToFiber(m_loopFiber);
    }
}

void MainWindowDriver::Wait(DWORD ms)
{
    if (m_windowGone) {
        PumpFor(ms);
    } else if (OnScript()) {
        // A timer, not a posted message: the loop's own timers get their turn meanwhile.
        After(ms, [this] { ResumeWhenIdle(); });
        SwitchToFiber(m_loopFiber);
    }
}

bool MainWindowDriver::WaitFor(const std::function<bool()>& cond, DWORD ms)
{
    const DWORD start = GetTickCount();
    while (!cond()) {
        if (GetTickCount() - start > ms)
            return cond();
        Wait(20);
    }
    return true;
}

HWND MainWindowDriver::MainWnd() const
{
    return m_dlg.m_hWnd;
}

bool MainWindowDriver::ClickMain(int id)
{
    if (!ClickButton(MainWnd(), id))
        return false;
    Pump();
    return true;
}

void MainWindowDriver::ClickTab(int index)
{
    ClickTabItem(::GetDlgItem(MainWnd(), IDC_TAB), index);
    Pump();
}

void MainWindowDriver::SetLookupText(const std::wstring& text)
{
    ::SetDlgItemTextW(MainWnd(), IDC_TEXT, text.c_str());
}

void MainWindowDriver::Lookup()
{
    ::SendMessageW(MainWnd(), WM_COMMAND, MAKEWPARAM(IDC_LOOKUP, BN_CLICKED),
                   reinterpret_cast<LPARAM>(::GetDlgItem(MainWnd(), IDC_LOOKUP)));
}

std::wstring MainWindowDriver::MainText(int id) const
{
    return TextOf(MainWnd(), id);
}

bool MainWindowDriver::MainEnabled(int id) const
{
    return ::IsWindowEnabled(::GetDlgItem(MainWnd(), id)) != FALSE;
}

bool MainWindowDriver::WalkRunning()
{
    const std::wstring text = MainText(IDC_TEXT);
    const size_t before = Boxes().Count();
    SetLookupText(L"");
    Lookup();
    const bool asked = Boxes().Count() > before;
    Boxes().ForgetSince(before, kEmptyTextMessage);
    SetLookupText(text);
    return !asked;
}

bool MainWindowDriver::WaitForWalkEnd(DWORD ms)
{
    return WaitFor([&] { return !WalkRunning(); }, ms);
}

CTrainingPage& MainWindowDriver::Page() const
{
    return *m_dlg.m_pTrainingPage;
}

HWND MainWindowDriver::PageWnd() const
{
    return m_dlg.m_pTrainingPage->m_hWnd;
}

bool MainWindowDriver::Click(int id)
{
    if (!ClickButton(PageWnd(), id))
        return false;
    Pump();
    return true;
}

void MainWindowDriver::Type(const std::wstring& text)
{
    TypeText(::GetDlgItem(PageWnd(), IDC_ANSWER), text.c_str());
    Pump();
}

void MainWindowDriver::PressEnter()
{
    const HWND focus = ::GetFocus();
    EXPECT_TRUE(focus && ::IsChild(PageWnd(), focus)) << "the focus is not on the training page";
    PostKey(focus, VK_RETURN);
    Pump();
}

void MainWindowDriver::Answer(const std::wstring& typed)
{
    Type(typed);
    PressEnter();
}

void MainWindowDriver::Tick(UINT_PTR id, int count)
{
    for (int i = 0; i < count; ++i)
        ::SendMessageW(PageWnd(), WM_TIMER, id, 0);
}

std::wstring MainWindowDriver::Text(int id) const
{
    return TextOf(PageWnd(), id);
}

RECT MainWindowDriver::Rect(int id) const
{
    RECT r{};
    ::GetWindowRect(::GetDlgItem(PageWnd(), id), &r);
    ::MapWindowPoints(nullptr, PageWnd(), reinterpret_cast<POINT*>(&r), 2);
    return r;
}

int MainWindowDriver::SliderPos() const
{
    return static_cast<int>(::SendDlgItemMessageW(PageWnd(), IDC_SPEED, TBM_GETPOS, 0, 0));
}

int MainWindowDriver::ClientHeight() const
{
    RECT r{};
    ::GetClientRect(PageWnd(), &r);
    return r.bottom;
}

void ConnectGameDictionaryAgain()
{
    g_db.m_pRecordset = nullptr;
    g_db.m_pConnection = nullptr;
    g_db.Connect();
}
