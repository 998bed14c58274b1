#include "TextFile.h"

#include <cwchar>

namespace richtext {
namespace {

FileRead Failure(HRESULT error, std::wstring message)
{
    FileRead result;
    result.error = error;
    result.message = std::move(message);
    return result;
}

std::wstring Quoted(const std::wstring& path) { return L"“" + path + L"”"; }

FileRead FromWin32Error(const std::wstring& path, DWORD code)
{
    const HRESULT hr = HRESULT_FROM_WIN32(code);
    switch (code) {
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND:
    case ERROR_INVALID_NAME:
    case ERROR_BAD_NETPATH:
    case ERROR_INVALID_DRIVE:
        return Failure(hr, L"无法载入文件" + Quoted(path) + L"：文件不存在。");
    case ERROR_ACCESS_DENIED:
    case ERROR_SHARING_VIOLATION:
    case ERROR_LOCK_VIOLATION:
        return Failure(hr, L"无法载入文件" + Quoted(path) + L"：没有读取权限，或文件正被其他程序独占使用。");
    default:
        return Failure(hr, L"无法载入文件" + Quoted(path) + L"：读取时出错（错误代码 " + std::to_wstring(code) + L"）。");
    }
}

}  // namespace

FileRead ReadTextFile(const std::wstring& path)
{
    if (path.empty())
        return Failure(E_INVALIDARG, L"无法载入文件：没有给出文件名。");
    const DWORD attributes = GetFileAttributesW(path.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY))
        return Failure(HRESULT_FROM_WIN32(ERROR_DIRECTORY),
                       L"无法载入文件" + Quoted(path) + L"：这是一个文件夹，不是文本文件。");

    // Notepad may hold the file open while the user edits it.
    HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                              nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return FromWin32Error(path, GetLastError());

    FileRead result;
    LARGE_INTEGER size{};
    if (!GetFileSizeEx(file, &size)) {
        result = FromWin32Error(path, GetLastError());
    } else if (uint64_t(size.QuadPart) > kMaxFileBytes) {
        wchar_t megabytes[32];
        swprintf(megabytes, 32, L"%.1f MB", double(size.QuadPart) / (1 << 20));
        result = Failure(HRESULT_FROM_WIN32(ERROR_FILE_TOO_LARGE),
                         L"无法载入文件" + Quoted(path) + L"：文件太大（" + megabytes + L"），最多只能载入 " +
                             std::to_wstring(kMaxFileBytes >> 20) + L" MB。");
    } else {
        result.bytes.resize(size_t(size.QuadPart));
        size_t done = 0;
        while (done < result.bytes.size()) {
            DWORD got = 0;
            if (!ReadFile(file, result.bytes.data() + done, DWORD(result.bytes.size() - done), &got, nullptr)) {
                const DWORD code = GetLastError();
                CloseHandle(file);
                return FromWin32Error(path, code);
            }
            if (got == 0)
                break;  // the file got shorter since its size was taken
            done += got;
        }
        result.bytes.resize(done);
        result.ok = true;
    }
    CloseHandle(file);
    return result;
}

}  // namespace richtext
