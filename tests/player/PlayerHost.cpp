#include "PlayerHost.h"

#include "support/WavBytes.h"

#include "hosting/HostedControl.h"
#include "player/MediaPlayerCtl.h"

#include <shellapi.h>

#include <cmath>
#include <cstdint>
#include <vector>

namespace player_test {
namespace {

constexpr DISPID kUrl = 1;
constexpr DISPID kPlayState = 10;

void RemoveTree(const std::wstring& dir)
{
    std::wstring from = dir;
    from.push_back(L'\0');  // SHFileOperation takes a double-NUL-terminated list
    SHFILEOPSTRUCTW op{};
    op.wFunc = FO_DELETE;
    op.pFrom = from.c_str();
    op.fFlags = FOF_NO_UI;
    SHFileOperationW(&op);
}

struct TempFolder {
    std::wstring path;
    TempFolder()
    {
        wchar_t base[MAX_PATH];
        GetTempPathW(MAX_PATH, base);
        path = std::wstring(base) + L"player-test-" + std::to_wstring(GetCurrentProcessId()) + L"\\";
        CreateDirectoryW(path.c_str(), nullptr);
    }
    ~TempFolder() { RemoveTree(path.substr(0, path.size() - 1)); }
};

LRESULT CALLBACK HostProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    if (msg == WM_SIZE) {
        if (HWND child = GetDlgItem(hwnd, 1004))
            MoveWindow(child, 0, 0, LOWORD(lParam), HIWORD(lParam), TRUE);
        return 0;
    }
    return DefWindowProcW(hwnd, msg, wParam, lParam);
}

}  // namespace

PlayerHost::PlayerHost(bool visible, int width, int height)
{
    const HINSTANCE instance = GetModuleHandleW(nullptr);
    player::RegisterWindowClass(instance);
    WNDCLASSW wc{};
    wc.lpfnWndProc = HostProc;
    wc.hInstance = instance;
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    wc.lpszClassName = L"PlayerTestHost";
    RegisterClassW(&wc);  // fails harmlessly when already registered
    host_ = CreateWindowExW(0, L"PlayerTestHost", L"player test", WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, 20, 20,
                            width, height, nullptr, nullptr, instance, nullptr);
    RECT client;
    GetClientRect(host_, &client);
    control_ = CreateWindowExW(0, player::kClassName, L"", WS_CHILD | (visible ? WS_VISIBLE : 0), 0, 0,
                               client.right, client.bottom, host_, reinterpret_cast<HMENU>(1004), instance,
                               nullptr);
    if (visible) {
        ShowWindow(host_, SW_SHOW);
        UpdateWindow(host_);
    }
    dispatch_ = hosting::QueryDispatch(control_);
}

PlayerHost::~PlayerHost()
{
    if (dispatch_)
        dispatch_->Release();
    DestroyWindow(host_);
    PumpFor(0);
}

HRESULT PlayerHost::PutUrl(const std::wstring& url)
{
    VARIANT value;
    value.vt = VT_BSTR;
    value.bstrVal = SysAllocString(url.c_str());
    const HRESULT hr = PutProperty(dispatch_, kUrl, value);
    VariantClear(&value);
    return hr;
}

long PlayerHost::PlayState()
{
    VARIANT result;
    VariantInit(&result);
    if (FAILED(GetProperty(dispatch_, kPlayState, &result)) || result.vt != VT_I4)
        return -1;
    return result.lVal;
}

std::wstring PlayerHost::Url()
{
    VARIANT result;
    VariantInit(&result);
    if (FAILED(GetProperty(dispatch_, kUrl, &result)) || result.vt != VT_BSTR)
        return L"<failed>";
    std::wstring url(result.bstrVal, SysStringLen(result.bstrVal));
    VariantClear(&result);
    return url;
}

HRESULT PutProperty(IDispatch* dispatch, DISPID id, const VARIANT& value, EXCEPINFO* excepInfo)
{
    VARIANT arg = value;
    DISPID named = DISPID_PROPERTYPUT;
    DISPPARAMS params{&arg, &named, 1, 1};
    return dispatch->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_PROPERTYPUT, &params, nullptr, excepInfo,
                            nullptr);
}

