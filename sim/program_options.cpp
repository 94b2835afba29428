#include "sim/program_options.h"

namespace lumaro::sim {

Parsed<ProgramOptions> ParseProgramOptions(const std::vector<std::string>& arguments) {
    ProgramOptions options;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string& name = arguments[i];
        if (name == "--help" || name == "-h") {
            options.help = true;
            continue;
        }
        if (name == "--version") {
            options.version = true;
            continue;
        }
        if (i + 1 >= arguments.size()) return {std::nullopt, "unknown option or missing value: " + name};
        const std::string& value = arguments[++i];
        if (name == "--netns") options.networkNamespace = value;
        else if (name == "--segment") options.segments.push_back(value);
        else if (name == "--config") options.configFiles.push_back(value);
        else if (name == "--generate") options.generated.push_back(value);
        else if (name == "--log") options.logPath = value;
        else if (name == "--control") options.controlDirectory = value;
        else if (name == "--spray") {
            auto spray = ParseSpray(value);
            if (!spray.value) return {std::nullopt, spray.error};
            options.spray = spray.value;
        }
        else return {std::nullopt, "unknown option " + name};
    }
    if (!options.help && !options.version && options.segments.empty()) {
        return {std::nullopt, "at least one --segment is needed"};
    }
    return {options, {}};
}

}  // namespace lumaro::sim
