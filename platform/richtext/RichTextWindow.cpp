// The control keeps the text itself and answers WM_GETTEXT and WM_GETTEXTLENGTH
// from it exactly, whatever its length. It draws nothing: it is a hidden holder
// of a text.
#include "richtext/RichTextCtl.h"

#include "TextDecode.h"
#include "TextFile.h"
#include "hosting/ControlWindow.h"

#include <oleauto.h>

#include <algorithm>
#include <string>

namespace richtext {
namespace {

constexpr DISPID kLoadFile = 37;
constexpr long kPlainText = 1;

constexpr hosting::DispatchMember kMembers[] = {{kLoadFile, hosting::kMethod}};

std::u16string AnsiToUtf16(std::string_view bytes)
{
    if (bytes.empty())
        return {};
    const int n = MultiByteToWideChar(CP_ACP, 0, bytes.data(), int(bytes.size()), nullptr, 0);
    std::wstring wide(size_t(n), L'\0');
    MultiByteToWideChar(CP_ACP, 0, bytes.data(), int(bytes.size()), wide.data(), n);
    return std::u16string(wide.begin(), wide.end());
}

class RichTextWindow final : public hosting::ControlWindow {
public:
    void SetText(std::wstring text) { text_ = std::move(text); }

private:
    friend class hosting::ControlWindow;
    explicit RichTextWindow(HWND hwnd);

    LRESULT Handle(UINT msg, WPARAM wParam, LPARAM lParam) override
    {
        switch (msg) {
        case WM_SETTEXT:
            SetText(lParam ? reinterpret_cast<const wchar_t*>(lParam) : L"");
            return TRUE;
        case WM_GETTEXTLENGTH:
            return LRESULT(text_.size());
        case WM_GETTEXT: {
            if (wParam == 0 || !lParam)
                return 0;
            const size_t n = std::min(text_.size(), size_t(wParam) - 1);
            auto* buffer = reinterpret_cast<wchar_t*>(lParam);
            text_.copy(buffer, n);
            buffer[n] = L'\0';
            return LRESULT(n);
        }
        }
        return DefWindowProcW(hwnd_, msg, wParam, lParam);
    }

    std::wstring text_;
};

// LoadFile(path, type): type 1, plain text, is the only one there is.
class RichTextDispatch final : public hosting::ControlDispatch {
public:
    explicit RichTextDispatch(RichTextWindow* window) : ControlDispatch(kMembers), window_(window) {}

protected:
    HRESULT CallMethod(DISPID, std::span<const VARIANT> args, EXCEPINFO* excepInfo) override
    {
        if (args.size() != 2)
            return DISP_E_BADPARAMCOUNT;
        std::wstring file;
        long type = 0;
        if (!hosting::ArgAsString(args[0], file) || !hosting::ArgAsLong(args[1], type))
            return DISP_E_TYPEMISMATCH;
        if (type != kPlainText)
            return Fail(excepInfo, E_INVALIDARG,
                        L"无法载入文件“" + file + L"”：只能按纯文本（类型 1）载入，不支持类型 " +
                            std::to_wstring(type) + L"。");
        FileRead read = ReadTextFile(file);
        if (!read.ok)
            return Fail(excepInfo, read.error, read.message);
        const std::u16string text = DecodeText(read.bytes, AnsiToUtf16).text;
        window_->SetText(std::wstring(text.begin(), text.end()));
        return S_OK;
    }

private:
    RichTextWindow* window_;  // valid while connected
};

RichTextWindow::RichTextWindow(HWND hwnd) : ControlWindow(hwnd, new RichTextDispatch(this)) {}

}  // namespace

void RegisterWindowClass(HINSTANCE instance)
{
    hosting::ControlWindow::Register<RichTextWindow>(instance, kClassName, IDC_IBEAM,
                                                     reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1));
}

}  // namespace richtext
