// The program's resources as they are in the module: dialog templates compared with
// their layout tables, the About item's string, the icon's images, the version record.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <cwchar>
#include <iterator>
#include <ostream>
#include <string>
#include <vector>

#include "DialogTemplate.h"
#include "resources/resource.h"

namespace {

const WORD kChinesePrc = MAKELANGID(LANG_CHINESE, SUBLANG_CHINESE_SIMPLIFIED);
const std::wstring kProductName = L"粤语拼音学习";

HMODULE Module()
{
    return GetModuleHandleW(nullptr);
}

struct ItemRow {
    int id;
    const wchar_t* className;
    const wchar_t* text;     // nullptr: the text is checked elsewhere (the product's own)
    int textOrdinal;         // -1: a text, not a resource ordinal
    short x, y, cx, cy;
    DWORD style;
};

constexpr DWORD kChild = WS_CHILD;
constexpr DWORD kShown = WS_CHILD | WS_VISIBLE;
constexpr DWORD kLabel = kShown | WS_GROUP | SS_LEFT;

const ItemRow kMainWindowItems[] = {
    {IDC_PLAYER, L"MediaPlayerCtl", L"", -1, 4, 20, 310, 272, kChild | WS_TABSTOP},
    {IDC_LOOKUP, L"Button", L"查词(&S)", -1, 11, 262, 44, 24, kShown | WS_TABSTOP | BS_PUSHBUTTON},
    {IDC_PAUSE, L"Button", L"暂停(&P)", -1, 65, 262, 41, 24, kShown | WS_TABSTOP | BS_PUSHBUTTON},
    {IDC_STOP, L"Button", L"停止(&R)", -1, 117, 262, 41, 24, kShown | WS_TABSTOP | BS_PUSHBUTTON},
    {IDC_STATIC, L"Static", L"音标:", -1, 237, 268, 22, 10, kLabel},
    {IDC_PHONETIC, L"Static", L"123", -1, 260, 268, 29, 13, kLabel | SS_NOTIFY},
    {IDOK, L"Button", L"验证", -1, 198, 207, 50, 14, kChild | WS_TABSTOP | BS_DEFPUSHBUTTON},
    {IDC_TEXT, L"Edit", L"", -1, 10, 18, 298, 236,
     kShown | ES_MULTILINE | ES_WANTRETURN | WS_VSCROLL | WS_BORDER | WS_TABSTOP},
    {IDC_BUTTON3, L"Button", L"Button3", -1, 200, 128, 64, 53, kChild | WS_TABSTOP | BS_PUSHBUTTON},
    {IDCANCEL, L"Button", L"取消", -1, 195, 3, 50, 14, kChild | WS_TABSTOP | BS_PUSHBUTTON},
    {IDC_TAB, L"SysTabControl32", L"Tab3", -1, 4, 3, 312, 290, kShown},
    {IDC_BROWSER, L"WebBrowserCtl", L"", -1, 147, 9, 6, 6, kShown | WS_TABSTOP},
};

const ItemRow kAboutItems[] = {
    {IDC_STATIC, L"Static", L"", IDR_MAINFRAME, 11, 17, 20, 20, kShown | SS_ICON},
    {IDC_STATIC, L"Static", nullptr, -1, 37, 24, 119, 8, kLabel | SS_NOPREFIX},
    {IDC_STATIC, L"Static", nullptr, -1, 38, 35, 136, 57, kLabel},
    {IDOK, L"Button", L"确定", -1, 170, 77, 50, 14, kShown | BS_DEFPUSHBUTTON | WS_TABSTOP | WS_GROUP},
};

const ItemRow kTrainingItems[] = {
    {IDC_PLAYER, L"MediaPlayerCtl", L"", -1, 4, 263, 189, 12, kChild | WS_TABSTOP},
    {IDC_ANSWER, L"Edit", L"", -1, 206, 239, 88, 14, kShown | WS_BORDER | WS_TABSTOP | ES_AUTOHSCROLL},
    {IDC_START, L"Button", L"开始", -1, 204, 124, 29, 14, kShown | WS_TABSTOP | BS_PUSHBUTTON},
    {IDCANCEL, L"Button", L"Cancel", -1, 167, 81, 23, 13, kChild | WS_TABSTOP | BS_PUSHBUTTON},
    {IDC_FALLING, L"Static", L"Static", -1, 85, 3, 37, 11, kLabel},
    {IDC_RICHTEXT, L"RichTextCtl", L"", -1, 23, 36, 105, 113, kChild | WS_TABSTOP},
    {IDC_HINT, L"Static", L"请输入:", -1, 206, 225, 92, 9, kLabel},
    {IDC_TOTAL, L"Static", L"总计次数:", -1, 206, 17, 79, 13, kLabel},
    {IDC_HITS, L"Static", L"正确次数:", -1, 206, 33, 79, 13, kLabel},
    {IDC_MISSES, L"Static", L"失败次数:", -1, 206, 49, 79, 13, kLabel},
    {IDC_RATE, L"Static", L"正确率:", -1, 206, 64, 102, 13, kLabel},
    {IDC_STATIC, L"Static", L"", IDB_DIVIDER, 193, 3, 7, 291, kShown | SS_BITMAP},
    {IDC_SPEED, L"msctls_trackbar32", L"Slider1", -1, 201, 175, 85, 18,
     kShown | WS_TABSTOP | TBS_HORZ | TBS_NOTICKS},
    {IDC_HALT, L"Button", L"暂停", -1, 236, 124, 27, 14, kShown | WS_TABSTOP | BS_PUSHBUTTON},
    {IDC_STATIC, L"Static", L"降落速度:", -1, 205, 163, 38, 9, kLabel},
    {IDC_CHANGE, L"Button", L"更换", -1, 266, 124, 28, 14, kShown | WS_TABSTOP | BS_PUSHBUTTON},
};

struct DialogRow {
    int id;
    DWORD style;
    DWORD exStyle;
    short cx, cy;
    int pointSize;
    const wchar_t* fontFace;
    const ItemRow* items;
    size_t itemCount;
};

const DialogRow kDialogs[] = {
    {IDD_PRONOUNCE_DIALOG,
     DS_MODALFRAME | DS_SETFONT | WS_POPUP | WS_VISIBLE | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX,
     WS_EX_APPWINDOW, 321, 299, 9, L"宋体", kMainWindowItems, std::size(kMainWindowItems)},
    {IDD_ABOUTBOX, DS_MODALFRAME | DS_SETFONT | WS_POPUP | WS_CAPTION | WS_SYSMENU, 0, 235, 105, 9,
     L"宋体", kAboutItems, std::size(kAboutItems)},
    {IDD_TRAINING, DS_SETFONT | WS_CHILD | WS_BORDER, 0, 315, 305, 8, L"MS Sans Serif",
     kTrainingItems, std::size(kTrainingItems)},
};

void PrintTo(const DialogRow& row, std::ostream* os)
{
    *os << "dialog " << row.id;
}

class DialogTemplates : public testing::TestWithParam<DialogRow> {};

TEST_P(DialogTemplates, MatchTheLayoutTable)
{
    const DialogRow& want = GetParam();
    DialogTemplate t = LoadDialogTemplate(Module(), want.id, kChinesePrc);
    ASSERT_TRUE(t.found) << "dialog " << want.id << " in Chinese (PRC)";
    ASSERT_TRUE(t.extended) << "dialog " << want.id << " is a DIALOGEX";
    EXPECT_EQ(t.style, want.style) << std::hex << t.style;
    EXPECT_EQ(t.exStyle, want.exStyle);
    EXPECT_EQ(t.x, 0);
    EXPECT_EQ(t.y, 0);
    EXPECT_EQ(t.cx, want.cx);
    EXPECT_EQ(t.cy, want.cy);
    EXPECT_EQ(t.pointSize, want.pointSize);
    EXPECT_EQ(t.fontFace, want.fontFace);
    ASSERT_EQ(t.items.size(), want.itemCount);
    for (size_t i = 0; i < want.itemCount; ++i) {
        const ItemRow& w = want.items[i];
        const DialogItem& got = t.items[i];
        SCOPED_TRACE("dialog " + std::to_string(want.id) + ", item " + std::to_string(i) +
                     " (id " + std::to_string(w.id) + ")");
        EXPECT_EQ(got.id, w.id);
        // windres writes the class names of CONTROL entries in upper case; window classes
        // are found without regard to case.
        EXPECT_EQ(_wcsicmp(got.className.c_str(), w.className), 0)
            << "class " << testing::PrintToString(got.className);
        if (w.text) {
            EXPECT_EQ(got.text, w.text);
        }
        EXPECT_EQ(got.textOrdinal, w.textOrdinal);
        EXPECT_EQ(got.x, w.x);
        EXPECT_EQ(got.y, w.y);
        EXPECT_EQ(got.cx, w.cx);
        EXPECT_EQ(got.cy, w.cy);
        EXPECT_EQ(got.style, w.style) << std::hex << "got 0x" << got.style << ", want 0x" << w.style;
        EXPECT_EQ(got.exStyle, 0u);
    }
}

INSTANTIATE_TEST_SUITE_P(AppResources, DialogTemplates, testing::ValuesIn(kDialogs),
                         [](const testing::TestParamInfo<DialogRow>& info) {
                             return "Dialog" + std::to_string(info.param.id);
                         });

TEST(AppResources, MainWindowAndAboutBoxNameTheProduct)
{
    DialogTemplate main = LoadDialogTemplate(Module(), IDD_PRONOUNCE_DIALOG, kChinesePrc);
    EXPECT_EQ(main.title, kProductName);

    DialogTemplate about = LoadDialogTemplate(Module(), IDD_ABOUTBOX, kChinesePrc);
    ASSERT_EQ(about.items.size(), 4u);
    EXPECT_NE(about.title.find(L"关于"), std::wstring::npos);
    EXPECT_NE(about.title.find(kProductName), std::wstring::npos);
    const std::wstring& nameLine = about.items[1].text;
    EXPECT_EQ(nameLine.find(kProductName), 0u);
    EXPECT_NE(nameLine.find(L"1.0"), std::wstring::npos);
    const std::wstring& credits = about.items[2].text;
    EXPECT_NE(credits.find(L"作者"), std::wstring::npos);
    EXPECT_NE(credits.find(L"电话"), std::wstring::npos);
    EXPECT_NE(credits.find(L"www.lorvane.cn"), std::wstring::npos);
    EXPECT_NE(credits.find(L"免费软件"), std::wstring::npos);
}

TEST(AppResources, AboutItemStringHasMnemonicAndEllipsis)
{
    wchar_t text[128] = {};
    ASSERT_GT(LoadStringW(Module(), IDS_ABOUTBOX, text, 128), 0);
    std::wstring s = text;
    EXPECT_EQ(s, L"关于粤语拼音学习(&A)...");
    EXPECT_NE(s.find(L"&A"), std::wstring::npos);
    EXPECT_EQ(s.substr(s.size() - 3), L"...");
}

TEST(AppResources, IconHasImagesFrom16To128)
{
    HRSRC res = FindResourceExW(Module(), MAKEINTRESOURCEW(14) /* RT_GROUP_ICON */,
                                MAKEINTRESOURCEW(IDR_MAINFRAME), kChinesePrc);
    ASSERT_NE(res, nullptr);
    auto dir = static_cast<const BYTE*>(LockResource(LoadResource(Module(), res)));
    WORD count;
    memcpy(&count, dir + 4, 2);
    std::vector<int> sizes;
    for (WORD i = 0; i < count; ++i) {
        const BYTE* entry = dir + 6 + 14 * i;  // GRPICONDIRENTRY
        sizes.push_back(entry[0] ? entry[0] : 256);
        EXPECT_EQ(entry[0], entry[1]) << "square images";
    }
    EXPECT_EQ(sizes, (std::vector<int>{16, 24, 32, 48, 64, 128}));

    // Each size loads as an icon of exactly that size.
    for (int size : sizes) {
        HICON icon = static_cast<HICON>(
            LoadImageW(Module(), MAKEINTRESOURCEW(IDR_MAINFRAME), IMAGE_ICON, size, size, 0));
        ASSERT_NE(icon, nullptr) << size;
        ICONINFO info{};
        ASSERT_TRUE(GetIconInfo(icon, &info));
        BITMAP bm{};
        GetObjectW(info.hbmColor ? info.hbmColor : info.hbmMask, sizeof bm, &bm);
        EXPECT_EQ(bm.bmWidth, size);
        if (info.hbmColor)
            DeleteObject(info.hbmColor);
        DeleteObject(info.hbmMask);
        DestroyIcon(icon);
    }
}

TEST(AppResources, DividerBitmapIsATallBar)
{
    HBITMAP bmp = static_cast<HBITMAP>(
        LoadImageW(Module(), MAKEINTRESOURCEW(IDB_DIVIDER), IMAGE_BITMAP, 0, 0, 0));
    ASSERT_NE(bmp, nullptr);
    BITMAP bm{};
    GetObjectW(bmp, sizeof bm, &bm);
    EXPECT_GT(bm.bmHeight, 20 * bm.bmWidth);
    DeleteObject(bmp);
}

std::wstring VersionString(const std::vector<BYTE>& block, const wchar_t* name)
{
    std::wstring path = std::wstring(L"\\StringFileInfo\\080404b0\\") + name;
    wchar_t* value = nullptr;
    UINT len = 0;
    if (!VerQueryValueW(block.data(), path.c_str(), reinterpret_cast<void**>(&value), &len) || !value)
        return {};
    return value;
}

TEST(AppResources, VersionRecordIsChineseWithTheProductsTexts)
{
    wchar_t path[MAX_PATH];
    GetModuleFileNameW(Module(), path, MAX_PATH);
    DWORD size = GetFileVersionInfoSizeW(path, nullptr);
    ASSERT_GT(size, 0u);
    std::vector<BYTE> block(size);
    ASSERT_TRUE(GetFileVersionInfoW(path, 0, size, block.data()));

    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT len = 0;
    ASSERT_TRUE(VerQueryValueW(block.data(), L"\\", reinterpret_cast<void**>(&fixed), &len));
    EXPECT_EQ(fixed->dwFileVersionMS, MAKELONG(0, 1));  // 1.0
    EXPECT_EQ(fixed->dwFileVersionLS, MAKELONG(1, 0));  // .0.1

    WORD* translation = nullptr;
    ASSERT_TRUE(VerQueryValueW(block.data(), L"\\VarFileInfo\\Translation",
                               reinterpret_cast<void**>(&translation), &len));
    ASSERT_GE(len, 4u);
    EXPECT_EQ(translation[0], kChinesePrc);
    EXPECT_EQ(translation[1], 1200);  // Unicode

    EXPECT_EQ(VersionString(block, L"FileVersion"), L"1.0.0.1");
    EXPECT_EQ(VersionString(block, L"ProductName"), kProductName);
    EXPECT_EQ(VersionString(block, L"FileDescription"), kProductName);
    EXPECT_EQ(VersionString(block, L"OriginalFilename"), L"Lorvane.exe");
    EXPECT_FALSE(VersionString(block, L"CompanyName").empty());
    EXPECT_NE(VersionString(block, L"LegalCopyright").find(L"版权所有"), std::wstring::npos);
}

BOOL CALLBACK CollectLanguage(HMODULE, LPCWSTR, LPCWSTR, WORD language, LONG_PTR param)
{
    reinterpret_cast<std::vector<WORD>*>(param)->push_back(language);
    return TRUE;
}

BOOL CALLBACK CollectName(HMODULE module, LPCWSTR type, LPWSTR name, LONG_PTR param)
{
    EnumResourceLanguagesW(module, type, name, CollectLanguage, param);
    return TRUE;
}

TEST(AppResources, EveryResourceIsInChinesePrc)
{
    const int kTypes[] = {2 /* bitmap */, 3 /* icon */, 5 /* dialog */, 6 /* string */,
                          14 /* group icon */, 16 /* version */};
    for (int type : kTypes) {
        std::vector<WORD> languages;
        EnumResourceNamesW(Module(), MAKEINTRESOURCEW(type), CollectName,
                           reinterpret_cast<LONG_PTR>(&languages));
        EXPECT_FALSE(languages.empty()) << "type " << type;
        for (WORD language : languages)
            EXPECT_EQ(language, kChinesePrc) << "type " << type;
    }
}

}  // namespace
