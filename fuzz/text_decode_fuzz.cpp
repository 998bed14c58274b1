// Fuzz target: decoding the bytes of a practice file (platform/richtext/TextDecode).
//
// Beyond "no crash, no leak, no undefined behaviour", every input is checked
// against what the decoder promises, with the C library's own UTF-8 decoder
// (iconv) as the reference:
//  - the encoding chosen follows the byte-order mark, else UTF-8 validity;
//  - IsValidUtf8 agrees with iconv on what is well-formed UTF-8;
//  - well-formed UTF-8 decodes to exactly the text iconv gives;
//  - UTF-16 files give one unit per byte pair (plus U+FFFD for an odd byte);
//  - decoding marked UTF-8 never yields an unpaired surrogate;
//  - the ANSI decoder is asked exactly when the text is neither marked nor UTF-8.
#include "TextDecode.h"

#include "Check.h"

#include <iconv.h>

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


// The reference: glibc's UTF-8 decoder, which takes only well-formed UTF-8 (no
// overlong forms, no surrogates, nothing above U+10FFFF). False when s is not that.
bool ReferenceUtf8(std::string_view s, std::u16string* out)
{
    static const iconv_t cd = iconv_open("UTF-16LE", "UTF-8");
    CHECK(cd != iconv_t(-1));
    iconv(cd, nullptr, nullptr, nullptr, nullptr);   // a fresh start
    std::string in(s);
    std::string utf16(in.size() * 2 + 2, '\0');      // a byte gives at most one unit
    char* from = in.data();
    size_t left = in.size();
    char* to = utf16.data();
    size_t room = utf16.size();
    if (iconv(cd, &from, &left, &to, &room) == size_t(-1) || left != 0)
        return false;
    out->clear();
    for (const char* p = utf16.data(); p + 1 < to; p += 2)
        out->push_back(char16_t(uint8_t(p[0]) | uint8_t(p[1]) << 8));
    return true;
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
    std::u16string reference;
    const bool valid = ReferenceUtf8(bytes, &reference);
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
        std::u16string body;
        if (ReferenceUtf8(bytes.substr(3), &body))
            CHECK(decoded.text == body);
        CHECK(!ansiAsked);
    } else if (valid) {
        CHECK(decoded.encoding == TextEncoding::Utf8);
        CHECK(decoded.text == reference);
        CHECK(!ansiAsked);
    } else {
        CHECK(decoded.encoding == TextEncoding::Ansi);
        CHECK(ansiAsked);
        CHECK(decoded.text.size() == size);
    }
    return 0;
}
