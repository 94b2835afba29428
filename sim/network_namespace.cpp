#include "sim/network_namespace.h"

#include <fcntl.h>
#include <sched.h>

#include <cerrno>
#include <cstring>

#include "platform/net/descriptor_posix.h"

namespace lumaro::sim {

std::optional<std::string> EnterNetworkNamespace(const std::string& name) {
    if (name.empty()) return std::nullopt;
    const std::string path = "/run/netns/" + name;
    platform::Descriptor handle(::open(path.c_str(), O_RDONLY | O_CLOEXEC));
    if (!handle.Valid()) return "cannot open " + path + ": " + std::strerror(errno);
    if (::setns(handle.Get(), CLONE_NEWNET) != 0) {
        return "cannot enter network namespace \"" + name + "\": " + std::strerror(errno);
    }
    return std::nullopt;
}

}  // namespace lumaro::sim
