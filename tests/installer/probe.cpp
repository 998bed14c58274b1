// Drives an installed, running program from another process, as a learner would: types a
// character into the look-up box, clicks the look-up button and reads the spelling label.
// Prints the label's text (ASCII) and exits 0 when it matched the expected spelling.
//
//   installer_probe <expected spelling> [<character as hex code unit>]
#include <windows.h>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <cwchar>
#include <string>

namespace {

const int kText = 1001, kLookup = 1000, kPhonetic = 1003;

struct Found { HWND hwnd = nullptr; };

bool IsProgramWindow(HWND hwnd)
{
    DWORD pid = 0;
    GetWindowThreadProcessId(hwnd, &pid);
    HANDLE process = OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, pid);
    if (!process)
        return false;
    wchar_t path[MAX_PATH] = {};
    DWORD size = MAX_PATH;
    bool ours = QueryFullProcessImageNameW(process, 0, path, &size) &&
                wcsstr(path, L"\\Lorvane\\Lorvane.exe") != nullptr;
    CloseHandle(process);
    return ours && GetDlgItem(hwnd, kLookup) && GetDlgItem(hwnd, kPhonetic);
}

BOOL CALLBACK FindMain(HWND hwnd, LPARAM param)
{
    if (IsWindowVisible(hwnd) && IsProgramWindow(hwnd)) {
        reinterpret_cast<Found*>(param)->hwnd = hwnd;
        return FALSE;
    }
    return TRUE;
}

HWND WaitForMainWindow(DWORD timeoutMs)
{
    DWORD start = GetTickCount();
    Found found;
    while (GetTickCount() - start < timeoutMs) {
        EnumWindows(FindMain, reinterpret_cast<LPARAM>(&found));
        if (found.hwnd)
            return found.hwnd;
        Sleep(100);
    }
    return nullptr;
}

std::wstring ControlText(HWND dlg, int id)
{
    wchar_t buf[256] = {};
    GetDlgItemTextW(dlg, id, buf, 255);
    return buf;
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc < 2) {
        std::fprintf(stderr, "usage: installer_probe <expected spelling> [<hex code unit>]\n");
        return 2;
    }
    std::wstring expected(argv[1], argv[1] + std::strlen(argv[1]));
    wchar_t character = argc > 2 ? static_cast<wchar_t>(std::strtoul(argv[2], nullptr, 16)) : L'\u4f60';

    HWND main = WaitForMainWindow(60000);
    if (!main) {
        std::printf("no main window of the installed program appeared\n");
        return 1;
    }
    wchar_t text[2] = {character, 0};
    SetDlgItemTextW(main, kText, text);
    PostMessageW(GetDlgItem(main, kLookup), BM_CLICK, 0, 0);

    DWORD start = GetTickCount();
    std::wstring shown;
    while (GetTickCount() - start < 20000) {
        shown = ControlText(main, kPhonetic);
        if (shown == expected)
            break;
        Sleep(50);
    }
    std::string ascii;
    for (wchar_t c : shown)
        ascii += c < 128 ? static_cast<char>(c) : '?';
    std::printf("label 1003: \"%s\"\n", ascii.c_str());
    // Let the walk end, then close the program as a user would.
    Sleep(1000);
    PostMessageW(main, WM_CLOSE, 0, 0);
    return shown == expected ? 0 : 1;
}
