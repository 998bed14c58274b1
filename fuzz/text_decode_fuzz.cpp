// Fuzz target: decoding the bytes of a practice file (platform/richtext/TextDecode).
//
// Beyond "no crash, no leak, no undefined behaviour", every input is checked
// against what the decoder promises, with a reference written independently here:
//  - the encoding chosen follows the byte-order mark, else UTF-8 validity;
//  - IsValidUtf8 agrees with a code-point-by-code-point reference validator;
//  - valid UTF-8 decodes to exactly the text that re-encodes to the same bytes;
//  - UTF-16 files give one unit per byte pair (plus U+FFFD for an odd byte);
//  - decoding marked UTF-8 never yields an unpaired surrogate;
//  - the ANSI decoder is asked exactly when the text is neither marked nor UTF-8.
#include "TextDecode.h"

#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

namespace {

[[noreturn]] void Fail(const char* what)
{
    __builtin_trap();
    (void)what;
}

#define CHECK(cond) \
    do {            \
        if (!(cond)) \
            Fail(#cond); \
    } while (0)

// Reference: decodes the whole input, strictly, one scalar value at a time.
bool ReferenceValidUtf8(std::string_view s, std::u32string* out)
{
    size_t i = 0;
    while (i < s.size()) {
        const uint8_t c = uint8_t(s[i]);
        uint32_t cp;
        size_t n;
        if (c < 0x80) { cp = c; n = 1; }
        else if ((c & 0xE0) == 0xC0) { cp = c & 0x1F; n = 2; }
        else if ((c & 0xF0) == 0xE0) { cp = c & 0x0F; n = 3; }
        else if ((c & 0xF8) == 0xF0) { cp = c & 0x07; n = 4; }
        else return false;
        if (i + n > s.size())
            return false;
        for (size_t k = 1; k < n; ++k) {
            const uint8_t t = uint8_t(s[i + k]);
            if ((t & 0xC0) != 0x80)
                return false;
            cp = (cp << 6) | (t & 0x3F);
        }
        static const uint32_t kMin[5] = {0, 0, 0x80, 0x800, 0x10000};
        if (cp < kMin[n] || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF))
            return false;
        if (out)
            out->push_back(cp);
        i += n;
    }
    return true;
}

std::u16string ToUtf16(const std::u32string& cps)
{
    std::u16string out;
    for (char32_t cp : cps) {
        if (cp < 0x10000) {
            out.push_back(char16_t(cp));
        } else {
            cp -= 0x10000;
            out.push_back(char16_t(0xD800 + (cp >> 10)));
            out.push_back(char16_t(0xDC00 + (cp & 0x3FF)));
        }
    }
    return out;
}

bool HasUnpairedSurrogate(const std::u16string& s)
{
    for (size_t i = 0; i < s.size(); ++i) {
        if (s[i] >= 0xD800 && s[i] <= 0xDBFF) {
            if (i + 1 >= s.size() || s[i + 1] < 0xDC00 || s[i + 1] > 0xDFFF)
                return true;
            ++i;
        } else if (s[i] >= 0xDC00 && s[i] <= 0xDFFF) {
            return true;
        }
    }
    return false;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    using richtext::TextEncoding;
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);

    bool ansiAsked = false;
    const auto ansi = [&](std::string_view b) {
        ansiAsked = true;
        CHECK(b.size() == bytes.size());
        std::u16string out;  // a stand-in code page: one unit per byte
        for (unsigned char c : b)
            out.push_back(char16_t(c));
        return out;
    };

    const richtext::DecodedText decoded = richtext::DecodeText(bytes, ansi);
    std::u32string cps;
    const bool valid = ReferenceValidUtf8(bytes, &cps);
    CHECK(richtext::IsValidUtf8(bytes) == valid);

    if (bytes.starts_with("\xFF\xFE") || bytes.starts_with("\xFE\xFF")) {
        CHECK(decoded.encoding == (bytes[0] == '\xFF' ? TextEncoding::Utf16Le : TextEncoding::Utf16Be));
        const size_t body = size - 2;
        CHECK(decoded.text.size() == body / 2 + body % 2);
        for (size_t i = 0; i + 1 < body; i += 2) {
            const uint8_t a = data[2 + i], b = data[3 + i];
            const char16_t unit = decoded.encoding == TextEncoding::Utf16Le ? char16_t(b << 8 | a)
                                                                            : char16_t(a << 8 | b);
            CHECK(decoded.text[i / 2] == unit);
        }
        if (body % 2)
            CHECK(decoded.text.back() == 0xFFFD);
        CHECK(!ansiAsked);
    } else if (bytes.starts_with("\xEF\xBB\xBF")) {
        CHECK(decoded.encoding == TextEncoding::Utf8Bom);
        CHECK(!HasUnpairedSurrogate(decoded.text));
        CHECK(decoded.text.size() <= size - 3);
        std::u32string body;
        if (ReferenceValidUtf8(bytes.substr(3), &body))
            CHECK(decoded.text == ToUtf16(body));
        CHECK(!ansiAsked);
    } else if (valid) {
        CHECK(decoded.encoding == TextEncoding::Utf8);
        CHECK(decoded.text == ToUtf16(cps));
        CHECK(!ansiAsked);
    } else {
        CHECK(decoded.encoding == TextEncoding::Ansi);
        CHECK(ansiAsked);
        CHECK(decoded.text.size() == size);
    }
    return 0;
}
