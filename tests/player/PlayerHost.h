// A top-level window hosting one media player control, with the control's
// IDispatch reached through the hosting message, and the small helpers the
// player tests share (WAV files, waiting, clicking).
#pragma once

#include <windows.h>
#include <oaidl.h>

#include <functional>
#include <string>
#include <vector>

namespace player_test {

class PlayerHost {
public:
    explicit PlayerHost(bool visible = true, int width = 480, int height = 360);
    ~PlayerHost();
    PlayerHost(const PlayerHost&) = delete;
    PlayerHost& operator=(const PlayerHost&) = delete;

    HWND Window() const { return host_; }
    HWND Control() const { return control_; }
    IDispatch* Dispatch() const { return dispatch_; }
    HWND Child(int id) const { return GetDlgItem(control_, id); }

    HRESULT PutUrl(const std::wstring& url);
    long PlayState();  // -1 when the call failed
    std::wstring Url();

private:
    HWND host_ = nullptr;
    HWND control_ = nullptr;
    IDispatch* dispatch_ = nullptr;
};

// Property put / get through IDispatch::Invoke, as a host does it.
HRESULT PutProperty(IDispatch* dispatch, DISPID id, const VARIANT& value, EXCEPINFO* excepInfo = nullptr);
HRESULT GetProperty(IDispatch* dispatch, DISPID id, VARIANT* result, WORD flags = DISPATCH_PROPERTYGET);

// A folder of this test process under the temporary folder, removed at exit.
const std::wstring& TempDir();

// Writes a 16-bit mono PCM WAV of `ms` milliseconds; returns its path.
std::wstring WriteWav(const std::wstring& name, int ms, int sampleRate = 8000);
// Writes raw bytes; returns the path.
std::wstring WriteBytes(const std::wstring& name, const std::string& bytes);

// Handles this thread's messages until `done` or `timeoutMs` passes; gives `done()`.
bool PumpUntil(const std::function<bool()>& done, DWORD timeoutMs);
// Polls `done` without handling any message.
bool PollUntil(const std::function<bool()>& done, DWORD timeoutMs);
void PumpFor(DWORD ms);

// A left click in the middle of `button`, by its own mouse messages.
void Click(HWND button);
// The same with the right button.
void RightClick(HWND target);

// Top-level windows of this process that are visible.
int CountVisibleTopLevelWindows();

// An item of a context menu as the user sees it.
struct MenuItem {
    std::wstring text;
    bool enabled;
    bool operator==(const MenuItem&) const = default;
};

// While a right-click is handled: a timer reads the menu that came up, then
// types `choice` (an item's mnemonic) into it, or closes it when `choice` is 0.
class MenuWatch {
public:
    explicit MenuWatch(wchar_t choice);
    ~MenuWatch();
    MenuWatch(const MenuWatch&) = delete;
    MenuWatch& operator=(const MenuWatch&) = delete;

    bool shown = false;
    std::vector<MenuItem> items;
    RECT popup{};  // the menu's window, in screen coordinates

private:
    static void CALLBACK OnTimer(HWND, UINT, UINT_PTR, DWORD);

    wchar_t choice_;
    UINT_PTR timer_;
    static inline MenuWatch* current_ = nullptr;
};

}  // namespace player_test
