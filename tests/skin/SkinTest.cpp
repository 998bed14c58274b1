// SkinH.dll as the program uses it: loaded at start-up, SkinH_Attach called
// once on the GUI thread. The skin is per thread, so each case runs on a fresh
// thread of its own.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <thread>
#include <utility>
#include <vector>

namespace {

constexpr COLORREF kSkinFace = RGB(236, 242, 249);
constexpr int kLabelId = 100;

using AttachFn = int(WINAPI*)();

AttachFn Attach()
{
    static const AttachFn attach = [] {
        HMODULE dll = LoadLibraryW(L"SkinH.dll");
        return dll ? reinterpret_cast<AttachFn>(GetProcAddress(dll, "SkinH_Attach")) : nullptr;
    }();
    return attach;
}

void OnNewThread(const std::function<void()>& body)
{
    std::thread(body).join();
}

// A modeless dialog with one static label, from a template built in memory.
HWND MakeDialog(DLGPROC proc)
{
    std::vector<WORD> t(64, 0);
    auto* dlg = reinterpret_cast<DLGTEMPLATE*>(t.data());
    dlg->style = WS_POPUP | WS_CAPTION | DS_SETFONT;
    dlg->cdit = 1;
    dlg->cx = 120;
    dlg->cy = 60;
    size_t w = sizeof(DLGTEMPLATE) / 2 + 3;  // menu, class, title: none
    t[w++] = 9;                             // font size, then the face name
    for (const wchar_t* f = L"MS Shell Dlg"; *f; ++f)
        t[w++] = WORD(*f);
    t[w++] = 0;
    w = (w + 1) & ~size_t(1);  // items are DWORD-aligned
    auto* item = reinterpret_cast<DLGITEMTEMPLATE*>(&t[w]);
    item->style = WS_CHILD | WS_VISIBLE | SS_LEFT;
    item->x = 5;
    item->y = 5;
    item->cx = 100;
    item->cy = 10;
    item->id = kLabelId;
    w += sizeof(DLGITEMTEMPLATE) / 2;
    t[w++] = 0xFFFF;
    t[w++] = 0x0082;  // the STATIC class
    for (const wchar_t* s = L"label"; *s; ++s)
        t[w++] = WORD(*s);
    t[w++] = 0;
    t[w++] = 0;  // no creation data
    return CreateDialogIndirectParamW(GetModuleHandleW(nullptr), dlg, nullptr, proc, 0);
}

INT_PTR CALLBACK PlainProc(HWND, UINT msg, WPARAM, LPARAM) { return msg == WM_INITDIALOG; }

// A dialog that colours its labels itself.
HBRUSH OwnBrush()
{
    static const HBRUSH brush = CreateSolidBrush(RGB(255, 0, 0));
    return brush;
}

INT_PTR CALLBACK OwnColourProc(HWND, UINT msg, WPARAM, LPARAM)
{
    if (msg == WM_CTLCOLORSTATIC)
        return reinterpret_cast<INT_PTR>(OwnBrush());
    return msg == WM_INITDIALOG;
}

// The colour of the brush a window answers for a colour message of `target`.
COLORREF ColourFor(HWND window, UINT msg, HWND target)
{
    HDC dc = GetDC(target);
    const auto brush = reinterpret_cast<HBRUSH>(SendMessageW(window, msg, WPARAM(dc), LPARAM(target)));
    ReleaseDC(target, dc);
    LOGBRUSH info{};
    if (!brush || !GetObjectW(brush, sizeof info, &info))
        return CLR_INVALID;
    return info.lbColor;
}

TEST(Skin, DllExportsAttach)
{
    ASSERT_NE(Attach(), nullptr) << "SkinH.dll beside the test, exporting SkinH_Attach";
}

TEST(Skin, DialogsAndTheirLabelsTakeTheSkinColour)
{
    ASSERT_NE(Attach(), nullptr);
    OnNewThread([] {
        HWND before = MakeDialog(PlainProc);
        ASSERT_NE(before, nullptr);
        const COLORREF systemFace = GetSysColor(COLOR_BTNFACE);
        ASSERT_NE(systemFace, kSkinFace);
        EXPECT_EQ(ColourFor(before, WM_CTLCOLORDLG, before), systemFace);

        EXPECT_EQ(Attach()(), 0);
        // Dialogs that exist already and dialogs made later.
        HWND after = MakeDialog(PlainProc);
        for (HWND dlg : {before, after}) {
            EXPECT_EQ(ColourFor(dlg, WM_CTLCOLORDLG, dlg), kSkinFace);
            EXPECT_EQ(ColourFor(dlg, WM_CTLCOLORSTATIC, GetDlgItem(dlg, kLabelId)), kSkinFace);
            // Edit boxes keep the window colour.
            EXPECT_EQ(ColourFor(dlg, WM_CTLCOLOREDIT, GetDlgItem(dlg, kLabelId)), GetSysColor(COLOR_WINDOW));
        }
        DestroyWindow(before);
        DestroyWindow(after);
    });
}

TEST(Skin, ColoursADialogChoosesItselfStand)
{
    ASSERT_NE(Attach(), nullptr);
    OnNewThread([] {
        ASSERT_EQ(Attach()(), 0);
        HWND dlg = MakeDialog(OwnColourProc);
        EXPECT_EQ(ColourFor(dlg, WM_CTLCOLORSTATIC, GetDlgItem(dlg, kLabelId)), RGB(255, 0, 0));
        EXPECT_EQ(ColourFor(dlg, WM_CTLCOLORDLG, dlg), kSkinFace);
        DestroyWindow(dlg);
    });
}

// The colours painted in the middle of the pane of a tab control on a shown
// dialog and in the strip beside its one tab item.
std::pair<COLORREF, COLORREF> TabColours()
{
    HWND dlg = MakeDialog(PlainProc);
    HWND tab = CreateWindowExW(0, WC_TABCONTROLW, L"", WS_CHILD | WS_VISIBLE, 0, 0, 160, 100, dlg, nullptr,
                               nullptr, nullptr);
    TCITEMW item{};
    item.mask = TCIF_TEXT;
    item.pszText = const_cast<LPWSTR>(L"tab");
    SendMessageW(tab, TCM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item));
    SetWindowPos(dlg, HWND_TOP, 10, 10, 200, 150, SWP_SHOWWINDOW);
    UpdateWindow(dlg);
    RECT pane;
    GetClientRect(tab, &pane);
    SendMessageW(tab, TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&pane));
    HDC dc = GetDC(tab);
    const COLORREF middle = GetPixel(dc, (pane.left + pane.right) / 2, (pane.top + pane.bottom) / 2);
    const COLORREF beside = GetPixel(dc, 150, 5);
    ReleaseDC(tab, dc);
    DestroyWindow(dlg);
    return {middle, beside};
}

