#include "cli/command_line_docs.h"

#include <algorithm>
#include <sstream>
#include <stdexcept>
#include <vector>

namespace lumaro {

namespace {

std::vector<const CLI::App*> Subcommands(const CLI::App& program) {
    return program.get_subcommands([](const CLI::App* command) { return !command->get_name().empty(); });
}

bool Shown(const CLI::Option* option) { return !option->get_group().empty(); }

std::vector<const CLI::Option*> NamedOptions(const CLI::App& command) {
    return command.get_options(
        [](const CLI::Option* option) { return option->nonpositional() && Shown(option); });
}

std::vector<const CLI::Option*> Positionals(const CLI::App& command) {
    return command.get_options(
        [](const CLI::Option* option) { return !option->nonpositional() && Shown(option); });
}

// The name a user types: the first long name, else the first short one.
std::string Spelling(const CLI::Option& option) {
    if (!option.get_lnames().empty()) return "--" + option.get_lnames().front();
    return "-" + option.get_snames().front();
}

bool TakesValue(const CLI::Option& option) { return option.get_expected_max() > 0; }

// An option or argument whose type name is FILE takes a file's name.
bool TakesFile(const CLI::Option& option) { return option.get_type_name() == "FILE"; }

// "tsv|csv|json" gives its three words; any other type name, none.
std::vector<std::string> ValueChoices(const CLI::Option& option) {
    std::vector<std::string> choices;
    const std::string type = option.get_type_name();
    if (type.find('|') == std::string::npos) return choices;
    std::istringstream words(type);
    for (std::string word; std::getline(words, word, '|');) choices.push_back(word);
    return choices;
}

// Names go into the script unquoted: anything but letters, digits and '-' would need care.
const std::string& ShellWord(const std::string& word) {
    for (char c : word) {
        const bool plain = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') ||
                           (c >= '0' && c <= '9') || c == '-';
        if (!plain) throw std::runtime_error("not a plain word for the completion: " + word);
    }
    return word;
}

std::string Joined(const std::vector<std::string>& words) {
    std::string joined;
    for (const std::string& word : words) joined += (joined.empty() ? "" : " ") + ShellWord(word);
    return joined;
}

std::vector<std::string> OptionWords(const CLI::App& command) {
    std::vector<std::string> words;
    for (const CLI::Option* option : NamedOptions(command)) words.push_back(Spelling(*option));
    return words;
}

// Text for a roff line: backslashes escaped, and a leading '.' or '\'' not taken as a request.
std::string Roff(const std::string& text) {
    std::string escaped;
    for (char c : text) escaped += c == '\\' ? std::string("\\e") : std::string(1, c);
    if (!escaped.empty() && (escaped.front() == '.' || escaped.front() == '\'')) escaped = "\\&" + escaped;
    return escaped;
}

// Paragraphs of a description joined with `separator` (a roff request line).
std::string RoffParagraphs(const std::string& text, const std::string& separator) {
    std::istringstream lines(text);
    std::string out;
    for (std::string line; std::getline(lines, line);) {
        if (!out.empty()) out += "\n" + separator + "\n";
        out += Roff(line);
    }
    return out;
}

// An option's name in bold with minus signs, and its value's type in italics.
std::string RoffOptionName(const CLI::Option& option) {
    std::string name;
    for (char c : Spelling(option)) name += c == '-' ? std::string("\\-") : std::string(1, c);
    std::string text = "\\fB" + name + "\\fR";
    if (TakesValue(option)) text += " \\fI" + Roff(option.get_type_name()) + "\\fR";
    return text;
}

std::string RoffPositionalName(const CLI::Option& option) {
    std::string text = "\\fI" + Roff(option.get_name()) + "\\fR";
    if (option.get_expected_max() > 1) text += "...";
    return option.get_required() ? text : "[" + text + "]";
}

}  // namespace

std::string BashCompletion(const CLI::App& program) {
    const std::string name = program.get_name();
    std::string function = "_" + ShellWord(name);
    for (char& c : function) c = c == '-' ? '_' : c;

    std::string valueCases, commandCases;
    std::vector<std::string> topWords;
    for (const CLI::App* command : Subcommands(program)) {
        const std::string commandName = ShellWord(command->get_name());
        topWords.push_back(commandName);
        for (const CLI::Option* option : NamedOptions(*command)) {
            if (!TakesValue(*option)) continue;
            valueCases += "        \"" + commandName + " " + Spelling(*option) + "\") words=\"" +
                          Joined(ValueChoices(*option)) + "\"" + (TakesFile(*option) ? " files=1" : "") +
                          " ;;\n";
        }
        const auto positionals = Positionals(*command);
        const bool takesFiles = std::any_of(positionals.begin(), positionals.end(),
                                            [](const CLI::Option* option) { return TakesFile(*option); });
        commandCases += "            " + commandName + ") words=\"" + Joined(OptionWords(*command)) + "\"" +
                        (takesFiles ? "; [[ $cur == -* ]] || files=1" : "") + " ;;\n";
    }
    for (const std::string& word : OptionWords(program)) topWords.push_back(word);

    std::ostringstream script;
    script << "# bash completion for " << name << ": its commands, their options and the values of\n"
              "# the options that have a fixed set. Made by the build from "
           << name << "'s own command line.\n\n"
           << function << "() {\n"
              "    local cur=${COMP_WORDS[COMP_CWORD]} prev=${COMP_WORDS[COMP_CWORD - 1]}\n"
              "    local command=\"\" words i files=0\n"
              "    # The command is the first word that is not an option (none before it takes a value).\n"
              "    for ((i = 1; i < COMP_CWORD; i++)); do\n"
              "        if [[ ${COMP_WORDS[i]} != -* ]]; then command=${COMP_WORDS[i]}; break; fi\n"
              "    done\n"
              "    case \"$command $prev\" in\n"
           << valueCases
           << "        *)\n"
              "            case $command in\n"
              "            \"\") words=\""
           << Joined(topWords) << "\" ;;\n"
           << commandCases
           << "            *) words=\"\" ;;\n"
              "            esac ;;\n"
              "    esac\n"
              "    COMPREPLY=()\n"
              "    if [[ $files == 1 ]]; then\n"
              "        compopt -o filenames 2>/dev/null\n"
              "        mapfile -t COMPREPLY < <(compgen -f -- \"$cur\")\n"
              "    elif [[ -n $words ]]; then\n"
              "        mapfile -t COMPREPLY < <(compgen -W \"$words\" -- \"$cur\")\n"
              "    fi\n"
              "}\n"
              "complete -F "
           << function << " " << name << "\n";
    return script.str();
}

std::string ManPageCommands(const CLI::App& program) {
    std::ostringstream page;
    page << "[COMMANDS]\n";
    for (const CLI::App* command : Subcommands(program)) {
        // The synopsis on one line: help2man would take a line that starts with '[' for the
        // start of a section.
        page << ".SS \"" << Roff(command->get_name()) << "\"\n"
             << "\\fB" << Roff(program.get_name()) << " " << Roff(command->get_name()) << "\\fR";
        const auto options = NamedOptions(*command);
        if (!options.empty()) page << " [\\fIOPTIONS\\fR]";
        for (const CLI::Option* positional : Positionals(*command)) page << " " << RoffPositionalName(*positional);
        page << "\n.PP\n" << RoffParagraphs(command->get_description(), ".PP") << "\n";
        for (const CLI::Option* positional : Positionals(*command)) {
            page << ".TP\n\\fI" << Roff(positional->get_name()) << "\\fR\n"
                 << RoffParagraphs(positional->get_description(), ".br") << "\n";
        }
        for (const CLI::Option* option : options) {
            page << ".TP\n" << RoffOptionName(*option) << "\n"
                 << RoffParagraphs(option->get_description(), ".br") << "\n";
        }
    }
    return page.str();
}

}  // namespace lumaro
