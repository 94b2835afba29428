#include "app/wide_text.h"

namespace lumaro {

std::wstring WidenAscii(std::string_view text) {
    std::wstring wide;
    wide.reserve(text.size());
    for (char c : text) wide.push_back(static_cast<wchar_t>(static_cast<unsigned char>(c)));
    return wide;
}

}  // namespace lumaro
