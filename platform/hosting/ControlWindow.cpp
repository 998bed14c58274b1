#include "hosting/ControlWindow.h"

#include "hosting/HostedControl.h"

namespace hosting {

ControlWindow::~ControlWindow()
{
    dispatch_->Disconnect();
    dispatch_->Release();
}

LRESULT ControlWindow::Handle(UINT msg, WPARAM wParam, LPARAM lParam)
{
    return DefWindowProcW(hwnd_, msg, wParam, lParam);
}

// The object's pointer lives in the window's own extra bytes, not in
// GWLP_USERDATA, which belongs to whoever else wants it.
LRESULT ControlWindow::Route(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam, Factory make)
{
    auto* self = reinterpret_cast<ControlWindow*>(GetWindowLongPtrW(hwnd, 0));
    if (msg == WM_NCCREATE && !self) {
        self = make(hwnd);
        SetWindowLongPtrW(hwnd, 0, reinterpret_cast<LONG_PTR>(self));
    }
    if (!self)
        return DefWindowProcW(hwnd, msg, wParam, lParam);
    if (msg == WM_NCDESTROY) {
        SetWindowLongPtrW(hwnd, 0, 0);
        delete self;
        return DefWindowProcW(hwnd, msg, wParam, lParam);
    }
    if (msg == GetDispatchMessageId()) {
        self->dispatch_->AddRef();
        return reinterpret_cast<LRESULT>(static_cast<IDispatch*>(self->dispatch_));
    }
    return self->Handle(msg, wParam, lParam);
}

void ControlWindow::RegisterWindowClass(HINSTANCE instance, const wchar_t* className, const wchar_t* cursor,
                                        HBRUSH background, WNDPROC proc)
{
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    if (GetClassInfoExW(instance, className, &wc))
        return;
    wc.lpfnWndProc = proc;
    wc.cbWndExtra = sizeof(ControlWindow*);
    wc.hInstance = instance;
    wc.hCursor = LoadCursorW(nullptr, cursor);
    wc.hbrBackground = background;
    wc.lpszClassName = className;
    RegisterClassExW(&wc);
}

}  // namespace hosting
