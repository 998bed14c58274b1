// Reads a whole text file for LoadFile, or says in words why it cannot.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>

namespace richtext {

inline constexpr uint64_t kMaxFileBytes = 16u << 20;

struct FileRead {
    bool ok = false;
    std::string bytes;
    HRESULT error = S_OK;
    std::wstring message;  // for the user: names the file and the reason
};

FileRead ReadTextFile(const std::wstring& path);

}  // namespace richtext
