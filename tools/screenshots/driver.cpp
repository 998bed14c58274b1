// Drives the running, installed program from another process, as a learner would, and
// leaves one page showing for a screenshot (tools/benchmarks/sound.sh has it read a text
// aloud the same way). One step per run:
//   screenshot_driver lookup [text]  page 1: the text typed and read aloud, a spelling shown
//   screenshot_driver training       page 2: a game started, one miss and one hit answered,
//                                    the next character part-way down
//   screenshot_driver study          page 3: the video notice answered, the video playing
//   screenshot_driver close          ends the program (Cancel: no website)
// On success prints "WINDOW <left> <top> <width> <height>", the main window's rectangle on
// the screen, and exits 0; otherwise prints what went wrong and exits 1.
#include <windows.h>
#include <commctrl.h>

#include <cstdio>
#include <cwchar>
#include <string>

namespace {

// The program's control ids, as its resources define them.
const int kLookup = 1000, kText = 1001, kPhonetic = 1003, kPlayer = 1004, kTab = 1009;
const int kAnswer = 1001, kFalling = 1013, kSpeed = 1019, kStart = 1020, kHalt = 1021,
          kMisses = 1022, kTotal = 1023, kHits = 1024, kHint = 1026;

const wchar_t kDefaultText[] = L"你好，我係學生";
const wchar_t kReferencePrefix[] = L"参考音标:";

std::string Utf8(const std::wstring& s)
{
    const int n = WideCharToMultiByte(CP_UTF8, 0, s.c_str(), -1, nullptr, 0, nullptr, nullptr);
    std::string out(n > 0 ? n - 1 : 0, '\0');
    WideCharToMultiByte(CP_UTF8, 0, s.c_str(), -1, out.data(), n, nullptr, nullptr);
    return out;
}

int Fail(const char* what)
{
    std::printf("screenshot_driver: %s\n", what);
    return 1;
}

// Polls `ready` every 50 ms until it holds or timeoutMs pass.
template <class Fn>
bool WaitFor(Fn ready, DWORD timeoutMs)
{
    const DWORD start = GetTickCount();
    for (;;) {
        if (ready())
            return true;
        if (GetTickCount() - start > timeoutMs)
            return false;
        Sleep(50);
    }
}

std::wstring Text(HWND hwnd)
{
    wchar_t buf[512] = {};
    GetWindowTextW(hwnd, buf, 511);
    return buf;
}

bool IsProgramProcess(DWORD pid)
{
    HANDLE process = OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, pid);
    if (!process)
        return false;
    wchar_t path[MAX_PATH] = {};
    DWORD size = MAX_PATH;
    const bool ours = QueryFullProcessImageNameW(process, 0, path, &size) &&
                      wcsstr(path, L"\\Lorvane\\Lorvane.exe") != nullptr;
    CloseHandle(process);
    return ours;
}

BOOL CALLBACK FindMain(HWND hwnd, LPARAM param)
{
    DWORD pid = 0;
    GetWindowThreadProcessId(hwnd, &pid);
    if (IsWindowVisible(hwnd) && GetDlgItem(hwnd, kLookup) && GetDlgItem(hwnd, kTab) && IsProgramProcess(pid)) {
        *reinterpret_cast<HWND*>(param) = hwnd;
        return FALSE;
    }
    return TRUE;
}

HWND MainWindow()
{
    HWND found = nullptr;
    WaitFor([&] {
        EnumWindows(FindMain, reinterpret_cast<LPARAM>(&found));
        return found != nullptr;
    }, 60000);
    return found;
}

// The training page: the child dialog of the tab control that holds the start button.
BOOL CALLBACK FindPage(HWND hwnd, LPARAM param)
{
    if (GetDlgItem(hwnd, kStart) && GetDlgItem(hwnd, kFalling)) {
        *reinterpret_cast<HWND*>(param) = hwnd;
        return FALSE;
    }
    return TRUE;
}

HWND TrainingPage(HWND main)
{
    HWND page = nullptr;
    EnumChildWindows(GetDlgItem(main, kTab), FindPage, reinterpret_cast<LPARAM>(&page));
    return page;
}

// Where tab item `index` lies in the tab control's client area. TCM_GETITEMRECT writes
// into memory of the program's own process, so the rectangle is fetched through a block
// allocated there.
bool TabItemRect(HWND tab, int index, RECT* rc)
{
    DWORD pid = 0;
    GetWindowThreadProcessId(tab, &pid);
    HANDLE process = OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, pid);
    if (!process)
        return false;
    bool ok = false;
    if (void* remote = VirtualAllocEx(process, nullptr, sizeof(RECT), MEM_COMMIT, PAGE_READWRITE)) {
        SIZE_T read = 0;
        ok = SendMessageW(tab, TCM_GETITEMRECT, index, reinterpret_cast<LPARAM>(remote)) &&
             ReadProcessMemory(process, remote, rc, sizeof(RECT), &read) && read == sizeof(RECT);
        VirtualFreeEx(process, remote, 0, MEM_RELEASE);
    }
    CloseHandle(process);
    return ok;
}

