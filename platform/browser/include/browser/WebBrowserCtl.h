// An inert web browser control: a child window that can be hosted in a dialog
// and answers the hosting message with an IDispatch that has no members.
#pragma once

#include <windows.h>

namespace browser {

inline constexpr wchar_t kClassName[] = L"WebBrowserCtl";

// Registers the window class once per process; later calls do nothing.
void RegisterWindowClass(HINSTANCE instance);

}  // namespace browser
