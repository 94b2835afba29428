#include "app/dialog_title.h"

namespace lumaro {

std::wstring TitleVersion(std::wstring_view productVersion) {
    const std::size_t firstDot = productVersion.find(L'.');
    if (firstDot == std::wstring_view::npos) return {};
    const std::size_t secondDot = productVersion.find(L'.', firstDot + 1);
    if (secondDot == std::wstring_view::npos) return {};
    return std::wstring(productVersion.substr(0, secondDot));
}

std::wstring TitleWithVersion(std::wstring_view caption, std::wstring_view productVersion) {
    std::wstring title(caption);
    title += L"--V";
    title += TitleVersion(productVersion);
    return title;
}

}  // namespace lumaro
