#include "TextDecode.h"

namespace richtext {
namespace {

constexpr char16_t kReplacement = 0xFFFD;

// Length of the well-formed sequence at the start of `s` and its code point,
// or, when it is ill-formed, 0 and in `bad` the length of its maximal
// well-formed prefix (at least 1): the bytes one U+FFFD stands for.
size_t DecodeOne(std::string_view s, char32_t& cp, size_t& bad)
{
    const auto b = [&](size_t i) { return static_cast<unsigned char>(s[i]); };
    const unsigned char lead = b(0);
    bad = 1;
    if (lead < 0x80) {
        cp = lead;
        return 1;
    }
    size_t length;
    unsigned char lo = 0x80, hi = 0xBF;  // allowed range of the second byte
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
        cp = lead & 0x1F;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        cp = lead & 0x0F;
        if (lead == 0xE0)
            lo = 0xA0;  // overlong
        if (lead == 0xED)
            hi = 0x9F;  // surrogates
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        cp = lead & 0x07;
        if (lead == 0xF0)
            lo = 0x90;  // overlong
        if (lead == 0xF4)
            hi = 0x8F;  // above U+10FFFF
    } else {
        return 0;
    }
    for (size_t i = 1; i < length; ++i) {
        if (i >= s.size())
            return 0;
        const unsigned char c = b(i);
        if (i == 1 ? (c < lo || c > hi) : (c < 0x80 || c > 0xBF))
            return 0;
        cp = (cp << 6) | (c & 0x3F);
        bad = i + 1;
    }
    return length;
}

void Append(std::u16string& out, char32_t cp)
{
    if (cp < 0x10000) {
        out.push_back(char16_t(cp));
    } else {
        cp -= 0x10000;
        out.push_back(char16_t(0xD800 + (cp >> 10)));
        out.push_back(char16_t(0xDC00 + (cp & 0x3FF)));
    }
}

std::u16string DecodeUtf8(std::string_view s)
{
    std::u16string out;
    out.reserve(s.size());
    while (!s.empty()) {
        char32_t cp = 0;
        size_t bad = 1;
        const size_t n = DecodeOne(s, cp, bad);
        if (n) {
            Append(out, cp);
            s.remove_prefix(n);
        } else {
            out.push_back(kReplacement);
            s.remove_prefix(bad);
        }
    }
    return out;
}

// UTF-16 keeps unpaired surrogates as they are: Windows text may hold them.
std::u16string DecodeUtf16(std::string_view s, bool bigEndian)
{
    std::u16string out;
    out.reserve(s.size() / 2 + 1);
    for (size_t i = 0; i + 1 < s.size(); i += 2) {
        const auto first = static_cast<unsigned char>(s[i]), second = static_cast<unsigned char>(s[i + 1]);
        out.push_back(bigEndian ? char16_t(first << 8 | second) : char16_t(second << 8 | first));
    }
    if (s.size() % 2)
        out.push_back(kReplacement);  // a file cut in the middle of a unit
    return out;
}

}  // namespace

bool IsValidUtf8(std::string_view s)
{
    while (!s.empty()) {
        char32_t cp = 0;
        size_t bad = 1;
        const size_t n = DecodeOne(s, cp, bad);
        if (!n)
            return false;
        s.remove_prefix(n);
    }
    return true;
}

DecodedText DecodeText(std::string_view bytes, const AnsiDecoder& ansi)
{
    if (bytes.starts_with("\xFF\xFE"))
        return {DecodeUtf16(bytes.substr(2), false), TextEncoding::Utf16Le};
    if (bytes.starts_with("\xFE\xFF"))
        return {DecodeUtf16(bytes.substr(2), true), TextEncoding::Utf16Be};
    if (bytes.starts_with("\xEF\xBB\xBF"))
        return {DecodeUtf8(bytes.substr(3)), TextEncoding::Utf8Bom};
    if (IsValidUtf8(bytes))
        return {DecodeUtf8(bytes), TextEncoding::Utf8};
    return {ansi(bytes), TextEncoding::Ansi};
}

}  // namespace richtext
