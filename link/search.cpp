#include "link/search.h"

#include "platform/socket_layer.h"

namespace lumaro {

void SearchControllers(ControllerLink& link) {
    if (link.InterfaceCount() > 0) {
        link.CloseInterfaceSockets();
        platform::StopSocketLayer();
    }
    platform::StartSocketLayer(2, 2);  // its result is not examined: a failure shows as no socket
    link.OpenInterfaceSockets();
    link.DiscoverControllers();
    link.SortBySerial();
}

}  // namespace lumaro
