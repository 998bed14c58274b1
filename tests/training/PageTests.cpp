// The training page as the main window creates it: template 103, the lines set by
// its initialisation, the slider, the answer box and the tooltip of "更换".
#include "TrainingTest.h"

#include <vector>

namespace {

// The words of a DLGTEMPLATEEX header we check, read from the program's resources.
struct TemplateHeader {
    DWORD style;
    short cx, cy;
    WORD pointSize;
    std::wstring typeface;
};

TemplateHeader ReadTemplate(int id)
{
    HRSRC res = FindResourceW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(id), MAKEINTRESOURCEW(5));
    const auto* p = static_cast<const WORD*>(LockResource(LoadResource(GetModuleHandleW(nullptr), res)));
    TemplateHeader h{};
    if (!p || p[1] != 0xFFFF)  // not an extended template
        return h;
    h.style = *reinterpret_cast<const DWORD*>(p + 6);
    h.cx = static_cast<short>(p[11]);
    h.cy = static_cast<short>(p[12]);
    const WORD* q = p + 13;
    for (int field = 0; field < 3; ++field) {  // menu, class, title
        if (*q == 0xFFFF)
            q += 2;
        else
            q += wcslen(reinterpret_cast<const wchar_t*>(q)) + 1;
    }
    h.pointSize = q[0];
    h.typeface = reinterpret_cast<const wchar_t*>(q + 3);  // after weight, italic+charset
    return h;
}

std::wstring ClassOf(HWND h)
{
    wchar_t cls[64] = {};
    GetClassNameW(h, cls, 64);
    return cls;
}

TEST(TrainingPage, TemplateIsAHiddenBorderedChildOf315By305Units)
{
    const TemplateHeader h = ReadTemplate(IDD_TRAINING);
    EXPECT_EQ(h.style & (WS_CHILD | WS_BORDER | WS_VISIBLE | WS_CAPTION | WS_POPUP),
              static_cast<DWORD>(WS_CHILD | WS_BORDER));
    EXPECT_EQ(h.cx, 315);
    EXPECT_EQ(h.cy, 305);
    EXPECT_EQ(h.pointSize, 8);
    EXPECT_EQ(h.typeface, L"MS Sans Serif");
}

