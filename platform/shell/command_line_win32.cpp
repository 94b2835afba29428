#include <windows.h>
#include <shellapi.h>

#include "platform/shell/command_line.h"
#include "platform/shell/utf8_win32.h"

namespace lumaro::platform {

std::vector<std::string> CommandLineArguments(int argc, char** argv) {
    int count = 0;
    LPWSTR* wide = CommandLineToArgvW(GetCommandLineW(), &count);
    if (wide == nullptr) return std::vector<std::string>(argv, argv + argc);
    std::vector<std::string> arguments;
    for (int i = 0; i < count; ++i) arguments.push_back(Utf8FromWide(wide[i]));
    LocalFree(wide);
    return arguments;
}

}  // namespace lumaro::platform
