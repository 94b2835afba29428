#include "app/string_table.h"

namespace lumaro {

std::wstring LoadText(HINSTANCE module, UINT id) {
    // With a buffer length of 0 the system hands out a pointer into the resource itself,
    // which is not terminated: the returned length is the whole text.
    const wchar_t* text = nullptr;
    const int length = LoadStringW(module, id, reinterpret_cast<LPWSTR>(&text), 0);
    if (length <= 0 || text == nullptr) return {};
    return std::wstring(text, static_cast<std::size_t>(length));
}

}  // namespace lumaro
