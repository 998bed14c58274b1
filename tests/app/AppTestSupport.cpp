#include "AppTestSupport.h"

#include "support/WavBytes.h"

#include <afxwin.h>
#include <afxdisp.h>
#include <shellapi.h>

#include <cstdint>
#include <deque>
#include <fstream>
#include <map>
#include <sstream>

#include "app/PronounceApp.h"
#include "app/PronounceDlg.h"

namespace app_test {
namespace {

std::map<UINT_PTR, std::function<void()>>& PendingIdle()
{
    static std::map<UINT_PTR, std::function<void()>> pending;
    return pending;
}

void CALLBACK IdleTimerProc(HWND, UINT, UINT_PTR id, DWORD)
{
    KillTimer(nullptr, id);
    auto it = PendingIdle().find(id);
    if (it == PendingIdle().end())
        return;
    std::function<void()> fn = std::move(it->second);
    PendingIdle().erase(it);
    fn();
}

void CancelIdleCallbacks()
{
    for (auto& [id, fn] : PendingIdle())
        KillTimer(nullptr, id);
    PendingIdle().clear();
}

// Ends every dialog this thread still shows, innermost first, then the main window.
void EndEverything(CPronounceDlg& dlg)
{
    for (HWND box : OpenDialogs()) {
        if (box == dlg.m_hWnd)
            continue;
        if (auto* framework = dynamic_cast<CDialog*>(CWnd::FromHandlePermanent(box)))
            framework->EndDialog(IDCANCEL);
        else
            EndDialog(box, IDCANCEL);
    }
    if (::IsWindow(dlg.m_hWnd))
        dlg.EndDialog(static_cast<int>(kWatchdogResult));
}

struct StepRunner {
    CPronounceDlg& dlg;
    std::deque<Step> steps;
    DWORD watchdogMs;

    void Next()
    {
        if (!::IsWindow(dlg.m_hWnd))
            return;
        if (steps.empty()) {
            WhenIdleAfter(watchdogMs, [this] { EndEverything(dlg); });
            return;
        }
        Step step = std::move(steps.front());
        steps.pop_front();
        step(dlg);
        WhenIdle([this] { Next(); });
    }

