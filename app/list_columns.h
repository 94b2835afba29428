#pragma once
// The seven columns of the controller list and their widths, which share the list's client
// width: w = width / 7 each, the MAC column 10 pixels (at 96 DPI) wider and the web column
// as much narrower.

#include <array>

#include "app/pixel_scale.h"
#include "link/controller_text.h"

namespace lumaro {

struct ListColumn {
    unsigned headingId;  // string table identifier of the heading
    int width;           // pixels
};

std::array<ListColumn, kListColumnCount> ControllerListColumns(int clientWidth, PixelScale scale);

}  // namespace lumaro
