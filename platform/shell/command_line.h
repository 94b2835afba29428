#pragma once
// The program's command-line arguments as UTF-8, where the systems differ: Windows hands
// main() its arguments in the system's code page, in which a file name in Chinese is lost
// unless that page is Chinese; the wide-character command line keeps it.

#include <string>
#include <vector>

namespace lumaro::platform {

// The arguments, the program's name first, each as UTF-8. On Linux `argv` as it is; on
// Windows the process's wide-character command line (`argc` and `argv` unused).
std::vector<std::string> CommandLineArguments(int argc, char** argv);

}  // namespace lumaro::platform
