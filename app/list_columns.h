#pragma once
// The seven columns of the controller list and their widths, which share the list's client
// width: w = width / 7 each, the MAC column 10 pixels wider and the web column 10 narrower.

#include <array>

#include "link/controller_text.h"

namespace lumaro {

struct ListColumn {
    unsigned headingId;  // string table identifier of the heading
    int width;           // pixels
};

std::array<ListColumn, kListColumnCount> ControllerListColumns(int clientWidth);

}  // namespace lumaro
