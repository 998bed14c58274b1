// SkinH.dll: gives the dialogs of the calling thread one calm background
// colour, for the dialog itself, its static controls (labels, group boxes,
// check boxes, trackbars) and the panes of its tab controls, on which child
// pages lie. Where a dialog chooses its own colours, its choice stands: the
// skin only replaces the system's default face brush.
//
// The skin puts a procedure of its own in front of the dialog class and the
// tab control class of the process: windows created from then on answer
// through it, and it colours those of the threads that called SkinH_Attach.
// Windows that exist at the time of the call are switched to the same
// procedure, or subclassed (SetWindowSubclass, which coexists with any other
// subclassing) when something else has subclassed them already.
//
// Why not a CBT hook and a subclass per window: under Wine every hooked event
// and every message through a SetWindowSubclass chain costs round trips to
// the server, which made building and first painting a dialog of a few dozen
// controls a fifth slower. The class procedures cost one call.
#include <windows.h>
#include <commctrl.h>

#include <vector>

namespace {

constexpr COLORREF kFace = RGB(236, 242, 249);
constexpr UINT_PTR kSubclassId = 0x536B6E48;  // "SknH"

// A window's procedure runs on the thread that made it, so this is the flag of
// the window's own thread.
thread_local bool t_attached = false;

// The classes' own procedures, which ours pass every message on to. Set once
// for the process, before the classes' procedures are replaced.
WNDPROC g_dialogClassProc = nullptr;
WNDPROC g_tabClassProc = nullptr;

HBRUSH FaceBrush()
{
    static const HBRUSH brush = CreateSolidBrush(kFace);  // lives as long as the process
    return brush;
}

bool HasClass(HWND hwnd, const wchar_t* cls)
{
    wchar_t name[32] = L"";
    return GetClassNameW(hwnd, name, 32) && lstrcmpiW(name, cls) == 0;
}

constexpr wchar_t kDialogClass[] = L"#32770";  // WC_DIALOG is the class's atom, not its name

bool IsDialog(HWND hwnd) { return HasClass(hwnd, kDialogClass); }

// A dialog's colour messages: `next` gives the dialog's own answer, which
// stands unless it is the system's face brush.
template <typename Next>
LRESULT DialogMessage(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam, Next next)
{
    const LRESULT chosen = next(hwnd, msg, wParam, lParam);
    if (msg != WM_CTLCOLORDLG && msg != WM_CTLCOLORSTATIC)
        return chosen;
    const HBRUSH brush = reinterpret_cast<HBRUSH>(chosen);
    if (brush && brush != GetSysColorBrush(COLOR_BTNFACE))
        return chosen;  // the dialog's own colour
    SetBkColor(reinterpret_cast<HDC>(wParam), kFace);
    return reinterpret_cast<LRESULT>(FaceBrush());
}

// A tab control on a dialog paints its pane in its own colour; pages (child
// dialogs) lie on that pane, so it takes the skin's colour too. Painted after
// the control has drawn its tabs and border, leaving its children (the pages)
// alone.
template <typename Next>
LRESULT TabMessage(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam, Next next)
{
    const bool erase = msg == WM_ERASEBKGND, paint = msg == WM_PAINT && !wParam;
    if (!(erase || paint) || !IsDialog(GetParent(hwnd)))
        return next(hwnd, msg, wParam, lParam);
    if (erase) {  // the strip beside the tab items
        RECT client;
        GetClientRect(hwnd, &client);
        FillRect(reinterpret_cast<HDC>(wParam), &client, FaceBrush());
        return TRUE;
    }
    const LRESULT result = next(hwnd, msg, wParam, lParam);
    RECT pane;
    GetClientRect(hwnd, &pane);
    SendMessageW(hwnd, TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&pane));
    if (HDC dc = GetDCEx(hwnd, nullptr, DCX_CACHE | DCX_CLIPCHILDREN | DCX_CLIPSIBLINGS)) {
        FillRect(dc, &pane, FaceBrush());
        ReleaseDC(hwnd, dc);
    }
    return result;
}

LRESULT CallDialogClass(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    return CallWindowProcW(g_dialogClassProc, hwnd, msg, wParam, lParam);
}

LRESULT CallTabClass(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    return CallWindowProcW(g_tabClassProc, hwnd, msg, wParam, lParam);
}

LRESULT CALLBACK DialogClassProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    if (!t_attached)
        return CallDialogClass(hwnd, msg, wParam, lParam);
    return DialogMessage(hwnd, msg, wParam, lParam, CallDialogClass);
}

LRESULT CALLBACK TabClassProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    if (!t_attached)
        return CallTabClass(hwnd, msg, wParam, lParam);
    return TabMessage(hwnd, msg, wParam, lParam, CallTabClass);
}

// For windows that something else had subclassed before the skin came.
LRESULT CALLBACK DialogSubclassProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam, UINT_PTR id, DWORD_PTR)
{
    if (msg == WM_NCDESTROY)
        RemoveWindowSubclass(hwnd, DialogSubclassProc, id);
    return DialogMessage(hwnd, msg, wParam, lParam, DefSubclassProc);
}

LRESULT CALLBACK TabSubclassProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam, UINT_PTR id, DWORD_PTR)
{
    if (msg == WM_NCDESTROY)
        RemoveWindowSubclass(hwnd, TabSubclassProc, id);
    return TabMessage(hwnd, msg, wParam, lParam, DefSubclassProc);
}

