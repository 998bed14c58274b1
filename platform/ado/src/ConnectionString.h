// "Key=Value;Key=Value" as OLE DB writes connection strings.
#pragma once

#include <optional>
#include <string>

namespace ado::detail {

// Whether a and b name the same key: without regard to case.
bool SameKey(const std::wstring& a, const std::wstring& b);

// The value of key (matched by SameKey, surrounding blanks aside); values
// may be quoted with " or ', a doubled quote standing for one. Nothing when absent.
std::optional<std::wstring> ConnectionStringValue(const std::wstring& connection, const std::wstring& key);

}  // namespace ado::detail
