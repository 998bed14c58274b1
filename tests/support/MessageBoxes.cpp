#include "support/MessageBoxes.h"

#include "support/Drive.h"

#include <algorithm>

namespace {

// Constructed before the program's static objects (application object 2000,
// dictionaries 2001...), which may already show boxes.
MessageBoxRecorder g_boxes __attribute__((init_priority(1500)));

// The message text of a box: Windows and Wine 8 give its static the id 0xFFFF;
// older Wine templates used 100 (MSGBOX_IDTEXT).
constexpr int kTextIdWindows = 0xFFFF;
constexpr int kTextIdWine = 100;

bool IsClass(HWND h, const wchar_t* name)
{
    wchar_t cls[32] = {};
    ::GetClassNameW(h, cls, 32);
    return ::lstrcmpiW(cls, name) == 0;
}

HWND MessageTextOf(HWND box)
{
    for (int id : {kTextIdWindows, kTextIdWine})
        if (HWND h = ::GetDlgItem(box, id); h && IsClass(h, L"Static"))
            return h;
    return nullptr;
}

bool IsMessageBox(HWND h)
{
    // Our own dialogs have a framework object; a system message box has none.
    return IsClass(h, L"#32770") && MessageTextOf(h) && !CWnd::FromHandlePermanent(h);
}

UINT IconOf(HWND box)
{
    struct Known {
        const wchar_t* id;
        UINT style;
    };
    const Known known[] = {{IDI_EXCLAMATION, MB_ICONEXCLAMATION}, {IDI_QUESTION, MB_ICONQUESTION},
                           {IDI_HAND, MB_ICONHAND}, {IDI_ASTERISK, MB_ICONASTERISK}};
    for (HWND child = ::GetWindow(box, GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT)) {
        if (!IsClass(child, L"Static"))
            continue;
        HICON icon = reinterpret_cast<HICON>(::SendMessageW(child, STM_GETICON, 0, 0));
        if (!icon)
            continue;
        for (const Known& k : known)
            if (icon == ::LoadIconW(nullptr, k.id))
                return k.style;
    }
    return 0;
}

}  // namespace

MessageBoxRecorder& Boxes()
{
    return g_boxes;
}

MessageBoxRecorder::MessageBoxRecorder()
{
    m_hook = ::SetWindowsHookExW(WH_CBT, &CbtHook, nullptr, ::GetCurrentThreadId());
}

MessageBoxRecorder::~MessageBoxRecorder()
{
    if (m_hook)
        ::UnhookWindowsHookEx(m_hook);
    m_hook = nullptr;
}

void MessageBoxRecorder::Answer(int buttonId)
{
    m_answer = buttonId;
}

void MessageBoxRecorder::AnswerNext(std::vector<int> buttonIds)
{
    m_next.insert(m_next.end(), buttonIds.begin(), buttonIds.end());
}

void MessageBoxRecorder::Reset()
{
    m_answer = 0;
    m_next.clear();
    onTake = nullptr;
    m_taken.clear();
    m_seen.clear();
}

void MessageBoxRecorder::ForgetSince(size_t count, const std::wstring& text)
{
    if (count >= m_taken.size())
        return;
    m_taken.erase(std::remove_if(m_taken.begin() + static_cast<std::ptrdiff_t>(count), m_taken.end(),
                                 [&](const MessageBoxRecord& r) { return r.text == text; }),
                  m_taken.end());
}

LRESULT CALLBACK MessageBoxRecorder::CbtHook(int code, WPARAM wParam, LPARAM lParam)
{
    if (code == HCBT_ACTIVATE) {
        HWND h = reinterpret_cast<HWND>(wParam);
        if (IsMessageBox(h))
            g_boxes.Take(h);
    } else if (code == HCBT_DESTROYWND) {
        auto& seen = g_boxes.m_seen;
        seen.erase(std::remove(seen.begin(), seen.end(), reinterpret_cast<HWND>(wParam)), seen.end());
    }
    return ::CallNextHookEx(g_boxes.m_hook, code, wParam, lParam);
}

void MessageBoxRecorder::Take(HWND box)
{
    if (std::find(m_seen.begin(), m_seen.end(), box) != m_seen.end())
        return;  // activated again: already answered
    m_seen.push_back(box);

    MessageBoxRecord r;
    r.caption = TextOf(box);
    r.text = TextOf(MessageTextOf(box));
    r.owner = ::GetWindow(box, GW_OWNER);
    r.ownerEnabled = r.owner && ::IsWindowEnabled(r.owner);
    for (int id = IDOK; id <= IDCONTINUE; ++id)
        if (HWND b = ::GetDlgItem(box, id); b && IsClass(b, L"Button"))
            r.buttons.push_back(id);
    r.icon = IconOf(box);

    int wanted = m_answer;
    if (!m_next.empty()) {
        wanted = m_next.front();
        m_next.erase(m_next.begin());
    }
    if (std::find(r.buttons.begin(), r.buttons.end(), wanted) == r.buttons.end()) {
        LRESULT def = ::SendMessageW(box, DM_GETDEFID, 0, 0);
        wanted = HIWORD(def) == DC_HASDEFID ? LOWORD(def) : (r.buttons.empty() ? IDOK : r.buttons.front());
    }
    r.answer = wanted;
    m_taken.push_back(r);
    if (onTake)
        onTake(r);
    // Pressed from the box's own loop, once it runs.
    ::PostMessageW(box, WM_COMMAND, MAKEWPARAM(wanted, BN_CLICKED),
                   reinterpret_cast<LPARAM>(::GetDlgItem(box, wanted)));
}

std::wstring ProgramName()
{
    wchar_t path[MAX_PATH];
    ::GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring name = path;
    name = name.substr(name.find_last_of(L'\\') + 1);
    return name.substr(0, name.rfind(L'.'));
}

std::string Utf8(const std::wstring& text)
{
    if (text.empty())
        return {};
    int n = ::WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0, nullptr,
                                  nullptr);
    std::string s(static_cast<size_t>(n), '\0');
    ::WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), s.data(), n, nullptr, nullptr);
    return s;
}

std::string Utf8(const wchar_t* text)
{
    return Utf8(std::wstring(text ? text : L""));
}

void PrintTo(const MessageBoxRecord& box, std::ostream* os)
{
    *os << "{caption \"" << Utf8(box.caption) << "\", text \"" << Utf8(box.text) << "\", answer " << box.answer
        << "}";
}
