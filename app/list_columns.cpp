#include "app/list_columns.h"

#include "resources/resource.h"

namespace lumaro {

namespace {

constexpr int kMacExtraWidth = 10;  // at 96 DPI: room for the 17 characters of a MAC address

}  // namespace

std::array<ListColumn, kListColumnCount> ControllerListColumns(int clientWidth, PixelScale scale) {
    const int w = clientWidth / kListColumnCount;  // truncates, as the layout always has
    const int macExtra = scale(kMacExtraWidth);
    return {{
        {IDS_COLUMN_SERIAL, w},
        {IDS_COLUMN_IP, w},
        {IDS_COLUMN_MASK, w},
        {IDS_COLUMN_GATEWAY, w},
        {IDS_COLUMN_MAC, w + macExtra},
        {IDS_COLUMN_HOST_IP, w},
        {IDS_COLUMN_WEB, w - macExtra},
    }};
}

}  // namespace lumaro
