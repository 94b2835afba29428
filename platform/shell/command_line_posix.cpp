#include "platform/shell/command_line.h"

namespace lumaro::platform {

std::vector<std::string> CommandLineArguments(int argc, char** argv) {
    return std::vector<std::string>(argv, argv + argc);
}

}  // namespace lumaro::platform
