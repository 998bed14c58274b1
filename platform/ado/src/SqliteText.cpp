#include "SqliteText.h"

#include <cctype>
#include <cstring>

namespace ado::detail {

std::string ImmutableUri(const std::string& utf8Path)
{
    static const char kHex[] = "0123456789ABCDEF";
    std::string uri = "file:";
    if (!utf8Path.empty() && (utf8Path[0] == '\\' || utf8Path[0] == '/'))
        uri += "//";   // an empty authority before a path from the root (\\server\share)
    for (const unsigned char c : utf8Path) {
        if (c == '\\')
            uri += '/';
        else if (c != 0 && c < 0x80 && (std::isalnum(c) || std::strchr("-._~/:", c)))
            uri += static_cast<char>(c);
        else {
            uri += '%';
            uri += kHex[c >> 4];
            uri += kHex[c & 15];
        }
    }
    return uri + "?immutable=1";
}

std::ptrdiff_t DecodeUtf8(const unsigned char* in, std::size_t size, wchar_t* out)
{
    const unsigned char* const end = in + size;
    wchar_t* const start = out;
    while (in < end) {
        const unsigned c = *in;
        if (c < 0x80) {
            *out++ = static_cast<wchar_t>(c);
            ++in;
        } else if (c >= 0xC2 && c < 0xE0 && end - in >= 2 && (in[1] & 0xC0) == 0x80) {
            *out++ = static_cast<wchar_t>(((c & 0x1F) << 6) | (in[1] & 0x3F));
            in += 2;
        } else if (c >= 0xE0 && c < 0xF0 && end - in >= 3 && (in[1] & 0xC0) == 0x80 && (in[2] & 0xC0) == 0x80) {
            const unsigned u = ((c & 0x0F) << 12) | ((in[1] & 0x3F) << 6) | (in[2] & 0x3F);
            if (u < 0x800 || (u >= 0xD800 && u < 0xE000) || u >= 0xFFFE)
                return -1;
            *out++ = static_cast<wchar_t>(u);
            in += 3;
        } else {
            return -1;
        }
    }
    return out - start;
}

}  // namespace ado::detail
