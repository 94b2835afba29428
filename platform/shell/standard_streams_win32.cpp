#include <fcntl.h>
#include <io.h>

#include <cstdio>

#include "platform/shell/standard_streams.h"

namespace lumaro::platform {

bool StandardInputIsTerminal() { return _isatty(_fileno(stdin)) != 0; }

void WriteStandardOutputExactly(std::string_view bytes) {
    std::fflush(stdout);
    const int previous = _setmode(_fileno(stdout), _O_BINARY);
    std::fwrite(bytes.data(), 1, bytes.size(), stdout);
    std::fflush(stdout);
    if (previous != -1) _setmode(_fileno(stdout), previous);
}

}  // namespace lumaro::platform
