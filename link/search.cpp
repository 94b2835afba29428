#include "link/search.h"

namespace lumaro {

void SearchControllers(ControllerLink& link) {
    link.CloseInterfaceSockets();
    link.OpenInterfaceSockets();
    link.DiscoverControllers();
    link.SortBySerial();
}

void OpenListingTable(ControllerLink& link, const ControllerTable& table) {
    link.CloseInterfaceSockets();
    link.OpenInterfaceSockets();
    link.Table() = table;
}

void CloseSearchedSockets(ControllerLink& link) { link.CloseInterfaceSockets(); }

}  // namespace lumaro
