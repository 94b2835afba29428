// lumaro-cli-docs: writes what the build makes from lumaro-cli's command line, the bash
// completion script or the manual page's COMMANDS section (cli/command_line_docs.h).
//
//   lumaro-cli-docs bash-completion | man-commands  FILE

#include <cstdio>
#include <exception>
#include <fstream>
#include <string>

#include "cli/command_line_docs.h"
#include "cli/console_program.h"

int main(int argc, char** argv) {
    const std::string what = argc == 3 ? argv[1] : "";
    if (what != "bash-completion" && what != "man-commands") {
        std::fprintf(stderr, "usage: lumaro-cli-docs bash-completion | man-commands  FILE\n");
        return 2;
    }
    std::string text;
    try {
        CLI::App program;
        int exitCode = 0;
        lumaro::DescribeConsoleProgram(program, exitCode);
        text = what == "bash-completion" ? lumaro::BashCompletion(program) : lumaro::ManPageCommands(program);
    } catch (const std::exception& error) {
        std::fprintf(stderr, "lumaro-cli-docs: %s\n", error.what());
        return 1;
    }
    std::ofstream out(argv[2], std::ios::binary | std::ios::trunc);
    out << text;
    out.close();
    if (!out) {
        std::fprintf(stderr, "lumaro-cli-docs: cannot write %s\n", argv[2]);
        return 1;
    }
    return 0;
}
