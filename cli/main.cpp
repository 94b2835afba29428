// Console front end: runs the same search as the dialog and prints the controller list.

#include <cstdio>
#include <cstring>
#include <string>

#include "cli/search_report.h"
#include "link/controller_link.h"
#include "link/search.h"

int main(int argc, char** argv) {
    if (argc != 2 || std::strcmp(argv[1], "search") != 0) {
        std::fputs("usage: lumaro-cli search\n", stderr);
        return 2;
    }
    lumaro::ControllerLink link;
    lumaro::SearchControllers(link);
    const std::string report = lumaro::SearchReport(link.Table());
    std::fwrite(report.data(), 1, report.size(), stdout);
    return 0;
}
