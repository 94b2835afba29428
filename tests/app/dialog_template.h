#pragma once
// Reads an extended dialog template (DLGTEMPLATEEX with its DLGITEMTEMPLATEEX items) as
// stored in a program's resources, so that tests can compare it field by field.

#include <windows.h>

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace lumaro::apptest {

struct DialogItem {
    DWORD style = 0;
    DWORD exStyle = 0;
    short x = 0, y = 0, width = 0, height = 0;
    std::int32_t id = 0;
    std::wstring windowClass;  // predefined classes by name: "BUTTON", "EDIT", "STATIC", ...
    std::wstring caption;
};

struct DialogTemplate {
    DWORD style = 0;
    DWORD exStyle = 0;
    short x = 0, y = 0, width = 0, height = 0;
    std::wstring menu;         // empty: none
    std::wstring windowClass;  // empty: the standard dialog class
    std::wstring caption;
    WORD pointSize = 0;
    WORD weight = 0;
    BYTE italic = 0;
    BYTE charset = 0;
    std::wstring typeface;
    std::vector<DialogItem> items;
};

// Nothing when the bytes are not a complete extended template.
std::optional<DialogTemplate> ParseDialogTemplate(std::span<const std::uint8_t> bytes);

}  // namespace lumaro::apptest