TEST(TrainingPage, ControlsFollowTheLayoutInTemplateOrder)
{
    WritePracticeText(L"你好");
    MainWindowDriver::Run([](MainWindowDriver& s) {
        struct Expected {
            int id;
            const wchar_t* cls;  // nullptr: not checked (hosted controls)
            const wchar_t* text;
            RECT dlu;  // x, y, width, height
            bool visible;
        };
        const Expected layout[] = {
            {IDC_PLAYER, nullptr, nullptr, {4, 263, 189, 12}, false},
            {IDC_ANSWER, L"Edit", L"", {206, 239, 88, 14}, true},
            {IDC_START, L"Button", L"开始", {204, 124, 29, 14}, true},
            {IDCANCEL, L"Button", L"Cancel", {167, 81, 23, 13}, false},
            {IDC_FALLING, L"Static", L"", {85, 3, 37, 11}, true},
            {IDC_RICHTEXT, nullptr, nullptr, {23, 36, 105, 113}, false},
            {IDC_HINT, L"Static", L"请输入:", {206, 225, 92, 9}, true},
            {IDC_TOTAL, L"Static", L"总计次数:      0", {206, 17, 79, 13}, true},
            {IDC_HITS, L"Static", L"正确次数:      0", {206, 33, 79, 13}, true},
            {IDC_MISSES, L"Static", L"失败次数:      0", {206, 49, 79, 13}, true},
            {IDC_RATE, L"Static", L"正确率:        0", {206, 64, 102, 13}, true},
            {IDC_STATIC, L"Static", nullptr, {193, 3, 7, 291}, true},
            {IDC_SPEED, L"msctls_trackbar32", nullptr, {201, 175, 85, 18}, true},
            {IDC_HALT, L"Button", L"暂停", {236, 124, 27, 14}, true},
            {IDC_STATIC, L"Static", L"降落速度:", {205, 163, 38, 9}, true},
            {IDC_CHANGE, L"Button", L"更换", {266, 124, 28, 14}, true},
        };
        s.ClickTab(1);
        HWND child = GetWindow(s.PageWnd(), GW_CHILD);
        for (const Expected& e : layout) {
            ASSERT_TRUE(child) << "control " << e.id << " is missing";
            SCOPED_TRACE(testing::Message() << "control " << e.id);
            EXPECT_EQ(GetDlgCtrlID(child), e.id);
            if (e.cls) {
                EXPECT_EQ(ClassOf(child), e.cls);
            }
            if (e.text) {
                EXPECT_EQ(TextOf(child), e.text);
            }
            // The dialog manager converts position and size each on its own.
            RECT want = e.dlu;
            MapDialogRect(s.PageWnd(), &want);
            want.right += want.left;
            want.bottom += want.top;
            RECT got{};
            GetWindowRect(child, &got);
            MapWindowPoints(nullptr, s.PageWnd(), reinterpret_cast<POINT*>(&got), 2);
            // A bitmap static takes the size of its bitmap.
            if (e.id == IDC_STATIC && !e.text) {
                got.right = want.right;
                got.bottom = want.bottom;
            }
            EXPECT_TRUE(EqualRect(&want, &got)) << "at " << got.left << "," << got.top << " " << got.right - got.left
                                               << "x" << got.bottom - got.top << ", not " << want.left << ","
                                               << want.top << " " << want.right - want.left << "x"
                                               << want.bottom - want.top;
            EXPECT_EQ(IsWindowVisible(child) != FALSE, e.visible);
            child = GetWindow(child, GW_HWNDNEXT);
        }
        EXPECT_FALSE(child) << "more controls than the layout has";

        const auto style = [&](int id) { return GetWindowLongW(GetDlgItem(s.PageWnd(), id), GWL_STYLE); };
        EXPECT_EQ(style(IDC_ANSWER) & (WS_TABSTOP | ES_AUTOHSCROLL), WS_TABSTOP | ES_AUTOHSCROLL);
        // The dialog manager draws an edit's border as a client edge.
        EXPECT_TRUE((style(IDC_ANSWER) & WS_BORDER) ||
                    (GetWindowLongW(GetDlgItem(s.PageWnd(), IDC_ANSWER), GWL_EXSTYLE) & WS_EX_CLIENTEDGE));
        EXPECT_EQ(style(IDC_SPEED) & (TBS_VERT | TBS_NOTICKS | WS_TABSTOP), TBS_NOTICKS | WS_TABSTOP);
        EXPECT_TRUE(style(IDC_PLAYER) & WS_TABSTOP);
        EXPECT_TRUE(style(IDC_RICHTEXT) & WS_TABSTOP);
        // The divider is bitmap 132.
        HWND divider = GetWindow(GetDlgItem(s.PageWnd(), IDC_RATE), GW_HWNDNEXT);
        EXPECT_EQ(GetWindowLongW(divider, GWL_STYLE) & SS_TYPEMASK, SS_BITMAP);
        HBITMAP shown = reinterpret_cast<HBITMAP>(SendMessageW(divider, STM_GETIMAGE, IMAGE_BITMAP, 0));
        ASSERT_TRUE(shown);
        BITMAP bm{};
        GetObjectW(shown, sizeof bm, &bm);
        HBITMAP own = LoadBitmapW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDB_DIVIDER));
        BITMAP ownBm{};
        GetObjectW(own, sizeof ownBm, &ownBm);
        EXPECT_EQ(bm.bmWidth, ownBm.bmWidth);
        EXPECT_EQ(bm.bmHeight, ownBm.bmHeight);
        DeleteObject(own);
    });
}

TEST(TrainingPage, CreatedHiddenInsideTheTabControlAndShownByItsTab)
{
    WritePracticeText(L"你好");
    MainWindowDriver::Run([](MainWindowDriver& s) {
        HWND tab = GetDlgItem(s.Main().m_hWnd, IDC_TAB);
        EXPECT_EQ(GetParent(s.PageWnd()), tab);
        EXPECT_FALSE(IsWindowVisible(s.PageWnd()));
        s.ClickTab(1);
        EXPECT_TRUE(IsWindowVisible(s.PageWnd()));

        EXPECT_EQ(ReadLines(s), (StatLines{MissesLine(L"0"), TotalLine(L"0"), HitsLine(L"0"), RateLine(L"0")}));
        EXPECT_EQ(s.Text(IDC_HINT), kPrompt);
        EXPECT_EQ(s.Text(IDC_FALLING), L"");
        EXPECT_EQ(g_fHitRate, 100.0f);
        EXPECT_EQ(s.Page().m_nPeriod, 300);
        EXPECT_EQ(s.Page().m_nFallOffset, 0);
        EXPECT_EQ(s.SliderPos(), 1);
        EXPECT_EQ(SendDlgItemMessageW(s.PageWnd(), IDC_ANSWER, EM_GETLIMITTEXT, 0, 0), 10);
        EXPECT_TRUE(g_bReloadText) << "nothing is loaded before the first start";

        s.ClickTab(0);
        EXPECT_FALSE(IsWindowVisible(s.PageWnd()));
    });
    EXPECT_EQ(Boxes().Count(), 0u);
}

