#include "app/list_columns.h"

#include "resources/resource.h"

namespace lumaro {

namespace {

constexpr int kMacExtraWidth = 10;  // room for the 17 characters of a MAC address

}  // namespace

std::array<ListColumn, kListColumnCount> ControllerListColumns(int clientWidth) {
    const int w = clientWidth / kListColumnCount;  // truncates, as the layout always has
    return {{
        {IDS_COLUMN_SERIAL, w},
        {IDS_COLUMN_IP, w},
        {IDS_COLUMN_MASK, w},
        {IDS_COLUMN_GATEWAY, w},
        {IDS_COLUMN_MAC, w + kMacExtraWidth},
        {IDS_COLUMN_HOST_IP, w},
        {IDS_COLUMN_WEB, w - kMacExtraWidth},
    }};
}

}  // namespace lumaro
