#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include "platform/browser.h"

namespace lumaro::platform {

bool OpenInBrowser(const std::string& pageAddress) {
    // xdg-open may wait for the browser it starts: run it as a grandchild, so that it is
    // nobody's child to wait for here and leaves no zombie behind.
    const pid_t child = fork();
    if (child < 0) return false;
    if (child == 0) {
        pid_t opener = 0;
        char program[] = "xdg-open";
        char* const arguments[] = {program, const_cast<char*>(pageAddress.c_str()), nullptr};
        const int started = posix_spawnp(&opener, program, nullptr, nullptr, arguments, environ);
        _exit(started == 0 ? 0 : 1);
    }
    int status = 0;
    while (waitpid(child, &status, 0) < 0) {
    }
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

}  // namespace lumaro::platform
