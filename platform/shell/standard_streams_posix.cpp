#include <unistd.h>

#include <cstdio>

#include "platform/shell/standard_streams.h"

namespace lumaro::platform {

bool StandardInputIsTerminal() { return isatty(STDIN_FILENO) == 1; }

void WriteStandardOutputExactly(std::string_view bytes) {
    std::fwrite(bytes.data(), 1, bytes.size(), stdout);
    std::fflush(stdout);
}

}  // namespace lumaro::platform
