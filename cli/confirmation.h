#pragma once
// The yes that a batch needs before it rewrites and restarts controllers.

#include <cstddef>

namespace lumaro {

enum class Confirmation {
    Confirmed,   // --yes, or "yes" typed at the terminal
    Declined,    // anything else typed at the terminal
    NoTerminal,  // no --yes and standard input is not a terminal: nobody to ask
};

// Confirmed at once with `yes`; otherwise asks on standard error and reads one line from a
// terminal at standard input.
Confirmation ConfirmBatch(std::size_t controllers, bool yes);

}  // namespace lumaro
