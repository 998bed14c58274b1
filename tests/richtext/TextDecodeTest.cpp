// Decoding a practice file's bytes: every way an editor saves the same text
// gives the same characters.
#include "platform/richtext/TextDecode.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <string>

namespace richtext {
namespace {

// A stand-in for the ANSI code page that shows where it was used: each byte
// becomes the character with that number.
std::u16string Latin1(std::string_view bytes)
{
    std::u16string out;
    for (unsigned char c : bytes)
        out.push_back(char16_t(c));
    return out;
}

std::u16string CodePage936(std::string_view bytes)
{
    const int n = MultiByteToWideChar(936, 0, bytes.data(), int(bytes.size()), nullptr, 0);
    std::wstring wide(size_t(n), L'\0');
    MultiByteToWideChar(936, 0, bytes.data(), int(bytes.size()), wide.data(), n);
    return std::u16string(wide.begin(), wide.end());
}

std::string Utf16(const std::u16string& text, bool bigEndian)
{
    std::string out = bigEndian ? "\xFE\xFF" : "\xFF\xFE";
    for (char16_t c : text) {
        const char hi = char(c >> 8), lo = char(c & 0xFF);
        out += bigEndian ? std::string{hi, lo} : std::string{lo, hi};
    }
    return out;
}

// 你好，世界 / 粤语 ABC, a character outside the BMP, CR LF and a lone LF.
const std::u16string kText = u"你好，世界\r\n粤语 ABC 𠀀\n第三行";
const std::string kUtf8 =
    "\xE4\xBD\xA0\xE5\xA5\xBD\xEF\xBC\x8C\xE4\xB8\x96\xE7\x95\x8C\r\n\xE7\xB2\xA4\xE8\xAF\xAD ABC "
    "\xF0\xA0\x80\x80\n\xE7\xAC\xAC\xE4\xB8\x89\xE8\xA1\x8C";

TEST(TextDecode, EveryEncodingGivesTheSameText)
{
    const struct {
        const char* what;
        std::string bytes;
        TextEncoding encoding;
    } cases[] = {
        {"UTF-16 LE", Utf16(kText, false), TextEncoding::Utf16Le},
        {"UTF-16 BE", Utf16(kText, true), TextEncoding::Utf16Be},
        {"UTF-8 with BOM", "\xEF\xBB\xBF" + kUtf8, TextEncoding::Utf8Bom},
        {"UTF-8", kUtf8, TextEncoding::Utf8},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const DecodedText decoded = DecodeText(c.bytes, Latin1);
        EXPECT_EQ(decoded.text, kText);
        EXPECT_EQ(decoded.encoding, c.encoding);
    }
}

TEST(TextDecode, BytesThatAreNotUtf8GoToTheAnsiCodePage)
{
    // 你好，世界 in GBK: C4E3 BAC3 A3AC CAC0 BDE7.
    const std::string gbk = "\xC4\xE3\xBA\xC3\xA3\xAC\xCA\xC0\xBD\xE7\r\n";
    const DecodedText decoded = DecodeText(gbk, CodePage936);
    EXPECT_EQ(decoded.encoding, TextEncoding::Ansi);
    EXPECT_EQ(decoded.text, u"你好，世界\r\n");
    // Plain ASCII is the same in both; it counts as UTF-8.
    EXPECT_EQ(DecodeText("abc\r\n", Latin1).encoding, TextEncoding::Utf8);
}

TEST(TextDecode, OnlyWellFormedUtf8CountsAsUtf8)
{
    const struct {
        const char* what;
        std::string bytes;
        bool valid;
    } cases[] = {
        {"empty", "", true},
        {"two-byte", "\xC3\xA9", true},
        {"four-byte, highest", "\xF4\x8F\xBF\xBF", true},
        {"overlong two-byte", "\xC0\x80", false},
        {"overlong three-byte", "\xE0\x80\xAF", false},
        {"overlong four-byte", "\xF0\x80\x80\xAF", false},
        {"surrogate", "\xED\xA0\x80", false},
        {"above U+10FFFF", "\xF4\x90\x80\x80", false},
        {"F5 lead", "\xF5\x80\x80\x80", false},
        {"lone continuation", "\x80", false},
        {"cut short", "\xE4\xBD", false},
        {"lead then ASCII", "\xE4" "a", false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(IsValidUtf8(c.bytes), c.valid);
        EXPECT_EQ(DecodeText(c.bytes, Latin1).encoding, c.valid ? TextEncoding::Utf8 : TextEncoding::Ansi);
    }
}

TEST(TextDecode, BrokenSequencesUnderAMarkBecomeReplacementCharacters)
{
    // One U+FFFD for each maximal ill-formed part, as Unicode recommends.
    EXPECT_EQ(DecodeText("\xEF\xBB\xBF" "a\xE4\xBD" "b", Latin1).text, u"a\uFFFDb");
    EXPECT_EQ(DecodeText("\xEF\xBB\xBF" "\xC0\x80", Latin1).text, u"\uFFFD\uFFFD");
    EXPECT_EQ(DecodeText("\xEF\xBB\xBF" "\xED\xA0\x80" "x", Latin1).text, u"\uFFFD\uFFFD\uFFFDx");
    EXPECT_EQ(DecodeText("\xEF\xBB\xBF" "\xF0\x9F\x98", Latin1).text, u"\uFFFD");
    // A UTF-16 file cut in the middle of a unit.
    EXPECT_EQ(DecodeText(std::string("\xFF\xFE" "A\0B", 5), Latin1).text, u"A\uFFFD");
    // An unpaired surrogate in UTF-16 stays: Windows text may hold one.
    EXPECT_EQ(DecodeText(std::string("\xFF\xFE\x00\xD8" "A\0", 6), Latin1).text, std::u16string({0xD800, u'A'}));
}

TEST(TextDecode, MarksAloneGiveEmptyText)
{
    EXPECT_EQ(DecodeText("\xFF\xFE", Latin1).text, u"");
    EXPECT_EQ(DecodeText("\xFE\xFF", Latin1).text, u"");
    EXPECT_EQ(DecodeText("\xEF\xBB\xBF", Latin1).text, u"");
    EXPECT_EQ(DecodeText("", Latin1).text, u"");
}

}  // namespace
}  // namespace richtext
