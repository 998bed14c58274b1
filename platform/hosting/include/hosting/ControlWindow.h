// The window of an in-process control: one C++ object per window, made when the
// window is made and deleted when it is gone. The base answers the hosting
// message with the control's dispatch (HostedControl.h) and cuts that dispatch
// off when the window goes, so that a host's late call fails cleanly instead
// of reaching a deleted window.
#pragma once

#include "hosting/ControlDispatch.h"

#include <windows.h>

namespace hosting {

class ControlWindow {
public:
    ControlWindow(const ControlWindow&) = delete;
    ControlWindow& operator=(const ControlWindow&) = delete;

    // Registers `className` once per process (later calls do nothing); every
    // window of it gets a T, made by T(HWND) (T may befriend ControlWindow).
    template <class T>
    static void Register(HINSTANCE instance, const wchar_t* className, const wchar_t* cursor, HBRUSH background)
    {
        RegisterWindowClass(instance, className, cursor, background, &Proc<T>);
    }

protected:
    // Takes over the one reference `dispatch` is made with.
    ControlWindow(HWND hwnd, ControlDispatch* dispatch) : hwnd_(hwnd), dispatch_(dispatch) {}
    virtual ~ControlWindow();

    // Every message but the hosting one; the default is DefWindowProc's.
    virtual LRESULT Handle(UINT msg, WPARAM wParam, LPARAM lParam);

    const HWND hwnd_;

private:
    using Factory = ControlWindow* (*)(HWND);
    static void RegisterWindowClass(HINSTANCE instance, const wchar_t* className, const wchar_t* cursor,
                                    HBRUSH background, WNDPROC proc);
    static LRESULT Route(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam, Factory make);

    template <class T>
    static ControlWindow* Make(HWND hwnd)
    {
        return new T(hwnd);
    }
    template <class T>
    static LRESULT CALLBACK Proc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
    {
        return Route(hwnd, msg, wParam, lParam, &Make<T>);
    }

    ControlDispatch* dispatch_;
};

}  // namespace hosting
