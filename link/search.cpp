#include "link/search.h"

#include "platform/socket_layer.h"

namespace lumaro {

namespace {

void OpenSockets(ControllerLink& link) {
    platform::StartSocketLayer(2, 2);  // its result is not examined: a failure shows as no socket
    link.OpenInterfaceSockets();
}

}  // namespace

void SearchControllers(ControllerLink& link) {
    CloseSearchedSockets(link);
    OpenSockets(link);
    link.DiscoverControllers();
    link.SortBySerial();
}

void OpenListingTable(ControllerLink& link, const ControllerTable& table) {
    CloseSearchedSockets(link);
    OpenSockets(link);
    link.Table() = table;
}

void CloseSearchedSockets(ControllerLink& link) {
    if (link.InterfaceCount() == 0) return;
    link.CloseInterfaceSockets();
    platform::StopSocketLayer();
}

}  // namespace lumaro
