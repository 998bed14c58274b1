// Dialogs and message boxes as the user sees them, in this process or another.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

struct Box {
    HWND hwnd = nullptr;
    HWND owner = nullptr;
    std::wstring caption;
    std::wstring text;                  // its message text (static controls)
    bool hasIcon = false;               // an icon static
    std::vector<std::wstring> buttons;  // visible push buttons, in z-order
};

// The visible, enabled dialog-class top-level windows of a process (this one by
// default): the dialog or box that takes input, not those it disables.
std::vector<HWND> OpenDialogs(DWORD pid = GetCurrentProcessId());
Box ReadBox(HWND hwnd);
