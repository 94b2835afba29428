#pragma once
// Running the console front end as a program from a test on the LAN: the native one, and the
// Windows one under Wine (which, inside the test's LAN, runs in place with a Wine prefix of
// its own).

#include <pty.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <string>

namespace lumaro::testing {

struct ProgramResult {
    std::string output;  // standard output (and standard error where the command says 2>&1)
    int exitCode = -1;
    std::string errors;  // standard error, for RunProgramSeparately
};

// Runs a shell command; its output comes back byte for byte.
inline ProgramResult RunProgramExactly(const std::string& command) {
    ProgramResult result;
    FILE* pipe = popen(command.c_str(), "r");
    if (pipe == nullptr) return result;
    char chunk[4096];
    std::size_t n;
    while ((n = std::fread(chunk, 1, sizeof chunk, pipe)) > 0) result.output.append(chunk, n);
    const int status = pclose(pipe);
    result.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return result;
}

// Runs a shell command; Windows line ends (CR LF) come back as LF.
inline ProgramResult RunProgram(const std::string& command) {
    ProgramResult result = RunProgramExactly(command);
    std::erase(result.output, '\r');
    return result;
}

// Runs a shell command with its standard error kept apart from its output; line ends as LF.
inline ProgramResult RunProgramSeparately(const std::string& command) {
    char path[] = "/tmp/lumaro-stderr.XXXXXX";
    const int file = mkstemp(path);
    if (file < 0) return {};
    close(file);
    ProgramResult result = RunProgram(command + " 2>" + path);
    if (FILE* errors = std::fopen(path, "rb")) {
        char chunk[4096];
        std::size_t n;
        while ((n = std::fread(chunk, 1, sizeof chunk, errors)) > 0) result.errors.append(chunk, n);
        std::fclose(errors);
    }
    std::remove(path);
    std::erase(result.errors, '\r');
    return result;
}

// Runs a shell command on a terminal of its own (a pseudo-terminal for its standard input,
// output and error) and types `answer` there once its output shows `prompt`. The output is
// everything the terminal showed (the typed answer included), line ends as LF.
inline ProgramResult RunOnTerminal(const std::string& command, const std::string& prompt,
                                   const std::string& answer) {
    ProgramResult result;
    int terminal = -1;
    const pid_t child = forkpty(&terminal, nullptr, nullptr, nullptr);
    if (child < 0) return result;
    if (child == 0) {
        execl("/bin/sh", "sh", "-c", command.c_str(), static_cast<char*>(nullptr));
        _exit(127);
    }
    bool answered = false;
    char chunk[4096];
    for (;;) {
        const ssize_t n = read(terminal, chunk, sizeof chunk);
        if (n <= 0) break;  // the program has ended and closed its side of the terminal
        result.output.append(chunk, static_cast<std::size_t>(n));
        if (!answered && result.output.find(prompt) != std::string::npos) {
            answered = write(terminal, answer.data(), answer.size()) ==
                       static_cast<ssize_t>(answer.size());
        }
    }
    close(terminal);
    int status = 0;
    waitpid(child, &status, 0);
    result.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    std::erase(result.output, '\r');
    return result;
}

// One way to start the console program.
struct ConsoleFront {
    const char* name;
    std::string command;  // empty: not built, and the test fails saying so
};

inline ConsoleFront NativeConsole() { return {"native", LUMARO_CLI_PATH}; }

inline ConsoleFront WindowsConsole() {
    const std::string exe = LUMARO_WINDOWS_CLI_PATH;
    if (FILE* file = std::fopen(exe.c_str(), "rb")) {
        std::fclose(file);
        std::string command = LUMARO_WINE_RUN;  // appended: GCC 12 misreads a + b + c here
        command += ' ';
        command += exe;
        return {"windows", command};
    }
    return {"windows", ""};
}

// A test of each console program. One that is not built fails the test: a suite that
// passes without having run its Windows half would prove nothing about it.
//   class ConsoleSearch : public testing::ConsoleTest { ... };
//   INSTANTIATE_TEST_SUITE_P(NativeAndWindows, ConsoleSearch, testing::BothConsoles(),
//                            testing::ConsoleName);
class ConsoleTest : public ::testing::TestWithParam<ConsoleFront> {
protected:
    void SetUp() override {
        if (GetParam().command.empty()) {
            FAIL() << LUMARO_WINDOWS_CLI_PATH
                   << " is not built: build the Windows side first (scripts/build.sh windows)";
        }
    }
    bool Windows() const { return std::string(GetParam().name) == "windows"; }
};

inline auto BothConsoles() { return ::testing::Values(NativeConsole(), WindowsConsole()); }

inline std::string ConsoleName(const ::testing::TestParamInfo<ConsoleFront>& info) {
    return info.param.name;
}

}  // namespace lumaro::testing
