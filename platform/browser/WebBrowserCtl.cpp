#include "browser/WebBrowserCtl.h"

#include "hosted/ControlDispatch.h"
#include "hosted_control.h"

namespace browser {
namespace {

class BrowserDispatch final : public hosted::ControlDispatch {
public:
    BrowserDispatch() : ControlDispatch(L"WebBrowserCtl", {}) {}
};

LRESULT CALLBACK WindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    auto* dispatch = reinterpret_cast<BrowserDispatch*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    if (msg == WM_NCCREATE) {
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(new BrowserDispatch));
    } else if (msg == WM_NCDESTROY && dispatch) {
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
        dispatch->Disconnect();
        dispatch->Release();
    } else if (msg == hosting::GetDispatchMessageId()) {
        if (!dispatch)
            return 0;
        dispatch->AddRef();
        return reinterpret_cast<LRESULT>(static_cast<IDispatch*>(dispatch));
    }
    return DefWindowProcW(hwnd, msg, wParam, lParam);
}

}  // namespace

void RegisterWindowClass(HINSTANCE instance)
{
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    if (GetClassInfoExW(instance, kClassName, &wc))
        return;
    wc.lpfnWndProc = WindowProc;
    wc.hInstance = instance;
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    wc.lpszClassName = kClassName;
    RegisterClassExW(&wc);
}

}  // namespace browser
