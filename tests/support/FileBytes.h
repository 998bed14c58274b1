// Whole files as bytes, for fixtures that write a file and put back what stood there.
#pragma once

#include <optional>
#include <string>

namespace test_support {

// The file's bytes; nothing when it is missing or cannot be read whole.
std::optional<std::string> ReadFileBytes(const std::wstring& path);

// Makes the file hold exactly `bytes`. A file there is rewritten in place, not
// replaced, so this works while another handle (an open dictionary) shares it.
// Throws std::runtime_error when the file cannot be written.
void WriteFileBytes(const std::wstring& path, const std::string& bytes);

}  // namespace test_support
