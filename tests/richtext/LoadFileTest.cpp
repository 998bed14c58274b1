// LoadFile on a real control window: the file's text becomes the window text.
#include "hosting/HostedControl.h"
#include "richtext/RichTextCtl.h"

#include <gtest/gtest.h>

#include <string>

namespace {

constexpr DISPID kLoadFile = 37;

std::wstring TempDir()
{
    static const std::wstring dir = [] {
        wchar_t base[MAX_PATH];
        GetTempPathW(MAX_PATH, base);
        std::wstring d = std::wstring(base) + L"richtext-test-" + std::to_wstring(GetCurrentProcessId()) + L"\\";
        CreateDirectoryW(d.c_str(), nullptr);
        return d;
    }();
    return dir;
}

std::wstring Write(const std::wstring& name, const std::string& bytes)
{
    const std::wstring path = TempDir() + name;
    HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    DWORD written = 0;
    WriteFile(file, bytes.data(), DWORD(bytes.size()), &written, nullptr);
    CloseHandle(file);
    return path;
}

VARIANT Type(VARTYPE vt, int value)
{
    VARIANT v;
    VariantInit(&v);
    v.vt = vt;
    if (vt == VT_UI1)
        v.bVal = BYTE(value);
    else if (vt == VT_I2)
        v.iVal = SHORT(value);
    else
        v.lVal = value;
    return v;
}

class RichTextControl : public ::testing::Test {
protected:
    void SetUp() override
    {
        richtext::RegisterWindowClass(GetModuleHandleW(nullptr));
        richtext::RegisterWindowClass(GetModuleHandleW(nullptr));  // a second call does no harm
        // Hidden, as the training page has it.
        window_ = CreateWindowExW(0, richtext::kClassName, L"", WS_POPUP, 0, 0, 200, 100, nullptr, nullptr,
                                  GetModuleHandleW(nullptr), nullptr);
        ASSERT_NE(window_, nullptr);
        dispatch_ = hosting::QueryDispatch(window_);
        ASSERT_NE(dispatch_, nullptr);
    }

    void TearDown() override
    {
        if (dispatch_)
            dispatch_->Release();
        DestroyWindow(window_);
    }

    // LoadFile(path, type) the way a host calls it; `type` null leaves it out.
    HRESULT Load(const std::wstring& path, const VARIANT* type = nullptr, std::wstring* description = nullptr)
    {
        VARIANT args[2];  // last argument first
        VariantInit(&args[1]);
        args[1].vt = VT_BSTR;
        args[1].bstrVal = SysAllocStringLen(path.data(), UINT(path.size()));
        if (type)
            args[0] = *type;
        DISPPARAMS params{type ? args : &args[1], nullptr, type ? 2u : 1u, 0};
        EXCEPINFO info{};
        const HRESULT hr =
            dispatch_->Invoke(kLoadFile, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_METHOD, &params, nullptr, &info,
                              nullptr);
        VariantClear(&args[1]);
        if (description)
            *description = info.bstrDescription ? info.bstrDescription : L"";
        SysFreeString(info.bstrDescription);
        return hr;
    }

    HRESULT LoadText(const std::wstring& path, std::wstring* description = nullptr)
    {
        const VARIANT plain = Type(VT_UI1, 1);
        return Load(path, &plain, description);
    }

    std::wstring WindowText() const
    {
        const int n = GetWindowTextLengthW(window_);
        std::wstring text(size_t(n) + 1, L'\0');
        text.resize(size_t(GetWindowTextW(window_, text.data(), n + 1)));
        return text;
    }

