#pragma once
// The application: process start-up around the main dialog. It owns the controller link,
// the one set of sockets, tables and buffers of the process.

#include <windows.h>

#include "link/controller_link.h"

namespace lumaro {

class CLumaroApp {
public:
    CLumaroApp() = default;
    CLumaroApp(const CLumaroApp&) = delete;
    CLumaroApp& operator=(const CLumaroApp&) = delete;

    // Registers the controls and the restart, starts the socket layer and runs the main
    // dialog; gives the process's exit code.
    int Run(HINSTANCE instance);

private:
    ControllerLink link_;
};

}  // namespace lumaro