// A real click (button down and up) on the middle of tab item `index`: the program
// switches pages on the tab's NM_CLICK, which only a mouse click sends.
bool ClickTab(HWND main, int index)
{
    HWND tab = GetDlgItem(main, kTab);
    RECT rc;
    if (!TabItemRect(tab, index, &rc)) {
        std::printf("screenshot_driver: cannot read the position of tab %d\n", index);
        return false;
    }
    const LPARAM at = MAKELPARAM((rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2);
    PostMessageW(tab, WM_MOUSEMOVE, 0, at);
    PostMessageW(tab, WM_LBUTTONDOWN, MK_LBUTTON, at);
    PostMessageW(tab, WM_LBUTTONUP, 0, at);
    return true;
}

void Type(HWND edit, const std::wstring& text)
{
    SendMessageW(edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
}

// Enter as a keyboard would deliver it: through the message loop, where the page's
// PreTranslateMessage sees it.
void PressEnter(HWND hwnd)
{
    PostMessageW(hwnd, WM_KEYDOWN, VK_RETURN, 0x001C0001);
    PostMessageW(hwnd, WM_CHAR, L'\r', 0x001C0001);
    PostMessageW(hwnd, WM_KEYUP, VK_RETURN, 0xC01C0001);
}

// The number at the end of a statistics label such as "总计次数:      2".
int Count(HWND label)
{
    const std::wstring s = Text(label);
    const size_t digits = s.find_last_not_of(L"0123456789");
    return digits == std::wstring::npos || digits + 1 == s.size() ? -1 : _wtoi(s.c_str() + digits + 1);
}

int FallingOffset(HWND page)
{
    RECT rc;
    GetWindowRect(GetDlgItem(page, kFalling), &rc);
    POINT p{rc.left, rc.top};
    ScreenToClient(page, &p);
    return p.y;
}

int Finish(HWND main)
{
    // Under Xvfb, with no window manager, Wine leaves the caption drawn in its inactive
    // colours although the window is the foreground one: have it drawn as it is.
    if (GetForegroundWindow() == main)
        SendMessageW(main, WM_NCACTIVATE, TRUE, 0);
    RECT rc;
    GetWindowRect(main, &rc);
    std::printf("WINDOW %ld %ld %ld %ld\n", rc.left, rc.top, rc.right - rc.left, rc.bottom - rc.top);
    return 0;
}

int Lookup(HWND main, const std::wstring& text)
{
    HWND edit = GetDlgItem(main, kText), button = GetDlgItem(main, kLookup), label = GetDlgItem(main, kPhonetic);
    if (!IsWindowVisible(edit))
        return Fail("the look-up page is not showing");
    Type(edit, text);
    const std::wstring before = Text(label);
    PostMessageW(button, BM_CLICK, 0, 0);
    // The walk disables the button until it ends; then the last spelling stays shown.
    if (!WaitFor([&] { return !IsWindowEnabled(button) || Text(label) != before; }, 10000))
        return Fail("the look-up did not start");
    if (!WaitFor([&] { return IsWindowEnabled(button); }, 60000))
        return Fail("the read-aloud did not end within 60 s");
    // The same text read again ends on the spelling it showed before: the walk is known to
    // have run from the button's disabling, so only the spelling's form is checked here.
    const std::wstring spelling = Text(label);
    if (spelling.empty() || !iswdigit(spelling.back()))
        return Fail("no spelling with a tone digit was shown after the look-up");
    std::printf("looked up: %s -> label shows %s\n", Utf8(text).c_str(), Utf8(spelling).c_str());
    return Finish(main);
}

int Training(HWND main)
{
    HWND page = TrainingPage(main);
    if (!page)
        return Fail("the training page was not found");
    if (!ClickTab(main, 1) || !WaitFor([&] { return IsWindowVisible(page) != FALSE; }, 10000))
        return Fail("the training page did not show after a click on its tab");

    // A brisk fall, so that a character is part-way down within seconds.
    SendMessageW(GetDlgItem(page, kSpeed), TBM_SETPOS, TRUE, 8);
    HWND falling = GetDlgItem(page, kFalling), answer = GetDlgItem(page, kAnswer), hint = GetDlgItem(page, kHint);
    HWND total = GetDlgItem(page, kTotal), hits = GetDlgItem(page, kHits), misses = GetDlgItem(page, kMisses);
    const int top = FallingOffset(page);
    PostMessageW(GetDlgItem(page, kStart), BM_CLICK, 0, 0);
    if (!WaitFor([&] { return FallingOffset(page) > top; }, 15000))
        return Fail("no character started falling after 开始");

    // A wrong answer shows the reference spelling; typing it is a hit, and the next
    // character starts from the top.
    for (int attempt = 0; attempt < 6 && (Count(hits) < 1 || Count(misses) < 1); ++attempt) {
        const int tries = Count(total);
        const std::wstring h = Text(hint);
        const size_t at = h.find(kReferencePrefix);
        const std::wstring reply = at != std::wstring::npos && Count(misses) > 0
                                       ? h.substr(at + wcslen(kReferencePrefix)) : L"x";
        const std::string character = Utf8(Text(falling));
        Type(answer, reply);
        PressEnter(answer);
        const bool counted = WaitFor([&] { return Count(total) != tries; }, 5000);
        std::printf("answered \"%s\" to %s%s\n", Utf8(reply).c_str(), character.c_str(),
                    counted ? "" : ": not counted");
    }
    if (Count(hits) < 1 || Count(misses) < 1)
        return Fail("could not give one wrong and one right answer");

    RECT client;
    GetClientRect(page, &client);
    const int target = top + (client.bottom - top) * 2 / 5;
    if (!WaitFor([&] { return FallingOffset(page) >= target; }, 60000))
        return Fail("the next character did not fall part-way within 60 s");
    std::printf("statistics: %s | %s | %s; falling: %s\n", Utf8(Text(total)).c_str(), Utf8(Text(hits)).c_str(),
                Utf8(Text(misses)).c_str(), Utf8(Text(falling)).c_str());
    return Finish(main);
}

// The notice box: a dialog of the program's process owned by the main window.
struct NoticeSearch {
    HWND main;
    HWND box;
};

BOOL CALLBACK FindNotice(HWND hwnd, LPARAM param)
{
    auto* s = reinterpret_cast<NoticeSearch*>(param);
    wchar_t cls[32] = {};
    GetClassNameW(hwnd, cls, 32);
    if (IsWindowVisible(hwnd) && GetWindow(hwnd, GW_OWNER) == s->main && wcscmp(cls, L"#32770") == 0) {
        s->box = hwnd;
        return FALSE;
    }
    return TRUE;
}

BOOL CALLBACK FindStatic(HWND hwnd, LPARAM param)
{
    wchar_t cls[32] = {};
    GetClassNameW(hwnd, cls, 32);
    if (_wcsicmp(cls, L"Static") == 0 && !Text(hwnd).empty()) {
        *reinterpret_cast<std::wstring*>(param) = Text(hwnd);
        return FALSE;
    }
    return TRUE;
}

int Study(HWND main, DWORD playMs)
{
    // A learner stops the game before watching the video.
    if (HWND page = TrainingPage(main))
        PostMessageW(GetDlgItem(page, kHalt), BM_CLICK, 0, 0);
    if (!ClickTab(main, 2))
        return Fail("cannot click the study tab");
    NoticeSearch s{main, nullptr};
    if (!WaitFor([&] { EnumWindows(FindNotice, reinterpret_cast<LPARAM>(&s)); return s.box != nullptr; }, 10000))
        return Fail("the video notice did not appear");
    std::wstring notice;
    EnumChildWindows(s.box, FindStatic, reinterpret_cast<LPARAM>(&notice));
    std::printf("notice: %s\n", Utf8(notice).c_str());
    PostMessageW(s.box, WM_COMMAND, IDOK, 0);
    HWND player = GetDlgItem(main, kPlayer);
    if (!WaitFor([&] { return !IsWindow(s.box) && IsWindowVisible(player); }, 10000))
        return Fail("the notice did not close, or the player did not show");
    // Past the first seconds, so that a slide with text is on screen.
    Sleep(playMs);
    return Finish(main);
}

}  // namespace

int wmain(int argc, wchar_t** argv)
{
    const std::wstring step = argc > 1 ? argv[1] : L"";
    if (step != L"lookup" && step != L"training" && step != L"study" && step != L"close") {
        std::printf("usage: screenshot_driver lookup [text] | training | study [ms] | close\n");
        return 2;
    }
    HWND main = MainWindow();
    if (!main)
        return Fail("no main window of the installed program (C:\\Program Files\\Lorvane\\Lorvane.exe) within 60 s");
    SetForegroundWindow(main);
    if (step == L"lookup")
        return Lookup(main, argc > 2 ? argv[2] : kDefaultText);
    if (step == L"training")
        return Training(main);
    if (step == L"study")
        return Study(main, argc > 2 ? static_cast<DWORD>(_wtoi(argv[2])) : 6000);
    PostMessageW(main, WM_COMMAND, IDCANCEL, 0);
    return 0;
}