HRESULT GetProperty(IDispatch* dispatch, DISPID id, VARIANT* result, WORD flags)
{
    DISPPARAMS params{};
    return dispatch->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, flags, &params, result, nullptr, nullptr);
}

const std::wstring& TempDir()
{
    static TempFolder folder;
    return folder.path;
}

std::wstring WriteBytes(const std::wstring& name, const std::string& bytes)
{
    const std::wstring path = TempDir() + name;
    HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    DWORD written = 0;
    WriteFile(file, bytes.data(), DWORD(bytes.size()), &written, nullptr);
    CloseHandle(file);
    return path;
}

std::wstring WriteWav(const std::wstring& name, int ms, int sampleRate)
{
    const std::string wav = test_support::PcmWav(ms, sampleRate);
    return WriteBytes(name, wav);
}

bool PumpUntil(const std::function<bool()>& done, DWORD timeoutMs)
{
    const ULONGLONG deadline = GetTickCount64() + timeoutMs;
    for (;;) {
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
        if (done())
            return true;
        const ULONGLONG now = GetTickCount64();
        if (now >= deadline)
            return done();
        MsgWaitForMultipleObjectsEx(0, nullptr, DWORD(std::min<ULONGLONG>(deadline - now, 10)), QS_ALLINPUT,
                                    MWMO_INPUTAVAILABLE);
    }
}

bool PollUntil(const std::function<bool()>& done, DWORD timeoutMs)
{
    const ULONGLONG deadline = GetTickCount64() + timeoutMs;
    while (!done()) {
        if (GetTickCount64() >= deadline)
            return done();
        Sleep(5);
    }
    return true;
}

void PumpFor(DWORD ms)
{
    PumpUntil([] { return false; }, ms);
}

namespace {

void ClickWith(HWND target, UINT down, WPARAM button)
{
    RECT rect;
    GetClientRect(target, &rect);
    const LPARAM at = MAKELPARAM(rect.right / 2, rect.bottom / 2);
    SendMessageW(target, down, button, at);
    SendMessageW(target, down + 1, 0, at);  // the button's up message
    PumpFor(0);
}

}  // namespace

void Click(HWND button) { ClickWith(button, WM_LBUTTONDOWN, MK_LBUTTON); }

void RightClick(HWND target) { ClickWith(target, WM_RBUTTONDOWN, MK_RBUTTON); }

int CountVisibleTopLevelWindows()
{
    struct Count {
        int n = 0;
    } count;
    EnumWindows(
        [](HWND hwnd, LPARAM param) -> BOOL {
            DWORD pid = 0;
            GetWindowThreadProcessId(hwnd, &pid);
            if (pid == GetCurrentProcessId() && IsWindowVisible(hwnd))
                ++reinterpret_cast<Count*>(param)->n;
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&count));
    return count.n;
}

MenuWatch::MenuWatch(wchar_t choice) : choice_(choice)
{
    current_ = this;
    timer_ = SetTimer(nullptr, 0, 20, OnTimer);
}

MenuWatch::~MenuWatch()
{
    KillTimer(nullptr, timer_);
    current_ = nullptr;
}

void CALLBACK MenuWatch::OnTimer(HWND, UINT, UINT_PTR, DWORD)
{
    // The timer runs inside the menu's own loop while a menu is up.
    GUITHREADINFO thread{sizeof thread};
    if (!current_ || current_->shown || !GetGUIThreadInfo(GetCurrentThreadId(), &thread) ||
        !(thread.flags & GUI_INMENUMODE))
        return;
    current_->shown = true;
    const HWND popup = FindWindowW(L"#32768", nullptr);
    if (popup)
        GetWindowRect(popup, &current_->popup);
    const HMENU menu = popup ? reinterpret_cast<HMENU>(SendMessageW(popup, MN_GETHMENU, 0, 0)) : nullptr;
    for (int i = 0; menu && i < GetMenuItemCount(menu); ++i) {
        wchar_t text[64] = L"";
        GetMenuStringW(menu, UINT(i), text, 64, MF_BYPOSITION);
        current_->items.push_back({text, !(GetMenuState(menu, UINT(i), MF_BYPOSITION) & MF_GRAYED)});
    }
    if (current_->choice_ && popup)
        PostMessageW(popup, WM_CHAR, current_->choice_, 0);
    else
        EndMenu();
}

}  // namespace player_test
