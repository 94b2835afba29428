#include <unistd.h>

#include <climits>

#include "platform/system/computer_name.h"

namespace lumaro::platform {

std::string ComputerName() {
    char name[HOST_NAME_MAX + 1] = {};
    if (gethostname(name, sizeof name - 1) != 0) return {};
    return name;
}

}  // namespace lumaro::platform
