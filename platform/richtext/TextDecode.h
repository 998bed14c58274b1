// Turns the bytes of a plain-text file into UTF-16 the way a user's editor
// saved them: UTF-16 with a byte-order mark (little or big endian), UTF-8 with
// or without one, otherwise the ANSI code page.
//
// Standard C++ only, so that it also builds natively (for fuzzing); the ANSI
// conversion is handed in by the caller.
#pragma once

#include <functional>
#include <string>
#include <string_view>

namespace richtext {

enum class TextEncoding { Utf16Le, Utf16Be, Utf8Bom, Utf8, Ansi };

struct DecodedText {
    std::u16string text;  // without the byte-order mark
    TextEncoding encoding;
};

// Converts bytes in the ANSI code page to UTF-16.
using AnsiDecoder = std::function<std::u16string(std::string_view)>;

// Never fails: broken sequences in a file marked as UTF-8 or UTF-16 become
// U+FFFD; bytes that are not valid UTF-8 and carry no mark go to `ansi`.
DecodedText DecodeText(std::string_view bytes, const AnsiDecoder& ansi);

// Well-formed UTF-8 as Unicode defines it: no overlong forms, no surrogates,
// nothing above U+10FFFF.
bool IsValidUtf8(std::string_view bytes);

}  // namespace richtext
