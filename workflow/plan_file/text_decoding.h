#pragma once
// Text files as spreadsheets save them, decided from their bytes: a byte-order mark (UTF-8,
// or UTF-16 as "Unicode text" is saved), else UTF-8 when every byte sequence is valid
// UTF-8, else the code page of a Chinese Windows, GB18030. The result is always UTF-8.

#include <cstddef>
#include <string>
#include <string_view>

namespace lumaro {

enum class TextEncoding { Utf8, Utf8WithBom, Utf16LittleEndian, Utf16BigEndian, Gb18030 };

// "UTF-8", "UTF-8 with a byte-order mark", "UTF-16LE", "UTF-16BE", "GB18030".
const char* EncodingName(TextEncoding encoding);

struct DecodedText {
    std::string utf8;           // without the byte-order mark
    TextEncoding encoding = TextEncoding::Utf8;
    // Empty when the text was decoded; else why not, for people, and the row (line) where
    // (0: the file as a whole).
    std::string problem;
    std::size_t problemRow = 0;
    bool Decoded() const { return problem.empty(); }
};

// Decodes a file's bytes. Refused: a NUL byte (a binary file, or UTF-16 without its mark), a
// workbook saved as such instead of as CSV, bytes that are valid in none of the encodings.
DecodedText DecodeText(std::string_view bytes);

// Whether `text` is valid UTF-8 (no overlong forms, no surrogates, nothing above U+10FFFF);
// `firstBad` is where the first invalid sequence starts.
bool IsValidUtf8(std::string_view text, std::size_t* firstBad = nullptr);

}  // namespace lumaro
