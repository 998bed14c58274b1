// Fuzz target: the connection-string reader of platform/ado (ConnectionStringValue).
//
// The first input byte picks a mode:
//  - raw: the rest is a connection string (UTF-16 code units, two bytes each) and
//    every key the program or a user might ask for is looked up in it: no crash,
//    no undefined behaviour, and a value found is never longer than the string;
//  - built: the rest describes key/value pairs, which are written the way OLE DB
//    writes them (blanks around keys, values quoted when they must be, quotes
//    doubled) with stray parts between them; looking each key up must give the
//    value of its first occurrence (keys compared by the reader's own SameKey), and a
//    key never written must give nothing.
#include "ConnectionString.h"

#include "Check.h"

#include <cstdint>
#include <cwctype>
#include <string>
#include <vector>

using ado::detail::ConnectionStringValue;
using ado::detail::SameKey;

namespace {

class Reader {
public:
    Reader(const uint8_t* data, size_t size) : m_data(data), m_size(size) {}
    bool Empty() const { return m_pos >= m_size; }
    uint8_t Byte() { return m_pos < m_size ? m_data[m_pos++] : 0; }
    wchar_t Unit()
    {
        const uint8_t lo = Byte(), hi = Byte();
        return wchar_t(lo | hi << 8);
    }

private:
    const uint8_t* m_data;
    size_t m_size;
    size_t m_pos = 0;
};

void Raw(Reader& in)
{
    std::wstring s;
    while (!in.Empty())
        s.push_back(in.Unit());
    static const wchar_t* const kKeys[] = {L"Data Source", L"Provider", L"Persist Security Info", L"",
                                           L"data source", L"User ID", L"=", L";", L"\"", L" "};
    for (const wchar_t* key : kKeys) {
        const auto value = ConnectionStringValue(s, key);
        if (value)
            CHECK(value->size() <= s.size());
    }
}

// A key: letters, digits and inner blanks, never empty, no blank at either end.
std::wstring MakeKey(Reader& in)
{
    static const wchar_t kChars[] = L"DataSourceProvidrIDUPSs0123456789 ";
    const size_t n = 1 + in.Byte() % 12;
    std::wstring key;
    for (size_t i = 0; i < n; ++i)
        key.push_back(kChars[in.Byte() % (sizeof kChars / sizeof kChars[0] - 1)]);
    const size_t first = key.find_first_not_of(L' ');
    if (first == std::wstring::npos)
        return L"K";
    return key.substr(first, key.find_last_not_of(L' ') - first + 1);
}

std::wstring MakeValue(Reader& in)
{
    static const wchar_t kSpecial[] = {L';', L'=', L'"', L'\'', L' ', L'\t', L'\\', L':', 0x4F60, 0xD800};
    const size_t n = in.Byte() % 24;
    std::wstring value;
    for (size_t i = 0; i < n; ++i) {
        const uint8_t pick = in.Byte();
        if (pick < 64)
            value.push_back(kSpecial[pick % (sizeof kSpecial / sizeof kSpecial[0])]);
        else if (pick < 200)
            value.push_back(wchar_t(L'a' + pick % 26));
        else
            value.push_back(wchar_t(in.Unit() | 1));  // any unit but NUL
    }
    return value;
}

std::wstring Blanks(Reader& in)
{
    return std::wstring(in.Byte() % 3, L' ');
}

// How the parser will read the value back: unquoted values are trimmed and end
// at the first ';', so they are written unquoted only when that changes nothing.
std::wstring Write(const std::wstring& value, Reader& in)
{
    const bool mustQuote = value.empty() || value.find(L';') != std::wstring::npos ||
                           value.front() == L'"' || value.front() == L'\'' || std::iswspace(value.front()) ||
                           std::iswspace(value.back());
    const uint8_t style = in.Byte();
    if (!mustQuote && style % 3 == 0)
        return value;
    const wchar_t quote = style & 1 ? L'"' : L'\'';
    std::wstring out(1, quote);
    for (wchar_t c : value) {
        out.push_back(c);
        if (c == quote)
            out.push_back(c);
    }
    out.push_back(quote);
    return out;
}

void Built(Reader& in)
{
    std::vector<std::pair<std::wstring, std::wstring>> pairs;
    std::wstring s;
    const size_t n = 1 + in.Byte() % 8;
    for (size_t i = 0; i < n; ++i) {
        if (in.Byte() % 5 == 0)
            s += Blanks(in) + L"stray part without equals;";   // skipped by the reader
        std::wstring key = MakeKey(in);
        if (in.Byte() % 4 == 0 && !pairs.empty())
            key = pairs[in.Byte() % pairs.size()].first;   // a repeated key: the first counts
        const std::wstring value = MakeValue(in);
        pairs.emplace_back(key, value);
        s += Blanks(in) + key + Blanks(in) + L"=" + Blanks(in) + Write(value, in) + Blanks(in);
        if (i + 1 < n || in.Byte() % 2)
            s += L";";
    }
    for (const auto& [key, value] : pairs) {
        std::wstring expected;
        for (const auto& [k, v] : pairs)
            if (SameKey(k, key)) {
                expected = v;
                break;
            }
        const auto found = ConnectionStringValue(s, key);
        CHECK(found.has_value());
        CHECK(*found == expected);
    }
    bool known = false;
    for (const auto& [k, v] : pairs)
        known = known || SameKey(k, L"Never Written");
    if (!known)
        CHECK(!ConnectionStringValue(s, L"Never Written").has_value());
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size == 0)
        return 0;
    Reader in(data + 1, size - 1);
    if (data[0] & 1)
        Built(in);
    else
        Raw(in);
    return 0;
}
