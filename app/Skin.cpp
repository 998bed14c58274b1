#include "app/Skin.h"

#include <windows.h>

#include <string>

namespace {

std::wstring ProgramFolder()
{
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        DWORD n = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (n == 0)
            return {};
        if (n < path.size()) {
            path.resize(n);
            break;
        }
        path.resize(path.size() * 2);
    }
    return path.substr(0, path.find_last_of(L"\\/") + 1);
}

}  // namespace

void AttachSkin()
{
    // A full path: the library is ours and must not be picked up from elsewhere.
    HMODULE skin = LoadLibraryW((ProgramFolder() + L"SkinH.dll").c_str());
    if (!skin)
        return;
    using AttachFn = int(WINAPI*)();
    if (auto attach = reinterpret_cast<AttachFn>(GetProcAddress(skin, "SkinH_Attach")))
        attach();
}
