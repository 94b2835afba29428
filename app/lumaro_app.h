#pragma once
// The application: process start-up around the main dialog. It owns the controller link,
// the one set of sockets, tables and buffers of the process.

#include <windows.h>

#include "app/queue_heartbeat.h"
#include "link/controller_link.h"

namespace lumaro {

class CLumaroApp {
public:
    CLumaroApp();
    CLumaroApp(const CLumaroApp&) = delete;
    CLumaroApp& operator=(const CLumaroApp&) = delete;

    // Registers the controls and the restart, starts the socket layer and runs the main
    // dialog; gives the process's exit code.
    int Run(HINSTANCE instance);

private:
    // The dialog's thread beats its queue while the link waits (declared first: the link
    // is made with it).
    QueueHeartbeat heartbeat_;
    ControllerLink link_;
};

}  // namespace lumaro
