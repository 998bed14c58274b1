// "Key=Value;Key=Value" as OLE DB writes connection strings.
#pragma once

#include <optional>
#include <string>

namespace ado::detail {

// The value of key (matched without regard to case or surrounding blanks); values
// may be quoted with " or ', a doubled quote standing for one. Nothing when absent.
std::optional<std::wstring> ConnectionStringValue(const std::wstring& connection, const std::wstring& key);

}  // namespace ado::detail
