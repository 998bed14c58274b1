#include "Session.h"

#include "Files.h"

namespace robustness {
namespace {

const wchar_t kEmptyTextMessage[] = L"请在文本框中输入一些文字";

}  // namespace

bool WaitFor(GameSession& s, const std::function<bool()>& cond, DWORD ms)
{
    const DWORD start = GetTickCount();
    while (!cond()) {
        if (GetTickCount() - start > ms)
            return cond();
        s.Wait(20);
    }
    return true;
}

bool ClickMain(GameSession& s, int id)
{
    if (!ClickButton(s.Main().m_hWnd, id))
        return false;
    s.Pump();
    return true;
}

void SetLookupText(GameSession& s, const std::wstring& text)
{
    SetDlgItemTextW(s.Main().m_hWnd, IDC_TEXT, text.c_str());
}

std::wstring MainText(GameSession& s, int id)
{
    return TextOf(s.Main().m_hWnd, id);
}

bool MainEnabled(GameSession& s, int id)
{
    return IsWindowEnabled(GetDlgItem(s.Main().m_hWnd, id)) != FALSE;
}

bool WalkRunning(GameSession& s)
{
    const std::wstring text = MainText(s, IDC_TEXT);
    const size_t before = Boxes().Count();
    SetLookupText(s, L"");
    SendMessageW(s.Main().m_hWnd, WM_COMMAND, MAKEWPARAM(IDC_LOOKUP, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(s.Main().m_hWnd, IDC_LOOKUP)));
    const bool asked = Boxes().Count() > before;
    SetLookupText(s, text);
    return !asked;
}

bool WaitForWalkEnd(GameSession& s, DWORD ms)
{
    return WaitFor(s, [&] { return !WalkRunning(s); }, ms);
}

std::vector<MessageBoxRecord> ShownBoxes()
{
    std::vector<MessageBoxRecord> shown;
    for (const MessageBoxRecord& box : Boxes().Taken())
        if (box.text != kEmptyTextMessage)
            shown.push_back(box);
    return shown;
}

std::vector<std::wstring> Recordings(const std::vector<std::wstring>& urls)
{
    std::vector<std::wstring> out;
    for (const std::wstring& url : urls)
        if (url.starts_with(SoundPath(L"")))
            out.push_back(url);
    return out;
}

std::string BoxList()
{
    std::string out;
    for (const MessageBoxRecord& box : ShownBoxes())
        out += "\n  " + ::Utf8(box.caption) + ": " + ::Utf8(box.text);
    return out.empty() ? " (none)" : out;
}

bool IsDictionaryMessage(const std::wstring& text)
{
    const std::wstring path = DictionaryPath();
    const std::wstring query = L"select * from cantonesePhonetic";
    return text.starts_with(L"无法打开数据库文件 " + path + L"：") ||
           text.starts_with(L"在数据库 " + path + L" 中执行查询“" + query + L"”失败：") ||
           text == L"数据库连接没有打开，无法执行查询“" + query + L"”。" ||
           text.starts_with(L"词典数据不可用：数据表只有 ");
}

}  // namespace robustness
