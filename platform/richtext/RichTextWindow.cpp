// The control window keeps the text itself and answers WM_GETTEXT and
// WM_GETTEXTLENGTH from it exactly. A read-only edit box shows it, filled only
// while the control is visible: an edit box lays out its whole text at once,
// which takes minutes for a text of megabytes, and a hidden control (the usual
// case) need not pay for that.
#include "richtext/RichTextCtl.h"

#include "TextDecode.h"
#include "TextFile.h"
#include "hosted/ControlDispatch.h"
#include "hosted_control.h"

#include <olectl.h>
#include <oleauto.h>

#include <algorithm>
#include <string>

namespace richtext {
namespace {

constexpr DISPID kLoadFile = 37;
constexpr long kPlainText = 1;
constexpr int kViewId = 1;
constexpr size_t kMaxShown = 256 * 1024;  // characters the edit box shows at most

constexpr hosted::DispatchMember kMembers[] = {
    {L"LoadFile", kLoadFile, hosted::kMethod},
    {L"Text", DISPID_TEXT, hosted::kGet | hosted::kPut},
};

std::u16string AnsiToUtf16(std::string_view bytes)
{
    if (bytes.empty())
        return {};
    const int n = MultiByteToWideChar(CP_ACP, 0, bytes.data(), int(bytes.size()), nullptr, 0);
    std::wstring wide(size_t(n), L'\0');
    MultiByteToWideChar(CP_ACP, 0, bytes.data(), int(bytes.size()), wide.data(), n);
    return std::u16string(wide.begin(), wide.end());
}

// The edit box wants CR LF; the text itself keeps the file's line breaks.
std::wstring ForDisplay(const std::wstring& text)
{
    std::wstring shown;
    const size_t end = std::min(text.size(), kMaxShown);
    shown.reserve(end + end / 16);
    for (size_t i = 0; i < end; ++i) {
        const wchar_t c = text[i];
        if (c == L'\r' && i + 1 < end && text[i + 1] == L'\n') {
            shown += L"\r\n";
            ++i;
        } else if (c == L'\r' || c == L'\n') {
            shown += L"\r\n";
        } else {
            shown += c;
        }
    }
    return shown;
}

class RichTextWindow;

class RichTextDispatch final : public hosted::ControlDispatch {
public:
    explicit RichTextDispatch(RichTextWindow* window) : ControlDispatch(L"RichTextCtl", kMembers), window_(window) {}

protected:
    HRESULT GetProperty(DISPID id, VARIANT* result, EXCEPINFO* excepInfo) override;
    HRESULT PutProperty(DISPID id, const VARIANT& value, EXCEPINFO* excepInfo) override;
    HRESULT CallMethod(DISPID id, std::span<const VARIANT> args, VARIANT* result, EXCEPINFO* excepInfo,
                       UINT* argErr) override;

private:
    RichTextWindow* window_;
};

class RichTextWindow {
public:
    static LRESULT CALLBACK Proc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
    {
        auto* self = reinterpret_cast<RichTextWindow*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
        if (msg == WM_NCCREATE) {
            self = new RichTextWindow(hwnd);
            SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
        }
        if (!self)
            return DefWindowProcW(hwnd, msg, wParam, lParam);
        if (msg == WM_NCDESTROY) {
            SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
            delete self;
            return DefWindowProcW(hwnd, msg, wParam, lParam);
        }
        return self->Handle(msg, wParam, lParam);
    }

    const std::wstring& Text() const { return text_; }

    void SetText(std::wstring text)
    {
        text_ = std::move(text);
        viewCurrent_ = false;
        UpdateView();
    }

private:
    explicit RichTextWindow(HWND hwnd) : hwnd_(hwnd), dispatch_(new RichTextDispatch(this)) {}

    ~RichTextWindow()
    {
        dispatch_->Disconnect();
        dispatch_->Release();
    }

    // The edit box that shows the text is made when the control is first shown: a
    // control that only holds text (as the training page's does) never needs one.
    void UpdateView()
    {
        if (viewCurrent_ || !(GetWindowLongPtrW(hwnd_, GWL_STYLE) & WS_VISIBLE))
            return;
        if (!view_) {
            RECT client;
            GetClientRect(hwnd_, &client);
            view_ = CreateWindowExW(0, L"EDIT", L"",
                                    WS_CHILD | WS_VISIBLE | WS_VSCROLL | ES_MULTILINE | ES_READONLY | ES_AUTOVSCROLL,
                                    0, 0, client.right, client.bottom, hwnd_, reinterpret_cast<HMENU>(INT_PTR(kViewId)),
                                    reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(hwnd_, GWLP_HINSTANCE)), nullptr);
            if (!view_)
                return;
            SendMessageW(view_, EM_SETLIMITTEXT, 0, 0);  // no limit beyond memory
            SendMessageW(view_, WM_SETFONT, WPARAM(font_), FALSE);
        }
        SetWindowTextW(view_, ForDisplay(text_).c_str());
        viewCurrent_ = true;
    }

