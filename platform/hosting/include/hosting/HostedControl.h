// The contract between a dialog host and the in-process controls that live in it.
//
// A hosted control is a plain child window of a registered class. Whoever wants
// to automate it asks its window for the control's IDispatch with the message
// below; the window answers with an AddRef'ed IDispatch* (or 0 when it has
// none), and the caller Releases it. No OLE container is involved.
#pragma once

#include <windows.h>
#include <oaidl.h>

namespace hosting {

inline UINT GetDispatchMessageId()
{
    static const UINT id = RegisterWindowMessageW(L"HostedControl.GetDispatch");
    return id;
}

// Returns an AddRef'ed IDispatch of the control window, or nullptr.
inline IDispatch* QueryDispatch(HWND hwnd)
{
    if (!hwnd)
        return nullptr;
    return reinterpret_cast<IDispatch*>(SendMessageW(hwnd, GetDispatchMessageId(), 0, 0));
}

}  // namespace hosting
