// Whole files as bytes, for fixtures that keep what stood at a path and put it back.
#pragma once

#include <optional>
#include <string>

namespace test_support {

// The file's bytes; nothing when it is missing or cannot be read whole.
std::optional<std::string> ReadFileBytes(const std::wstring& path);

}  // namespace test_support
