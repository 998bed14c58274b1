#include "RobustnessTest.h"

namespace robustness {

std::string StandardDictionary()
{
    return DictionaryImage({{L"你", L"nei5"}, {L"好", L"hou2"}, {L"们", L"mun4"}, {L"学", L"hok6"}, {L"习", L"zaap6"}});
}

void UseDictionary(const std::string& bytes)
{
    WriteInstalledFile(kDictionaryPath, bytes);
    ConnectGameDictionaryAgain();
}

std::string BoxList()
{
    std::string out;
    for (const MessageBoxRecord& box : Boxes().Taken())
        out += "\n  " + Utf8(box.caption) + ": " + Utf8(box.text);
    return out.empty() ? " (none)" : out;
}

std::vector<std::wstring> Recordings(const std::vector<std::wstring>& urls)
{
    std::vector<std::wstring> out;
    for (const std::wstring& url : urls)
        if (url.starts_with(SoundFolder()))
            out.push_back(url);
    return out;
}

bool IsDictionaryMessage(const std::wstring& text)
{
    const std::wstring path = kDictionaryPath;
    const std::wstring query = L"select * from cantonesePhonetic";
    return text.starts_with(L"无法打开数据库文件 " + path + L"：") ||
           text.starts_with(L"在数据库 " + path + L" 中执行查询“" + query + L"”失败：") ||
           text == L"数据库连接没有打开，无法执行查询“" + query + L"”。" ||
           text.starts_with(L"词典数据不可用：数据表只有 ");
}

ExclusiveLock::ExclusiveLock(const std::wstring& path)
    : m_h(CreateFileW(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr))
{
}

ExclusiveLock::~ExclusiveLock()
{
    if (m_h != INVALID_HANDLE_VALUE)
        CloseHandle(m_h);
}

}  // namespace robustness
