#include "ConnectionString.h"

#include <cwctype>

namespace ado::detail {
namespace {

std::wstring Trim(const std::wstring& s)
{
    size_t begin = 0, end = s.size();
    while (begin < end && std::iswspace(s[begin]))
        ++begin;
    while (end > begin && std::iswspace(s[end - 1]))
        --end;
    return s.substr(begin, end - begin);
}

}  // namespace

bool SameKey(const std::wstring& a, const std::wstring& b)
{
    if (a.size() != b.size())
        return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (std::towlower(a[i]) != std::towlower(b[i]))
            return false;
    return true;
}

std::optional<std::wstring> ConnectionStringValue(const std::wstring& connection, const std::wstring& key)
{
    size_t pos = 0;
    while (pos < connection.size()) {
        const size_t eq = connection.find(L'=', pos);
        if (eq == std::wstring::npos)
            break;
        const size_t stray = connection.find(L';', pos);
        if (stray < eq) {   // a part without '=': skip it
            pos = stray + 1;
            continue;
        }
        const std::wstring name = Trim(connection.substr(pos, eq - pos));
        size_t i = eq + 1;
        while (i < connection.size() && std::iswspace(connection[i]))
            ++i;
        std::wstring value;
        if (i < connection.size() && (connection[i] == L'"' || connection[i] == L'\'')) {
            const wchar_t quote = connection[i++];
            for (; i < connection.size(); ++i) {
                if (connection[i] == quote) {
                    if (i + 1 < connection.size() && connection[i + 1] == quote)
                        ++i;   // doubled quote
                    else
                        break;
                }
                value += connection[i];
            }
            const size_t semi = connection.find(L';', i);
            pos = semi == std::wstring::npos ? connection.size() : semi + 1;
        } else {
            const size_t semi = connection.find(L';', i);
            const size_t end = semi == std::wstring::npos ? connection.size() : semi;
            value = Trim(connection.substr(i, end - i));
            pos = semi == std::wstring::npos ? connection.size() : semi + 1;
        }
        if (SameKey(name, key))
            return value;
    }
    return std::nullopt;
}

}  // namespace ado::detail