// Puts `proc` in front of the procedure of the class of `window` (of class
// `cls`, made here when null) for the windows created from now on, keeping the
// class's own in *own first: a window created at the same time on another
// thread may already need it. False if the class cannot be reached.
bool TakeOverClass(HWND window, const wchar_t* cls, WNDPROC proc, WNDPROC* own)
{
    // A class's procedure is changed through a window of it; a message-only
    // one will do, and is gone again at once.
    HWND probe = nullptr;
    if (!window)
        window = probe = CreateWindowExW(0, cls, L"", WS_CHILD, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
    if (!window)
        return false;
    *own = reinterpret_cast<WNDPROC>(GetClassLongPtrW(window, GCLP_WNDPROC));
    const bool done = *own && SetClassLongPtrW(window, GCLP_WNDPROC, reinterpret_cast<LONG_PTR>(proc)) != 0;
    if (probe)
        DestroyWindow(probe);
    return done;
}

// The dialogs and tab controls of the calling thread (top-level windows and all
// their descendants), found in one pass: the class name of each window is asked
// once.
struct ThreadWindows {
    std::vector<HWND> topLevel, dialogs, tabs;
};

// No exception may cross the system's enumeration: short of memory, a window is left out.
void Keep(std::vector<HWND>& list, HWND hwnd)
{
    try {
        list.push_back(hwnd);
    } catch (...) {
    }
}

void Classify(HWND hwnd, ThreadWindows* found)
{
    wchar_t name[32] = L"";
    if (!GetClassNameW(hwnd, name, 32))
        return;
    if (lstrcmpiW(name, kDialogClass) == 0)
        Keep(found->dialogs, hwnd);
    else if (lstrcmpiW(name, WC_TABCONTROLW) == 0)
        Keep(found->tabs, hwnd);
}

BOOL CALLBACK CollectChild(HWND hwnd, LPARAM lParam)
{
    Classify(hwnd, reinterpret_cast<ThreadWindows*>(lParam));
    return TRUE;
}

BOOL CALLBACK CollectTopLevel(HWND hwnd, LPARAM lParam)
{
    auto* found = reinterpret_cast<ThreadWindows*>(lParam);
    Keep(found->topLevel, hwnd);
    Classify(hwnd, found);
    EnumChildWindows(hwnd, CollectChild, lParam);
    return TRUE;
}

DWORD g_classError = 0;  // why the dialog class could not be taken over; 0 if it was

// The windows found are used to reach the classes; without one, a probe is made.
struct TakeOver {
    HWND dialog, tab;
};

BOOL CALLBACK TakeOverClasses(PINIT_ONCE, PVOID param, PVOID*)
{
    const auto* through = static_cast<const TakeOver*>(param);
    if (!TakeOverClass(through->dialog, kDialogClass, DialogClassProc, &g_dialogClassProc))
        g_classError = GetLastError() ? GetLastError() : 1;
    if (!through->tab) {
        INITCOMMONCONTROLSEX icc{sizeof icc, ICC_TAB_CLASSES};
        InitCommonControlsEx(&icc);
    }
    // Without this one, tab panes only keep their own colour.
    TakeOverClass(through->tab, WC_TABCONTROLW, TabClassProc, &g_tabClassProc);
    return TRUE;
}

// A window made before the classes were taken over still has its class's old
// procedure: it is switched to the skin's, or subclassed if something else
// has subclassed it. (Windows made since then need nothing.)
void Adopt(HWND hwnd, WNDPROC own, WNDPROC skin, SUBCLASSPROC subclass)
{
    const auto current = reinterpret_cast<WNDPROC>(GetWindowLongPtrW(hwnd, GWLP_WNDPROC));
    if (!own || current == skin)
        return;
    if (current == own)
        SetWindowLongPtrW(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(skin));
    else
        SetWindowSubclass(hwnd, subclass, kSubclassId, 0);  // a second call only replaces its data
}

}  // namespace

// Returns 0 on success. A second call on the same thread does nothing more.
extern "C" __declspec(dllexport) int WINAPI SkinH_Attach()
{
    if (t_attached)
        return 0;
    // The class and subclass procedures live in this module: it must stay
    // loaded even if the caller frees it.
    HMODULE self = nullptr;
    GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_PIN,
                       reinterpret_cast<LPCWSTR>(&SkinH_Attach), &self);
    ThreadWindows found;
    EnumThreadWindows(GetCurrentThreadId(), CollectTopLevel, reinterpret_cast<LPARAM>(&found));
    static INIT_ONCE once = INIT_ONCE_STATIC_INIT;
    TakeOver through{found.dialogs.empty() ? nullptr : found.dialogs.front(),
                     found.tabs.empty() ? nullptr : found.tabs.front()};
    InitOnceExecuteOnce(&once, TakeOverClasses, &through, nullptr);
    if (g_classError)
        return int(g_classError);
    t_attached = true;
    for (HWND dialog : found.dialogs)
        Adopt(dialog, g_dialogClassProc, DialogClassProc, DialogSubclassProc);
    for (HWND tab : found.tabs)   // (only those on dialogs change colour)
        Adopt(tab, g_tabClassProc, TabClassProc, TabSubclassProc);
    for (HWND window : found.topLevel)
        if (IsWindowVisible(window))  // a hidden one is painted when it is shown
            RedrawWindow(window, nullptr, nullptr, RDW_ERASE | RDW_INVALIDATE | RDW_ALLCHILDREN);
    return 0;
}
