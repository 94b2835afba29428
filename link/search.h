#pragma once

#include "link/controller_link.h"

namespace lumaro {

// The search that every front end runs: reopen one socket per local address (restarting
// the socket layer around it), discover the controllers and sort them by serial.
void SearchControllers(ControllerLink& link);

}  // namespace lumaro
