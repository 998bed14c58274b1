#include "support/Dialogs.h"

#include "support/Drive.h"

namespace {

BOOL CALLBACK CollectDialogs(HWND hwnd, LPARAM lParam)
{
    auto* found = reinterpret_cast<std::pair<DWORD, std::vector<HWND>>*>(lParam);
    DWORD pid = 0;
    GetWindowThreadProcessId(hwnd, &pid);
    wchar_t cls[32] = {};
    GetClassNameW(hwnd, cls, 32);
    if (pid == found->first && wcscmp(cls, L"#32770") == 0 && IsWindowVisible(hwnd) && IsWindowEnabled(hwnd))
        found->second.push_back(hwnd);
    return TRUE;
}

}  // namespace

std::vector<HWND> OpenDialogs(DWORD pid)
{
    std::pair<DWORD, std::vector<HWND>> found{pid, {}};
    EnumWindows(CollectDialogs, reinterpret_cast<LPARAM>(&found));
    return found.second;
}

Box ReadBox(HWND hwnd)
{
    Box box;
    box.hwnd = hwnd;
    box.owner = GetWindow(hwnd, GW_OWNER);
    box.caption = TextOf(hwnd);
    for (HWND child = GetWindow(hwnd, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        if (!IsWindowVisible(child))
            continue;
        wchar_t cls[32] = {};
        GetClassNameW(child, cls, 32);
        LONG style = GetWindowLongW(child, GWL_STYLE);
        if (_wcsicmp(cls, L"Static") == 0) {
            if ((style & SS_TYPEMASK) == SS_ICON) {
                box.hasIcon = box.hasIcon || SendMessageW(child, STM_GETICON, 0, 0) != 0;
            } else {
                if (!box.text.empty())
                    box.text += L"\n";
                box.text += TextOf(child);
            }
        } else if (_wcsicmp(cls, L"Button") == 0) {
            box.buttons.push_back(TextOf(child));
        }
    }
    return box;
}
