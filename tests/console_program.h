#pragma once
// Running the console front end as a program from a test on the LAN: the native one, and the
// Windows one under Wine (which, inside the test's LAN, runs in place with a Wine prefix of
// its own).

#include <sys/wait.h>

#include <algorithm>
#include <cstdio>
#include <string>

namespace lumaro::testing {

struct ProgramResult {
    std::string output;  // standard output (and standard error where the command says 2>&1)
    int exitCode = -1;
};

// Runs a shell command; Windows line ends (CR LF) come back as LF.
inline ProgramResult RunProgram(const std::string& command) {
    ProgramResult result;
    FILE* pipe = popen(command.c_str(), "r");
    if (pipe == nullptr) return result;
    char chunk[4096];
    std::size_t n;
    while ((n = std::fread(chunk, 1, sizeof chunk, pipe)) > 0) result.output.append(chunk, n);
    const int status = pclose(pipe);
    result.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    std::erase(result.output, '\r');
    return result;
}

// One way to start the console program.
struct ConsoleFront {
    const char* name;
    std::string command;  // empty: not built, the test is skipped
};

inline ConsoleFront NativeConsole() { return {"native", LUMARO_CLI_PATH}; }

inline ConsoleFront WindowsConsole() {
    const std::string exe = LUMARO_WINDOWS_CLI_PATH;
    if (FILE* file = std::fopen(exe.c_str(), "rb")) {
        std::fclose(file);
        return {"windows", std::string(LUMARO_WINE_RUN) + " " + exe};
    }
    return {"windows", ""};
}

}  // namespace lumaro::testing
