#include "support/Drive.h"

#include "support/MessageBoxes.h"

#include <commctrl.h>

#include <map>
#include <vector>

namespace {

// The Later and After callbacks: a message-only window whose posted messages and
// timers carry the id of the callback they run.
class Callbacks {
public:
    void Post(std::function<void()> fn)
    {
        ::PostMessageW(Window(), WM_APP, Add(std::move(fn)), 0);
    }
    void Time(DWORD ms, std::function<void()> fn)
    {
        ::SetTimer(Window(), Add(std::move(fn)), ms, nullptr);
    }
    void Cancel()
    {
        for (const auto& entry : m_fns)
            ::KillTimer(m_hWnd, entry.first);
        m_fns.clear();
    }

private:
    UINT_PTR Add(std::function<void()> fn)
    {
        m_fns[++m_lastId] = std::move(fn);
        return m_lastId;
    }

    HWND Window()
    {
        if (!m_hWnd) {
            WNDCLASSW wc{};
            wc.lpfnWndProc = &Proc;
            wc.hInstance = ::GetModuleHandleW(nullptr);
            wc.lpszClassName = L"TestSupportCallbacks";
            ::RegisterClassW(&wc);
            m_hWnd = ::CreateWindowW(wc.lpszClassName, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, wc.hInstance,
                                     nullptr);
        }
        return m_hWnd;
    }

    // Taken out before it runs: a callback may add others, or cancel them all.
    void Run(UINT_PTR id)
    {
        auto it = m_fns.find(id);
        if (it == m_fns.end())
            return;
        std::function<void()> fn = std::move(it->second);
        m_fns.erase(it);
        fn();
    }

    static LRESULT CALLBACK Proc(HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam);

    HWND m_hWnd = nullptr;
    UINT_PTR m_lastId = 0;
    std::map<UINT_PTR, std::function<void()>> m_fns;
};

Callbacks& TheCallbacks()
{
    static Callbacks callbacks;
    return callbacks;
}

LRESULT CALLBACK Callbacks::Proc(HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    if (msg == WM_TIMER)
        ::KillTimer(hWnd, wParam);
    if (msg == WM_APP || msg == WM_TIMER) {
        TheCallbacks().Run(wParam);
        return 0;
    }
    return ::DefWindowProcW(hWnd, msg, wParam, lParam);
}

bool ReceivesInput(HWND hWnd)
{
    if (!::IsWindow(hWnd) || !::IsWindowVisible(hWnd))
        return false;
    for (HWND h = hWnd; h; h = (::GetWindowLongPtrW(h, GWL_STYLE) & WS_CHILD) ? ::GetParent(h) : nullptr)
        if (!::IsWindowEnabled(h))
            return false;
    return true;
}

}  // namespace

int PumpUntilIdle()
{
    int count = 0;
    MSG msg;
    while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (msg.message == WM_QUIT) {
            ::PostQuitMessage(static_cast<int>(msg.wParam));
            break;
        }
        ++count;
        if (!AfxPreTranslateMessage(&msg)) {
            ::TranslateMessage(&msg);
            ::DispatchMessageW(&msg);
        }
    }
    return count;
}

void PumpFor(DWORD milliseconds)
{
    const DWORD start = ::GetTickCount();
    for (;;) {
        PumpUntilIdle();
        DWORD elapsed = ::GetTickCount() - start;
        if (elapsed >= milliseconds)
            return;
        ::MsgWaitForMultipleObjectsEx(0, nullptr, milliseconds - elapsed, QS_ALLINPUT, MWMO_INPUTAVAILABLE);
    }
}

bool PumpUntil(const std::function<bool()>& cond, DWORD timeoutMs)
{
    const DWORD start = ::GetTickCount();
    for (;;) {
        PumpUntilIdle();
        if (cond())
            return true;
        DWORD elapsed = ::GetTickCount() - start;
        if (elapsed >= timeoutMs)
            return cond();
        ::MsgWaitForMultipleObjectsEx(0, nullptr, std::min<DWORD>(timeoutMs - elapsed, 20), QS_ALLINPUT,
                                      MWMO_INPUTAVAILABLE);
    }
}

