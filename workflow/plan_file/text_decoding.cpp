#include "workflow/plan_file/text_decoding.h"

#include <algorithm>
#include <cstdint>

#include "platform/shell/text_encoding.h"

namespace lumaro {

namespace {

constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";
constexpr std::string_view kUtf16LeBom = "\xFF\xFE";
constexpr std::string_view kUtf16BeBom = "\xFE\xFF";
// What a workbook saved as such (not as CSV) starts with: a zip archive (.xlsx, .ods) or an
// OLE compound file (.xls).
constexpr std::string_view kZipStart = "PK\x03\x04";
constexpr std::string_view kCompoundFileStart = "\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1";

// The 1-based line on which byte `offset` of `text` stands (a line ends with LF, CR LF or
// CR alone).
std::size_t LineOf(std::string_view text, std::size_t offset) {
    std::size_t line = 1;
    for (std::size_t i = 0; i < offset && i < text.size(); ++i) {
        if (text[i] == '\n' || (text[i] == '\r' && (i + 1 >= text.size() || text[i + 1] != '\n'))) {
            ++line;
        }
    }
    return line;
}

void AppendUtf8(std::string& out, std::uint32_t codePoint) {
    if (codePoint < 0x80) {
        out += static_cast<char>(codePoint);
    } else if (codePoint < 0x800) {
        out += static_cast<char>(0xC0 | (codePoint >> 6));
        out += static_cast<char>(0x80 | (codePoint & 0x3F));
    } else if (codePoint < 0x10000) {
        out += static_cast<char>(0xE0 | (codePoint >> 12));
        out += static_cast<char>(0x80 | ((codePoint >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (codePoint & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (codePoint >> 18));
        out += static_cast<char>(0x80 | ((codePoint >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((codePoint >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (codePoint & 0x3F));
    }
}

// UTF-16 after its mark, as UTF-8; false at an odd length or a lone surrogate.
bool Utf8FromUtf16(std::string_view bytes, bool littleEndian, std::string& out,
                   std::size_t& badUnit) {
    const auto unit = [&](std::size_t i) -> std::uint32_t {
        const auto first = static_cast<std::uint8_t>(bytes[2 * i]);
        const auto second = static_cast<std::uint8_t>(bytes[2 * i + 1]);
        return littleEndian ? first | (second << 8) : (first << 8) | second;
    };
    const std::size_t units = bytes.size() / 2;
    for (std::size_t i = 0; i < units; ++i) {
        std::uint32_t codePoint = unit(i);
        if (codePoint >= 0xD800 && codePoint <= 0xDBFF) {
            const std::uint32_t low = i + 1 < units ? unit(i + 1) : 0;
            if (low < 0xDC00 || low > 0xDFFF) {
                badUnit = i;
                return false;
            }
            codePoint = 0x10000 + ((codePoint - 0xD800) << 10) + (low - 0xDC00);
            ++i;
        } else if (codePoint >= 0xDC00 && codePoint <= 0xDFFF) {
            badUnit = i;
            return false;
        }
        AppendUtf8(out, codePoint);
    }
    badUnit = units;
    return bytes.size() % 2 == 0;
}

DecodedText Problem(std::string problem, std::size_t row = 0) {
    DecodedText text;
    text.problem = std::move(problem);
    text.problemRow = row;
    return text;
}

}  // namespace

const char* EncodingName(TextEncoding encoding) {
    switch (encoding) {
        case TextEncoding::Utf8: return "UTF-8";
        case TextEncoding::Utf8WithBom: return "UTF-8 with a byte-order mark";
        case TextEncoding::Utf16LittleEndian: return "UTF-16LE";
        case TextEncoding::Utf16BigEndian: return "UTF-16BE";
        case TextEncoding::Gb18030: return "GB18030";
    }
    return "";
}

bool IsValidUtf8(std::string_view text, std::size_t* firstBad) {
    std::size_t i = 0;
    const auto bad = [&] {
        if (firstBad != nullptr) *firstBad = i;
        return false;
    };
    while (i < text.size()) {
        const auto lead = static_cast<std::uint8_t>(text[i]);
        std::size_t length = 0;
        std::uint32_t codePoint = 0;
        if (lead < 0x80) {
            ++i;
            continue;
        }
        if (lead >= 0xC2 && lead <= 0xDF) {
            length = 2;
            codePoint = lead & 0x1F;
        } else if (lead >= 0xE0 && lead <= 0xEF) {
            length = 3;
            codePoint = lead & 0x0F;
        } else if (lead >= 0xF0 && lead <= 0xF4) {
            length = 4;
            codePoint = lead & 0x07;
        } else {
            return bad();
        }
        if (i + length > text.size()) return bad();
        for (std::size_t k = 1; k < length; ++k) {
            const auto next = static_cast<std::uint8_t>(text[i + k]);
            if ((next & 0xC0) != 0x80) return bad();
            codePoint = (codePoint << 6) | (next & 0x3F);
        }
        const bool overlong = (length == 3 && codePoint < 0x800) || (length == 4 && codePoint < 0x10000);
        const bool surrogate = codePoint >= 0xD800 && codePoint <= 0xDFFF;
        if (overlong || surrogate || codePoint > 0x10FFFF) return bad();
        i += length;
    }
    return true;
}

DecodedText DecodeText(std::string_view bytes) {
    if (bytes.starts_with(kZipStart)) {
        return Problem("the file is a workbook (.xlsx) or another zip archive, not CSV: save "
                       "it from the spreadsheet as CSV");
    }
    if (bytes.starts_with(kCompoundFileStart)) {
        return Problem("the file is an Excel 97-2003 workbook (.xls), not CSV: save it from the "
                       "spreadsheet as CSV");
    }
    DecodedText text;
    if (bytes.starts_with(kUtf16LeBom) || bytes.starts_with(kUtf16BeBom)) {
        const bool little = bytes.starts_with(kUtf16LeBom);
        text.encoding = little ? TextEncoding::Utf16LittleEndian : TextEncoding::Utf16BigEndian;
        std::size_t badUnit = 0;
        if (!Utf8FromUtf16(bytes.substr(2), little, text.utf8, badUnit)) {
            return Problem(std::string("the file starts with the byte-order mark of ") +
                               EncodingName(text.encoding) + " but is not " +
                               EncodingName(text.encoding) + " text from there on",
                           LineOf(text.utf8, text.utf8.size()));
        }
    } else if (bytes.starts_with(kUtf8Bom)) {
        text.encoding = TextEncoding::Utf8WithBom;
        text.utf8 = std::string(bytes.substr(kUtf8Bom.size()));
        std::size_t bad = 0;
        if (!IsValidUtf8(text.utf8, &bad)) {
            return Problem("the file starts with the UTF-8 byte-order mark but is not UTF-8 text "
                           "there",
                           LineOf(text.utf8, bad));
        }
    } else if (IsValidUtf8(bytes)) {
        text.utf8 = std::string(bytes);
    } else {
        text.encoding = TextEncoding::Gb18030;
        std::optional<std::string> decoded = platform::Utf8FromGb18030(bytes);
        if (!decoded) {
            std::size_t bad = 0;
            IsValidUtf8(bytes, &bad);
            return Problem("the file is neither UTF-8 nor GB18030 (GBK) text there; save it from "
                           "the spreadsheet as CSV, or as CSV UTF-8",
                           LineOf(bytes, bad));
        }
        text.utf8 = std::move(*decoded);
    }
    if (const auto nul = text.utf8.find('\0'); nul != std::string::npos) {
        return Problem("the file holds a NUL byte: it is not a text file (UTF-16 text needs its "
                       "byte-order mark)",
                       LineOf(text.utf8, nul));
    }
    return text;
}

}  // namespace lumaro
