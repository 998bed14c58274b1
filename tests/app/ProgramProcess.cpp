#include "ProgramProcess.h"

#include <utility>

namespace {

const wchar_t kTitle[] = L"粤语拼音学习";

BOOL CALLBACK FindMain(HWND hwnd, LPARAM lParam)
{
    auto* args = reinterpret_cast<std::pair<DWORD, HWND>*>(lParam);
    DWORD pid = 0;
    GetWindowThreadProcessId(hwnd, &pid);
    wchar_t title[64] = {};
    GetWindowTextW(hwnd, title, 64);
    if (pid == args->first && std::wstring(title) == kTitle) {
        args->second = hwnd;
        return FALSE;
    }
    return TRUE;
}

}  // namespace

std::wstring ProgramBesideUs()
{
    wchar_t path[MAX_PATH];
    GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring s = path;
    return s.substr(0, s.find_last_of(L'\\') + 1) + L"Lorvane.exe";
}

HWND MainWindowOf(DWORD pid)
{
    std::pair<DWORD, HWND> args{pid, nullptr};
    EnumWindows(FindMain, reinterpret_cast<LPARAM>(&args));
    return args.second;
}