    LRESULT Handle(UINT msg, WPARAM wParam, LPARAM lParam)
    {
        if (msg == hosting::GetDispatchMessageId()) {
            dispatch_->AddRef();
            return reinterpret_cast<LRESULT>(static_cast<IDispatch*>(dispatch_));
        }
        switch (msg) {
        case WM_CREATE: {
            const auto* cs = reinterpret_cast<const CREATESTRUCTW*>(lParam);
            if (cs->lpszName && !IS_INTRESOURCE(cs->lpszName))
                SetText(cs->lpszName);
            return 0;
        }
        case WM_WINDOWPOSCHANGED:
            // Showing ends here, with WS_VISIBLE already set (WM_SHOWWINDOW comes before).
            if (reinterpret_cast<const WINDOWPOS*>(lParam)->flags & SWP_SHOWWINDOW)
                UpdateView();
            break;
        case WM_STYLECHANGED:
            UpdateView();
            break;
        case WM_SIZE:
            if (view_)
                MoveWindow(view_, 0, 0, LOWORD(lParam), HIWORD(lParam), TRUE);
            return 0;
        case WM_SETFONT:
            font_ = reinterpret_cast<HFONT>(wParam);
            if (view_)
                SendMessageW(view_, WM_SETFONT, wParam, lParam);
            return 0;
        case WM_GETFONT:
            return reinterpret_cast<LRESULT>(font_);
        case WM_SETFOCUS:
            if (view_)
                SetFocus(view_);
            return 0;
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

    HWND hwnd_;
    HWND view_ = nullptr;
    HFONT font_ = static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
    RichTextDispatch* dispatch_;
    std::wstring text_;
    bool viewCurrent_ = true;  // the edit box shows text_
};

HRESULT RichTextDispatch::GetProperty(DISPID id, VARIANT* result, EXCEPINFO*)
{
    if (id != DISPID_TEXT)
        return DISP_E_MEMBERNOTFOUND;
    const std::wstring& text = window_->Text();
    result->vt = VT_BSTR;
    result->bstrVal = SysAllocStringLen(text.data(), UINT(text.size()));
    return result->bstrVal ? S_OK : E_OUTOFMEMORY;
}

HRESULT RichTextDispatch::PutProperty(DISPID id, const VARIANT& value, EXCEPINFO*)
{
    if (id != DISPID_TEXT)
        return DISP_E_MEMBERNOTFOUND;
    VARIANT text;
    VariantInit(&text);
    if (FAILED(hosted::CoerceArg(value, VT_BSTR, &text)))
        return DISP_E_TYPEMISMATCH;
    window_->SetText(std::wstring(text.bstrVal ? text.bstrVal : L"", SysStringLen(text.bstrVal)));
    VariantClear(&text);
    return S_OK;
}

HRESULT RichTextDispatch::CallMethod(DISPID id, std::span<const VARIANT> args, VARIANT*, EXCEPINFO* excepInfo,
                                     UINT* argErr)
{
    if (id != kLoadFile)
        return DISP_E_MEMBERNOTFOUND;
    if (args.empty())
        return DISP_E_PARAMNOTOPTIONAL;
    if (args.size() > 2)
        return DISP_E_BADPARAMCOUNT;

    VARIANT path;
    VariantInit(&path);
    if (FAILED(hosted::CoerceArg(args[0], VT_BSTR, &path))) {
        *argErr = 0;
        return DISP_E_TYPEMISMATCH;
    }
    const std::wstring file(path.bstrVal ? path.bstrVal : L"", SysStringLen(path.bstrVal));
    VariantClear(&path);

    // An omitted type arrives as VT_ERROR / DISP_E_PARAMNOTFOUND: plain text too.
    long type = kPlainText;
    if (args.size() == 2 && !(args[1].vt == VT_ERROR && args[1].scode == DISP_E_PARAMNOTFOUND)) {
        VARIANT number;
        VariantInit(&number);
        if (FAILED(hosted::CoerceArg(args[1], VT_I4, &number))) {
            *argErr = 1;
            return DISP_E_TYPEMISMATCH;
        }
        type = number.lVal;
    }
    if (type != kPlainText)
        return Fail(excepInfo, E_INVALIDARG,
                    L"无法载入文件“" + file + L"”：只能按纯文本（类型 1）载入，不支持类型 " + std::to_wstring(type) +
                        L"。");

    FileRead read = ReadTextFile(file);
    if (!read.ok)
        return Fail(excepInfo, read.error, read.message);
    const std::u16string text = DecodeText(read.bytes, AnsiToUtf16).text;
    window_->SetText(std::wstring(text.begin(), text.end()));
    return S_OK;
}

}  // namespace

void RegisterWindowClass(HINSTANCE instance)
{
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    if (GetClassInfoExW(instance, kClassName, &wc))
        return;
    wc.lpfnWndProc = RichTextWindow::Proc;
    wc.hInstance = instance;
    wc.hCursor = LoadCursorW(nullptr, IDC_IBEAM);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    wc.lpszClassName = kClassName;
    RegisterClassExW(&wc);
}

}  // namespace richtext
