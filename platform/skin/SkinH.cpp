// SkinH.dll: gives the dialogs of the calling thread one calm background
// colour, for the dialog itself, its static controls (labels, group boxes,
// check boxes, trackbars) and the panes of its tab controls, on which child
// pages lie. Where a dialog chooses its own colours, its choice stands: the
// skin only replaces the system's default face brush.
//
// Dialogs are found as they are created (a CBT hook on the calling thread) and
// among the thread's windows at the time of the call, and are subclassed with
// SetWindowSubclass, which coexists with any other subclassing.
#include <windows.h>
#include <commctrl.h>

namespace {

constexpr COLORREF kFace = RGB(236, 242, 249);
constexpr UINT_PTR kSubclassId = 0x536B6E48;  // "SknH"

thread_local HHOOK t_hook = nullptr;

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

bool IsDialog(HWND hwnd) { return HasClass(hwnd, L"#32770"); }

LRESULT CALLBACK SkinProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam, UINT_PTR id, DWORD_PTR)
{
    switch (msg) {
    case WM_CTLCOLORDLG:
    case WM_CTLCOLORSTATIC: {
        const LRESULT chosen = DefSubclassProc(hwnd, msg, wParam, lParam);
        const HBRUSH brush = reinterpret_cast<HBRUSH>(chosen);
        if (brush && brush != GetSysColorBrush(COLOR_BTNFACE))
            return chosen;  // the dialog's own colour
        SetBkColor(reinterpret_cast<HDC>(wParam), kFace);
        return reinterpret_cast<LRESULT>(FaceBrush());
    }
    case WM_NCDESTROY:
        RemoveWindowSubclass(hwnd, SkinProc, id);
        break;
    }
    return DefSubclassProc(hwnd, msg, wParam, lParam);
}

// A second SetWindowSubclass with the same procedure and id only replaces the
// reference data, so a dialog is never subclassed twice.
// A tab control paints its pane in its own colour; pages (child dialogs) lie
// on that pane, so it takes the skin's colour too. Painted after the control
// has drawn its tabs and border, leaving its children (the pages) alone.
LRESULT CALLBACK TabProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam, UINT_PTR id, DWORD_PTR)
{
    if (msg == WM_NCDESTROY)
        RemoveWindowSubclass(hwnd, TabProc, id);
    if (msg == WM_ERASEBKGND) {  // the strip beside the tab items
        RECT client;
        GetClientRect(hwnd, &client);
        FillRect(reinterpret_cast<HDC>(wParam), &client, FaceBrush());
        return TRUE;
    }
    if (msg != WM_PAINT || wParam)
        return DefSubclassProc(hwnd, msg, wParam, lParam);
    const LRESULT result = DefSubclassProc(hwnd, msg, wParam, lParam);
    RECT pane;
    GetClientRect(hwnd, &pane);
    SendMessageW(hwnd, TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&pane));
    if (HDC dc = GetDCEx(hwnd, nullptr, DCX_CACHE | DCX_CLIPCHILDREN | DCX_CLIPSIBLINGS)) {
        FillRect(dc, &pane, FaceBrush());
        ReleaseDC(hwnd, dc);
    }
    return result;
}

void Skin(HWND hwnd)
{
    if (IsDialog(hwnd))
        SetWindowSubclass(hwnd, SkinProc, kSubclassId, 0);
    else if (HasClass(hwnd, WC_TABCONTROLW) && IsDialog(GetParent(hwnd)))
        SetWindowSubclass(hwnd, TabProc, kSubclassId, 0);
}

LRESULT CALLBACK CbtProc(int code, WPARAM wParam, LPARAM lParam)
{
    if (code == HCBT_CREATEWND)
        Skin(reinterpret_cast<HWND>(wParam));
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

BOOL CALLBACK SkinChild(HWND hwnd, LPARAM)
{
    Skin(hwnd);
    return TRUE;
}

BOOL CALLBACK SkinTopLevel(HWND hwnd, LPARAM)
{
    Skin(hwnd);
    EnumChildWindows(hwnd, SkinChild, 0);
    RedrawWindow(hwnd, nullptr, nullptr, RDW_ERASE | RDW_INVALIDATE | RDW_ALLCHILDREN);
    return TRUE;
}

}  // namespace

// Returns 0 on success. A second call on the same thread does nothing more.
extern "C" __declspec(dllexport) int WINAPI SkinH_Attach()
{
    if (t_hook)
        return 0;
    // The hook and the subclass procedures live in this module: it must stay
    // loaded even if the caller frees it.
    HMODULE self = nullptr;
    GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_PIN,
                       reinterpret_cast<LPCWSTR>(&SkinH_Attach), &self);
    t_hook = SetWindowsHookExW(WH_CBT, CbtProc, nullptr, GetCurrentThreadId());
    if (!t_hook)
        return int(GetLastError() ? GetLastError() : 1);
    EnumThreadWindows(GetCurrentThreadId(), SkinTopLevel, 0);
    return 0;
}