TEST(Skin, TabPanesOnDialogsTakeTheSkinColour)
{
    ASSERT_NE(Attach(), nullptr);
    OnNewThread([] {
        const auto [paneBefore, stripBefore] = TabColours();
        EXPECT_NE(paneBefore, kSkinFace);
        EXPECT_NE(stripBefore, kSkinFace);
        ASSERT_EQ(Attach()(), 0);
        const auto [pane, strip] = TabColours();
        EXPECT_EQ(pane, kSkinFace);
        EXPECT_EQ(strip, kSkinFace);
    });
}

// The skin follows new dialogs through their class, which all threads share:
// a thread that did not attach still gets the system's colours.
TEST(Skin, DialogsOfOtherThreadsAreLeftAlone)
{
    ASSERT_NE(Attach(), nullptr);
    OnNewThread([] { ASSERT_EQ(Attach()(), 0); });
    OnNewThread([] {
        HWND dlg = MakeDialog(PlainProc);
        ASSERT_NE(dlg, nullptr);
        EXPECT_EQ(ColourFor(dlg, WM_CTLCOLORDLG, dlg), GetSysColor(COLOR_BTNFACE));
        EXPECT_EQ(ColourFor(dlg, WM_CTLCOLORSTATIC, GetDlgItem(dlg, kLabelId)), GetSysColor(COLOR_BTNFACE));
        DestroyWindow(dlg);
        const auto [pane, strip] = TabColours();
        EXPECT_NE(pane, kSkinFace);
        EXPECT_NE(strip, kSkinFace);
    });
}

TEST(Skin, OtherWindowsAreLeftAlone)
{
    ASSERT_NE(Attach(), nullptr);
    OnNewThread([] {
        ASSERT_EQ(Attach()(), 0);
        HWND plain = CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
        HWND child = CreateWindowExW(0, L"STATIC", L"", WS_CHILD, 0, 0, 5, 5, plain, nullptr, nullptr, nullptr);
        EXPECT_EQ(ColourFor(plain, WM_CTLCOLORSTATIC, child), GetSysColor(COLOR_BTNFACE));
        DestroyWindow(plain);
    });
}

TEST(Skin, SecondAttachAndFreeingTheDllAreHarmless)
{
    ASSERT_NE(Attach(), nullptr);
    OnNewThread([] {
        HMODULE extra = LoadLibraryW(L"SkinH.dll");
        ASSERT_NE(extra, nullptr);
        ASSERT_EQ(Attach()(), 0);
        EXPECT_EQ(Attach()(), 0);
        // The program may free its reference; the hook keeps working.
        FreeLibrary(extra);
        FreeLibrary(extra);
        HWND dlg = MakeDialog(PlainProc);
        ASSERT_NE(dlg, nullptr);
        EXPECT_EQ(ColourFor(dlg, WM_CTLCOLORDLG, dlg), kSkinFace);
        // One subclass, however often attached: destroying the dialog unhooks it cleanly.
        DestroyWindow(dlg);
        EXPECT_NE(GetModuleHandleW(L"SkinH.dll"), nullptr);
    });
}

}  // namespace
