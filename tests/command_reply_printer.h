#pragma once
// GoogleTest prints a CommandReply by its name.

#include <ostream>

#include "link/command_reply.h"

namespace lumaro {

inline void PrintTo(CommandReply reply, std::ostream* out) { *out << Describe(reply); }

}  // namespace lumaro
