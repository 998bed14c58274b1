#include "WebsiteRecorder.h"

#include <shellapi.h>

#include <fstream>

namespace {

std::wstring ToWide(const char* s)
{
    int n = MultiByteToWideChar(CP_UTF8, 0, s, -1, nullptr, 0);
    std::wstring w(n, L'\0');
    MultiByteToWideChar(CP_UTF8, 0, s, -1, w.data(), n);
    w.resize(n - 1);
    return w;
}

// Wine sees the Unix file system as drive Z:.
std::wstring DosPath(const std::wstring& unixPath)
{
    std::wstring path = L"Z:" + unixPath;
    for (wchar_t& c : path)
        if (c == L'/')
            c = L'\\';
    return path;
}

const wchar_t kWineBrowserKey[] = L"Software\\Wine\\WineBrowser";

}  // namespace

WebsiteRecorder::WebsiteRecorder()
{
    m_mutex = CreateMutexW(nullptr, FALSE, L"Local\\LorvaneAppTests.WineBrowser");
    WaitForSingleObject(m_mutex, INFINITE);

    m_logUnix = L"/tmp/lorvane-website-" + std::to_wstring(GetCurrentProcessId()) + L"-" +
                std::to_wstring(GetTickCount()) + L".log";

    HKEY key;
    RegCreateKeyExW(HKEY_CURRENT_USER, kWineBrowserKey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                    &key, nullptr);
    wchar_t previous[1024] = {};
    DWORD size = sizeof previous - sizeof(wchar_t);
    m_hadPrevious = RegQueryValueExW(key, L"Browsers", nullptr, nullptr,
                                     reinterpret_cast<BYTE*>(previous), &size) == ERROR_SUCCESS;
    m_previous = previous;
    // winebrowser splits the setting like a command line: the recorder, then our log.
    std::wstring browser = L"\"" + ToWide(LORVANE_URL_RECORDER) + L"\" " + m_logUnix;
    RegSetValueExW(key, L"Browsers", 0, REG_SZ, reinterpret_cast<const BYTE*>(browser.c_str()),
                   static_cast<DWORD>((browser.size() + 1) * sizeof(wchar_t)));
    RegCloseKey(key);
}

WebsiteRecorder::~WebsiteRecorder()
{
    HKEY key;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, kWineBrowserKey, 0, KEY_ALL_ACCESS, &key) == ERROR_SUCCESS) {
        if (m_hadPrevious)
            RegSetValueExW(key, L"Browsers", 0, REG_SZ, reinterpret_cast<const BYTE*>(m_previous.c_str()),
                           static_cast<DWORD>((m_previous.size() + 1) * sizeof(wchar_t)));
        else
            RegDeleteValueW(key, L"Browsers");
        RegCloseKey(key);
    }
    const std::wstring logDos = DosPath(m_logUnix);
    DeleteFileW(logDos.c_str());
    ReleaseMutex(m_mutex);
    CloseHandle(m_mutex);
}

std::vector<std::wstring> WebsiteRecorder::Opened()
{
    static int markers = 0;
    std::wstring marker = L"https://marker.invalid/" + std::to_wstring(++markers);
    ShellExecuteW(nullptr, L"open", marker.c_str(), nullptr, nullptr, SW_SHOW);

    const std::wstring logDos = DosPath(m_logUnix);
    auto readLines = [&] {
        std::vector<std::wstring> lines;
        std::ifstream in(logDos.c_str());
        for (std::string line; std::getline(in, line);)
            lines.push_back(ToWide(line.c_str()));
        return lines;
    };
    DWORD start = GetTickCount();
    for (;;) {
        std::vector<std::wstring> lines = readLines();
        bool seen = false;
        for (const std::wstring& line : lines)
            seen = seen || line == marker;
        if (seen || GetTickCount() - start > 15000)
            break;
        Sleep(20);
    }
    Sleep(300);  // anything opened just before the marker has landed too
    std::vector<std::wstring> opened;
    for (const std::wstring& line : readLines())
        if (line.rfind(L"https://marker.invalid/", 0) != 0)
            opened.push_back(line);
    return opened;
}
