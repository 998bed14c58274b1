#include "MainWindowRun.h"

#include <afxdisp.h>

#include <map>

#include "app/PronounceApp.h"
#include "app/PronounceDlg.h"
#include "support/Drive.h"

namespace readaloud_test {
namespace {

std::map<UINT_PTR, std::function<void()>>& Pending()
{
    static std::map<UINT_PTR, std::function<void()>> pending;
    return pending;
}

void CALLBACK TimerProc(HWND, UINT, UINT_PTR id, DWORD)
{
    KillTimer(nullptr, id);
    auto it = Pending().find(id);
    if (it == Pending().end())
        return;
    std::function<void()> fn = std::move(it->second);
    Pending().erase(it);
    fn();
}

void DropPending()
{
    for (auto& [id, fn] : Pending())
        KillTimer(nullptr, id);
    Pending().clear();
}

}  // namespace

void After(DWORD ms, std::function<void()> fn)
{
    const UINT_PTR id = SetTimer(nullptr, 0, ms, TimerProc);
    Pending()[id] = std::move(fn);
}

RunOutcome RunMainWindow(CPronounceDlg& dlg, const std::function<void(CPronounceDlg&)>& script, DWORD watchdogMs)
{
    RunOutcome outcome;
    After(watchdogMs, [&] {
        outcome.watchdogFired = true;
        dlg.m_bPause = false;
        dlg.m_bStop = true;
        dlg.EndDialog(IDCANCEL);
    });
    // The script starts once the window is shown and no box of its start-up
    // (a dictionary report, say) is open over it: its own modal loop runs then.
    std::function<void()> startWhenReady = [&] {
        if (!::IsWindow(dlg.m_hWnd))
            return;
        if (!::IsWindowVisible(dlg.m_hWnd) || !::IsWindowEnabled(dlg.m_hWnd)) {
            After(10, startWhenReady);
            return;
        }
        script(dlg);
        if (::IsWindow(dlg.m_hWnd))
            dlg.EndDialog(IDCANCEL);
    };
    Later(startWhenReady);
    theApp.m_pMainWnd = &dlg;
    outcome.result = dlg.DoModal();
    outcome.returnedTick = GetTickCount();
    theApp.m_pMainWnd = nullptr;
    DropPending();
    return outcome;
}

void Lookup(CPronounceDlg& dlg)
{
    ::SendMessageW(dlg.m_hWnd, WM_COMMAND, MAKEWPARAM(IDC_LOOKUP, BN_CLICKED),
                   reinterpret_cast<LPARAM>(::GetDlgItem(dlg.m_hWnd, IDC_LOOKUP)));
}

void SetText(CPronounceDlg& dlg, const wchar_t* text)
{
    ::SetDlgItemTextW(dlg.m_hWnd, IDC_TEXT, text);
}

std::wstring TextOf(CPronounceDlg& dlg, int id)
{
    return ::TextOf(dlg.m_hWnd, id);
}

bool IsEnabled(CPronounceDlg& dlg, int id)
{
    return ::IsWindowEnabled(::GetDlgItem(dlg.m_hWnd, id)) != FALSE;
}

}  // namespace readaloud_test
