// Where the minimised window draws its icon, through the real painting path of the main
// window.
#include <afxwin.h>

#include <gtest/gtest.h>

#include <vector>

#include "app/PronounceDlg.h"
#include "support/MainWindowDriver.h"

namespace {

// Watches this module's calls of DrawIcon by swapping its import entry for the time of
// the test; every call still goes to the real DrawIcon.
class DrawIconSpy
{
public:
    struct Call {
        HDC dc;
        int x, y;
        HICON icon;
    };

    DrawIconSpy()
    {
        s_calls.clear();
        m_slot = FindImportSlot("user32.dll", "DrawIcon");
        if (m_slot) {
            m_real = *m_slot;
            s_real = reinterpret_cast<decltype(&::DrawIcon)>(m_real);
            Write(reinterpret_cast<void*>(&Record));
        }
    }
    ~DrawIconSpy()
    {
        if (m_slot)
            Write(m_real);
    }
    bool installed() const { return m_slot != nullptr; }
    static const std::vector<Call>& calls() { return s_calls; }

private:
    static BOOL WINAPI Record(HDC dc, int x, int y, HICON icon)
    {
        s_calls.push_back({dc, x, y, icon});
        return s_real(dc, x, y, icon);
    }

    static void** FindImportSlot(const char* dll, const char* function)
    {
        auto base = reinterpret_cast<BYTE*>(GetModuleHandleW(nullptr));
        auto dos = reinterpret_cast<IMAGE_DOS_HEADER*>(base);
        auto nt = reinterpret_cast<IMAGE_NT_HEADERS*>(base + dos->e_lfanew);
        const IMAGE_DATA_DIRECTORY& dir = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
        for (auto imp = reinterpret_cast<IMAGE_IMPORT_DESCRIPTOR*>(base + dir.VirtualAddress); imp->Name; ++imp) {
            if (_stricmp(reinterpret_cast<char*>(base + imp->Name), dll) != 0)
                continue;
            auto names = reinterpret_cast<IMAGE_THUNK_DATA*>(base + imp->OriginalFirstThunk);
            auto slots = reinterpret_cast<IMAGE_THUNK_DATA*>(base + imp->FirstThunk);
            for (; names->u1.AddressOfData; ++names, ++slots) {
                if (IMAGE_SNAP_BY_ORDINAL(names->u1.Ordinal))
                    continue;
                auto byName = reinterpret_cast<IMAGE_IMPORT_BY_NAME*>(base + names->u1.AddressOfData);
                if (strcmp(reinterpret_cast<char*>(byName->Name), function) == 0)
                    return reinterpret_cast<void**>(&slots->u1.Function);
            }
        }
        return nullptr;
    }

    void Write(void* value)
    {
        DWORD old;
        VirtualProtect(m_slot, sizeof(void*), PAGE_READWRITE, &old);
        *m_slot = value;
        VirtualProtect(m_slot, sizeof(void*), old, &old);
    }

    void** m_slot = nullptr;
    void* m_real = nullptr;
    static inline std::vector<Call> s_calls;
    static inline decltype(&::DrawIcon) s_real = nullptr;
};

HWND g_watched;
std::vector<std::pair<WPARAM, LPARAM>> g_iconErases;

LRESULT CALLBACK WatchIconErase(int code, WPARAM wParam, LPARAM lParam)
{
    auto* msg = reinterpret_cast<CWPSTRUCT*>(lParam);
    if (code == HC_ACTION && msg->hwnd == g_watched && msg->message == WM_ICONERASEBKGND)
        g_iconErases.push_back({msg->wParam, msg->lParam});
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

// A minimised window has no client area here (as on every Windows since 95), so the real
// path centres the 32-pixel icon in a 0 x 0 client: -31 / 2, which truncates to -15.
TEST(AppMinimisedIcon, PaintingWhileMinimisedErasesThenDrawsTheIconCentred)
{
    DrawIconSpy spy;
    ASSERT_TRUE(spy.installed());
    HHOOK hook = SetWindowsHookExW(WH_CALLWNDPROC, WatchIconErase, nullptr, GetCurrentThreadId());
    ASSERT_NE(hook, nullptr);

    CPronounceDlg dlg;
    MainWindowDriver::Run(dlg, [&](MainWindowDriver& s) {
        CPronounceDlg& d = s.Main();
        g_watched = d.m_hWnd;
        g_iconErases.clear();
        d.SendMessage(WM_PAINT);  // not minimised: the default painting
        EXPECT_TRUE(DrawIconSpy::calls().empty());
        EXPECT_TRUE(g_iconErases.empty());
        d.ShowWindow(SW_MINIMIZE);
        s.Pump();

        ASSERT_TRUE(d.IsIconic());
        RECT client;
        d.GetClientRect(&client);
        ASSERT_EQ(client.right - client.left, 0);
        ASSERT_EQ(GetSystemMetrics(SM_CXICON), 32);
        ASSERT_EQ(GetSystemMetrics(SM_CYICON), 32);

        d.SendMessage(WM_PAINT);
        ASSERT_EQ(g_iconErases.size(), 1u);
        ASSERT_EQ(DrawIconSpy::calls().size(), 1u);
        const DrawIconSpy::Call& call = DrawIconSpy::calls()[0];
        EXPECT_EQ(call.x, -15);
        EXPECT_EQ(call.y, -15);
        EXPECT_EQ(call.icon, d.m_hIcon);
        EXPECT_EQ(reinterpret_cast<HDC>(g_iconErases[0].first), call.dc)
            << "the background is erased on the painting's own device context";
        EXPECT_EQ(g_iconErases[0].second, 0);
        d.ShowWindow(SW_RESTORE);
        s.Pump();

        d.SendMessage(WM_PAINT);
        EXPECT_EQ(DrawIconSpy::calls().size(), 1u) << "no icon once restored";
        d.PostMessage(WM_COMMAND, IDCANCEL);
    });
    UnhookWindowsHookEx(hook);
    g_watched = nullptr;
}

}  // namespace