TEST(TrainingPage, AnswerBoxTakesTenCharacters)
{
    WritePracticeText(L"你好");
    MainWindowDriver::Run([](MainWindowDriver& s) {
        StartGame(s);
        s.Type(L"abcdefghijkl");
        EXPECT_EQ(s.Text(IDC_ANSWER), L"abcdefghij");
        s.PressEnter();
        EXPECT_EQ(g_nMisses, 1);
        EXPECT_EQ(Boxes().Count(), 0u) << "reading the answer back never fails its length check";
    });
}

// Esc runs the page's cancel, which hides it; the fall goes on meanwhile.
TEST(TrainingPage, EscHidesThePageAndItsTabShowsItAgain)
{
    WritePracticeText(L"你好");
    MainWindowDriver::Run([](MainWindowDriver& s) {
        StartGame(s);
        s.Tick(1, 3);
        PostKey(GetDlgItem(s.PageWnd(), IDC_ANSWER), VK_ESCAPE);
        s.Pump();
        EXPECT_FALSE(IsWindowVisible(s.PageWnd()));
        EXPECT_TRUE(IsWindow(s.Main().m_hWnd));
        EXPECT_TRUE(g_bRunning);
        s.Tick(1);
        EXPECT_EQ(s.Rect(IDC_FALLING).top, 10);
        s.ClickTab(1);
        EXPECT_TRUE(IsWindowVisible(s.PageWnd()));
        EXPECT_EQ(s.Text(IDC_FALLING), L"你");
    });
}

TEST(TrainingPage, ChangeButtonHasItsTipFedThroughThePagesPreTranslation)
{
    WritePracticeText(L"你好");
    MainWindowDriver::Run([](MainWindowDriver& s) {
        s.ClickTab(1);
        HWND tip = g_toolTip.m_hWnd;
        ASSERT_TRUE(IsWindow(tip));
        // Made with the page as parent; a popup belongs to the page's top-level window.
        EXPECT_EQ(GetWindow(tip, GW_OWNER), s.Main().m_hWnd);
        ASSERT_EQ(SendMessageW(tip, TTM_GETTOOLCOUNT, 0, 0), 1);

        HWND change = GetDlgItem(s.PageWnd(), IDC_CHANGE);
        wchar_t text[80] = {};
        TTTOOLINFOW ti{};
        ti.cbSize = sizeof ti;
        ti.lpszText = text;
        ASSERT_TRUE(SendMessageW(tip, TTM_ENUMTOOLSW, 0, reinterpret_cast<LPARAM>(&ti)));
        EXPECT_EQ(ti.uId, reinterpret_cast<UINT_PTR>(change));
        EXPECT_TRUE(ti.uFlags & TTF_IDISHWND);
        EXPECT_FALSE(ti.uFlags & TTF_SUBCLASS) << "the tip must learn of the mouse only through the relay";
        EXPECT_EQ(std::wstring(text), L"点击这里更新练习库");
        EXPECT_EQ(SendMessageW(tip, TTM_GETTIPTEXTCOLOR, 0, 0), 0);
        EXPECT_EQ(SendMessageW(tip, TTM_GETDELAYTIME, TTDT_INITIAL, 0), 150);

        // The mouse rests on the button: the relayed move shows the tip after its delay.
        RECT r{};
        GetWindowRect(change, &r);
        SetCursorPos((r.left + r.right) / 2, (r.top + r.bottom) / 2);
        POINT inside{(r.right - r.left) / 2, (r.bottom - r.top) / 2};
        EXPECT_FALSE(IsWindowVisible(tip));
        PostMessageW(change, WM_MOUSEMOVE, 0, MAKELPARAM(inside.x, inside.y));
        s.Pump();
        for (int i = 0; i < 40 && !IsWindowVisible(tip); ++i)
            s.Wait(50);
        EXPECT_TRUE(IsWindowVisible(tip)) << "the tip did not show";
        EXPECT_EQ(TextOf(tip), L"点击这里更新练习库");
    });
}

}  // namespace