    HWND window_ = nullptr;
    IDispatch* dispatch_ = nullptr;
};

const std::wstring kText = L"你好，世界\r\n粤语 ABC\n第三行\r\n";

TEST_F(RichTextControl, LoadsEveryEncodingAsTheSameText)
{
    ASSERT_EQ(GetACP(), 936u) << "run under LC_ALL=zh_CN.UTF-8";
    const std::string utf8 =
        "\xE4\xBD\xA0\xE5\xA5\xBD\xEF\xBC\x8C\xE4\xB8\x96\xE7\x95\x8C\r\n\xE7\xB2\xA4\xE8\xAF\xAD ABC\n"
        "\xE7\xAC\xAC\xE4\xB8\x89\xE8\xA1\x8C\r\n";
    std::string le = "\xFF\xFE", be = "\xFE\xFF";
    for (wchar_t c : kText) {
        le += {char(c & 0xFF), char(c >> 8)};
        be += {char(c >> 8), char(c & 0xFF)};
    }
    const std::string gbk = "\xC4\xE3\xBA\xC3\xA3\xAC\xCA\xC0\xBD\xE7\r\n\xD4\xC1\xD3\xEF ABC\n\xB5\xDA\xC8\xFD\xD0\xD0\r\n";
    const struct {
        const wchar_t* name;
        std::string bytes;
    } files[] = {
        {L"utf16le.txt", le}, {L"utf16be.txt", be}, {L"utf8bom.txt", "\xEF\xBB\xBF" + utf8},
        {L"utf8.txt", utf8},  {L"gbk.txt", gbk},
    };
    for (const auto& f : files) {
        SCOPED_TRACE(testing::Message() << f.bytes.size() << " bytes");
        SetWindowTextW(window_, L"before");
        ASSERT_EQ(LoadText(Write(f.name, f.bytes)), S_OK);
        EXPECT_EQ(WindowText(), kText);  // CR LF stays two characters, the lone LF one
        EXPECT_EQ(GetWindowTextLengthW(window_), int(kText.size()));
    }
}

TEST_F(RichTextControl, NewFileReplacesTheOldText)
{
    ASSERT_EQ(LoadText(Write(L"long.txt", std::string(5000, 'x'))), S_OK);
    ASSERT_EQ(LoadText(Write(L"short.txt", "ab")), S_OK);
    EXPECT_EQ(WindowText(), L"ab");
    ASSERT_EQ(LoadText(Write(L"empty.txt", "")), S_OK);
    EXPECT_EQ(WindowText(), L"");
}

TEST_F(RichTextControl, FileTypeMayComeAsAnyIntegerButOnlyPlainTextLoads)
{
    const std::wstring path = Write(L"types.txt", "abc");
    for (VARIANT type : {Type(VT_UI1, 1), Type(VT_I2, 1), Type(VT_I4, 1)}) {
        SetWindowTextW(window_, L"");
        EXPECT_EQ(Load(path, &type), S_OK);
        EXPECT_EQ(WindowText(), L"abc");
    }

    std::wstring description;
    const VARIANT rtf = Type(VT_I2, 0);
    EXPECT_EQ(Load(path, &rtf, &description), DISP_E_EXCEPTION);
    EXPECT_NE(description.find(path), std::wstring::npos);
}

TEST_F(RichTextControl, FilesThatCannotBeLoadedAreExplainedAndChangeNothing)
{
    const std::wstring folder = TempDir() + L"a folder";
    CreateDirectoryW(folder.c_str(), nullptr);
    const std::wstring locked = Write(L"locked.txt", "secret");
    HANDLE exclusive = CreateFileW(locked.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(exclusive, INVALID_HANDLE_VALUE);
    const struct {
        std::wstring path;
        const wchar_t* reason;
    } cases[] = {
        {TempDir() + L"missing.txt", L"不存在"},
        {L"C:\\no such folder\\xunlian.txt", L"不存在"},
        {folder, L"文件夹"},
        {locked, L"独占"},
        {Write(L"big.txt", std::string((16u << 20) + 1, 'a')), L"太大"},
    };
    ASSERT_EQ(LoadText(Write(L"kept.txt", "kept")), S_OK);
    for (const auto& c : cases) {
        std::wstring description;
        EXPECT_EQ(LoadText(c.path, &description), DISP_E_EXCEPTION);
        EXPECT_NE(description.find(L"“" + c.path + L"”"), std::wstring::npos) << c.reason;
        EXPECT_NE(description.find(c.reason), std::wstring::npos) << c.reason;
        EXPECT_EQ(WindowText(), L"kept");
    }
    CloseHandle(exclusive);
    // At the limit it still loads.
    EXPECT_EQ(LoadText(Write(L"big.txt", std::string(16u << 20, 'a'))), S_OK);
    EXPECT_EQ(GetWindowTextLengthW(window_), 16 << 20);
}

TEST_F(RichTextControl, FileOpenInAnEditorStillLoads)
{
    const std::wstring path = Write(L"editing.txt", "draft");
    // An editor holding the file open for writing, sharing it for reading.
    HANDLE editor = CreateFileW(path.c_str(), GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                0, nullptr);
    ASSERT_NE(editor, INVALID_HANDLE_VALUE);
    EXPECT_EQ(LoadText(path), S_OK);
    EXPECT_EQ(WindowText(), L"draft");
    CloseHandle(editor);
}

TEST_F(RichTextControl, WindowTextAnswersLikeAnyWindow)
{
    ASSERT_EQ(LoadText(Write(L"text.txt", "0123456789")), S_OK);
    wchar_t small[5];
    EXPECT_EQ(SendMessageW(window_, WM_GETTEXT, 5, reinterpret_cast<LPARAM>(small)), 4);
    EXPECT_STREQ(small, L"0123");
    EXPECT_EQ(SendMessageW(window_, WM_GETTEXTLENGTH, 0, 0), 10);
}

TEST_F(RichTextControl, WrongCallsAreRefused)
{
    const std::wstring path = Write(L"untouched.txt", "abc");
    EXPECT_EQ(Load(path), DISP_E_BADPARAMCOUNT);  // the type may not be left out
    DISPPARAMS none{};
    EXPECT_EQ(dispatch_->Invoke(kLoadFile, IID_NULL, 0, DISPATCH_METHOD, &none, nullptr, nullptr, nullptr),
              DISP_E_BADPARAMCOUNT);
    EXPECT_EQ(dispatch_->Invoke(38, IID_NULL, 0, DISPATCH_METHOD, &none, nullptr, nullptr, nullptr),
              DISP_E_MEMBERNOTFOUND);
    EXPECT_EQ(dispatch_->Invoke(kLoadFile, IID_NULL, 0, DISPATCH_PROPERTYGET, &none, nullptr, nullptr, nullptr),
              DISP_E_MEMBERNOTFOUND);

    // A type that is no number is refused.
    VARIANT args[2];
    args[0].vt = VT_BSTR;
    args[0].bstrVal = SysAllocString(L"plain");
    args[1].vt = VT_BSTR;
    args[1].bstrVal = SysAllocString(L"x.txt");
    DISPPARAMS params{args, nullptr, 2, 0};
    EXPECT_EQ(dispatch_->Invoke(kLoadFile, IID_NULL, 0, DISPATCH_METHOD, &params, nullptr, nullptr, nullptr),
              DISP_E_TYPEMISMATCH);
    EXPECT_EQ(WindowText(), L"");
    VariantClear(&args[0]);
    VariantClear(&args[1]);
}

}  // namespace