    static void WhenIdleAfter(DWORD ms, std::function<void()> fn)
    {
        UINT_PTR id = SetTimer(nullptr, 0, ms, IdleTimerProc);
        PendingIdle()[id] = std::move(fn);
    }
};

std::wstring ToWide(const char* s)
{
    int n = MultiByteToWideChar(CP_UTF8, 0, s, -1, nullptr, 0);
    std::wstring w(n, L'\0');
    MultiByteToWideChar(CP_UTF8, 0, s, -1, w.data(), n);
    w.resize(n - 1);
    return w;
}

const wchar_t kWineBrowserKey[] = L"Software\\Wine\\WineBrowser";

}  // namespace

void WhenIdle(std::function<void()> fn)
{
    UINT_PTR id = SetTimer(nullptr, 0, 1, IdleTimerProc);
    PendingIdle()[id] = std::move(fn);
}

INT_PTR RunMainWindow(CPronounceDlg& dlg, std::vector<Step> steps, DWORD watchdogMs)
{
    StepRunner runner{dlg, std::deque<Step>(steps.begin(), steps.end()), watchdogMs};
    WhenIdle([&runner] { runner.Next(); });
    AfxEnableControlContainer();  // as InitInstance does before any window
    theApp.m_pMainWnd = &dlg;
    INT_PTR result = dlg.DoModal();
    theApp.m_pMainWnd = nullptr;
    CancelIdleCallbacks();
    return result;
}

void PressKey(WORD vk, bool withAlt)
{
    std::vector<INPUT> inputs;
    auto key = [&](WORD k, bool up) {
        INPUT in{};
        in.type = INPUT_KEYBOARD;
        in.ki.wVk = k;
        in.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
        inputs.push_back(in);
    };
    if (withAlt)
        key(VK_MENU, false);
    key(vk, false);
    key(vk, true);
    if (withAlt)
        key(VK_MENU, true);
    SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
}

void ClickAt(POINT pt)
{
    int w = GetSystemMetrics(SM_CXSCREEN), h = GetSystemMetrics(SM_CYSCREEN);
    INPUT in[3] = {};
    for (INPUT& i : in) {
        i.type = INPUT_MOUSE;
        i.mi.dx = MulDiv(pt.x, 65535, w - 1);
        i.mi.dy = MulDiv(pt.y, 65535, h - 1);
    }
    in[0].mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
    in[1].mi.dwFlags = MOUSEEVENTF_LEFTDOWN | MOUSEEVENTF_ABSOLUTE;
    in[2].mi.dwFlags = MOUSEEVENTF_LEFTUP | MOUSEEVENTF_ABSOLUTE;
    SendInput(3, in, sizeof(INPUT));
}

POINT CloseButtonPoint(HWND hwnd)
{
    RECT rc;
    GetWindowRect(hwnd, &rc);
    for (int y = rc.top + 1; y < rc.top + 40 && y < rc.bottom; ++y)
        for (int x = rc.right - 1; x > rc.right - 80 && x > rc.left; --x)
            if (SendMessageW(hwnd, WM_NCHITTEST, 0, MAKELPARAM(x, y)) == HTCLOSE)
                return POINT{x - 3, y + 3};  // a little inside the button
    return POINT{-1, -1};
}

void ClickTab(HWND tab, int index)
{
    RECT rc{};
    SendMessageW(tab, TCM_GETITEMRECT, index, reinterpret_cast<LPARAM>(&rc));
    LPARAM at = MAKELPARAM((rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2);
    SendMessageW(tab, WM_LBUTTONDOWN, MK_LBUTTON, at);
    SendMessageW(tab, WM_LBUTTONUP, 0, at);
}

WebsiteRecorder::WebsiteRecorder()
{
    m_mutex = CreateMutexW(nullptr, FALSE, L"Local\\LorvaneAppTests.WineBrowser");
    WaitForSingleObject(m_mutex, INFINITE);

    m_logUnix = L"/tmp/lorvane-website-" + std::to_wstring(GetCurrentProcessId()) + L"-" +
                std::to_wstring(GetTickCount()) + L".log";

    HKEY key;
    RegCreateKeyExW(HKEY_CURRENT_USER, kWineBrowserKey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                    &key, nullptr);
    wchar_t previous[1024] = {};
    DWORD size = sizeof previous - sizeof(wchar_t);
    m_hadPrevious = RegQueryValueExW(key, L"Browsers", nullptr, nullptr,
                                     reinterpret_cast<BYTE*>(previous), &size) == ERROR_SUCCESS;
    m_previous = previous;
    // winebrowser splits the setting like a command line: the recorder, then our log.
    std::wstring browser = L"\"" + ToWide(LORVANE_URL_RECORDER) + L"\" " + m_logUnix;
    RegSetValueExW(key, L"Browsers", 0, REG_SZ, reinterpret_cast<const BYTE*>(browser.c_str()),
                   static_cast<DWORD>((browser.size() + 1) * sizeof(wchar_t)));
    RegCloseKey(key);
}

WebsiteRecorder::~WebsiteRecorder()
{
    HKEY key;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, kWineBrowserKey, 0, KEY_ALL_ACCESS, &key) == ERROR_SUCCESS) {
        if (m_hadPrevious)
            RegSetValueExW(key, L"Browsers", 0, REG_SZ, reinterpret_cast<const BYTE*>(m_previous.c_str()),
                           static_cast<DWORD>((m_previous.size() + 1) * sizeof(wchar_t)));
        else
            RegDeleteValueW(key, L"Browsers");
        RegCloseKey(key);
    }
    std::wstring logDos = L"Z:" + m_logUnix;
    for (wchar_t& c : logDos)
        if (c == L'/')
            c = L'\\';
    DeleteFileW(logDos.c_str());
    ReleaseMutex(m_mutex);
    CloseHandle(m_mutex);
}

std::vector<std::wstring> WebsiteRecorder::Opened()
{
    static int markers = 0;
    std::wstring marker = L"https://marker.invalid/" + std::to_wstring(++markers);
    ShellExecuteW(nullptr, L"open", marker.c_str(), nullptr, nullptr, SW_SHOW);

    std::wstring logDos = L"Z:" + m_logUnix;
    for (wchar_t& c : logDos)
        if (c == L'/')
            c = L'\\';
    auto readLines = [&] {
        std::vector<std::wstring> lines;
        std::ifstream in(logDos.c_str());
        for (std::string line; std::getline(in, line);)
            lines.push_back(ToWide(line.c_str()));
        return lines;
    };
    DWORD start = GetTickCount();
    for (;;) {
        std::vector<std::wstring> lines = readLines();
        bool seen = false;
        for (const std::wstring& line : lines)
            seen = seen || line == marker;
        if (seen || GetTickCount() - start > 15000)
            break;
        Sleep(20);
    }
    Sleep(300);  // anything opened just before the marker has landed too
    std::vector<std::wstring> opened;
    for (const std::wstring& line : readLines())
        if (line.rfind(L"https://marker.invalid/", 0) != 0)
            opened.push_back(line);
    return opened;
}

std::wstring WriteToneWav(const std::wstring& name, int ms)
{
    wchar_t temp[MAX_PATH];
    GetTempPathW(MAX_PATH, temp);
    std::wstring path = std::wstring(temp) + L"lorvane-app-" + std::to_wstring(GetCurrentProcessId()) +
                        L"-" + name + L".wav";
    const std::string out = test_support::PcmWav(ms);
    std::ofstream(path.c_str(), std::ios::binary).write(out.data(), static_cast<std::streamsize>(out.size()));
    return path;
}

}  // namespace app_test