void Later(std::function<void()> fn)
{
    TheCallbacks().Post(std::move(fn));
}

void After(DWORD ms, std::function<void()> fn)
{
    TheCallbacks().Time(ms, std::move(fn));
}

void CancelCallbacks()
{
    TheCallbacks().Cancel();
}

bool ClickAt(HWND hWnd, POINT client)
{
    if (!ReceivesInput(hWnd))
        return false;
    LPARAM pos = MAKELPARAM(client.x, client.y);
    ::PostMessageW(hWnd, WM_LBUTTONDOWN, MK_LBUTTON, pos);
    ::PostMessageW(hWnd, WM_LBUTTONUP, 0, pos);
    return true;
}

bool ClickButton(HWND hWnd)
{
    RECT rc{};
    ::GetClientRect(hWnd, &rc);
    return ClickAt(hWnd, POINT{(rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2});
}

bool ClickButton(HWND hDlg, int nID)
{
    return ClickButton(::GetDlgItem(hDlg, nID));
}

bool ClickTabItem(HWND hTab, int index)
{
    RECT item{};
    ::SendMessageW(hTab, TCM_GETITEMRECT, index, reinterpret_cast<LPARAM>(&item));
    return ClickAt(hTab, POINT{(item.left + item.right) / 2, (item.top + item.bottom) / 2});
}

void PostKey(HWND hWnd, UINT vk)
{
    UINT scan = ::MapVirtualKeyW(vk, MAPVK_VK_TO_VSC);
    ::PostMessageW(hWnd, WM_KEYDOWN, vk, 1 | (static_cast<LPARAM>(scan) << 16));
    ::PostMessageW(hWnd, WM_KEYUP, vk, 1 | (static_cast<LPARAM>(scan) << 16) | (1LL << 30) | (1LL << 31));
}

void TypeText(HWND hWnd, const wchar_t* text)
{
    for (const wchar_t* p = text; p && *p; ++p)
        ::PostMessageW(hWnd, WM_CHAR, *p, 1);
}

void SendKey(WORD vk, bool withAlt)
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
    ::SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
}

void SendClick(POINT pt)
{
    const int w = ::GetSystemMetrics(SM_CXSCREEN), h = ::GetSystemMetrics(SM_CYSCREEN);
    INPUT in[3] = {};
    for (INPUT& i : in) {
        i.type = INPUT_MOUSE;
        i.mi.dx = ::MulDiv(pt.x, 65535, w - 1);
        i.mi.dy = ::MulDiv(pt.y, 65535, h - 1);
    }
    in[0].mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
    in[1].mi.dwFlags = MOUSEEVENTF_LEFTDOWN | MOUSEEVENTF_ABSOLUTE;
    in[2].mi.dwFlags = MOUSEEVENTF_LEFTUP | MOUSEEVENTF_ABSOLUTE;
    ::SendInput(3, in, sizeof(INPUT));
}

POINT CloseButtonPoint(HWND hWnd)
{
    RECT rc;
    ::GetWindowRect(hWnd, &rc);
    for (int y = rc.top + 1; y < rc.top + 40 && y < rc.bottom; ++y)
        for (int x = rc.right - 1; x > rc.right - 80 && x > rc.left; --x)
            if (::SendMessageW(hWnd, WM_NCHITTEST, 0, MAKELPARAM(x, y)) == HTCLOSE)
                return POINT{x - 3, y + 3};  // a little inside the button
    return POINT{-1, -1};
}

std::wstring TextOf(HWND hWnd)
{
    int n = ::GetWindowTextLengthW(hWnd);
    std::wstring s(static_cast<size_t>(n) + 1, L'\0');
    n = ::GetWindowTextW(hWnd, s.data(), n + 1);
    s.resize(static_cast<size_t>(n > 0 ? n : 0));
    return s;
}

std::wstring TextOf(HWND hDlg, int nID)
{
    return TextOf(::GetDlgItem(hDlg, nID));
}

void PrintTo(const CString& s, std::ostream* os)
{
    *os << '"' << Utf8(std::wstring(s.GetString(), static_cast<size_t>(s.GetLength()))) << '"';
}
