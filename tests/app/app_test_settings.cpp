#include "tests/app/app_test_settings.h"

#include <cstdio>
#include <cstdlib>
#include <string_view>

namespace lumaro::apptest {

namespace {

AppTestSettings settings;

}  // namespace

const AppTestSettings& Settings() { return settings; }

bool ReadSettings(int argc, char** argv) {
    struct Option {
        std::string_view name;
        std::string* value;
    };
    std::string dpi = "96";
    const Option options[] = {{"--lumaro=", &settings.lumaroProgram},
                              {"--cli=", &settings.cliProgram},
                              {"--variants=", &settings.variantDirectory},
                              {"--lans=", &settings.lanDirectory},
                              {"--dpi=", &dpi}};
    for (int i = 1; i < argc; ++i) {
        const std::string_view argument = argv[i];
        bool known = false;
        for (const Option& option : options) {
            if (argument.starts_with(option.name)) {
                *option.value = argument.substr(option.name.size());
                known = true;
            }
        }
        if (!known) {
            std::fprintf(stderr, "unknown option %s\n", argv[i]);
            return false;
        }
    }
    settings.dpi = std::atoi(dpi.c_str());
    if (settings.dpi <= 0) {
        std::fprintf(stderr, "--dpi=%s is not a DPI\n", dpi.c_str());
        return false;
    }
    return true;
}

}  // namespace lumaro::apptest
