#include "support/Drive.h"

#include "support/MessageBoxes.h"

#include <deque>

namespace {

class LaterQueue {
public:
    void Post(std::function<void()> fn)
    {
        m_fns.push_back(std::move(fn));
        ::PostMessageW(Window(), WM_APP, 0, 0);
    }

private:
    HWND Window()
    {
        if (!m_hWnd) {
            WNDCLASSW wc{};
            wc.lpfnWndProc = &Proc;
            wc.hInstance = ::GetModuleHandleW(nullptr);
            wc.lpszClassName = L"TestSupportLater";
            ::RegisterClassW(&wc);
            m_hWnd = ::CreateWindowW(wc.lpszClassName, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, wc.hInstance,
                                     nullptr);
        }
        return m_hWnd;
    }

    static LRESULT CALLBACK Proc(HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam);

    HWND m_hWnd = nullptr;
    std::deque<std::function<void()>> m_fns;

    friend LaterQueue& Queue();
};

LaterQueue& Queue()
{
    static LaterQueue q;
    return q;
}

LRESULT CALLBACK LaterQueue::Proc(HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    if (msg == WM_APP) {
        auto& fns = Queue().m_fns;
        if (!fns.empty()) {
            auto fn = std::move(fns.front());
            fns.pop_front();
            fn();
        }
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
    Queue().Post(std::move(fn));
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
