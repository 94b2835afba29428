#include "cli/confirmation.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <iostream>
#include <string>

#include "platform/shell/standard_streams.h"

namespace lumaro {

namespace {

std::string Trimmed(std::string text) {
    const auto space = [](unsigned char c) { return std::isspace(c) != 0; };
    text.erase(text.begin(), std::find_if_not(text.begin(), text.end(), space));
    text.erase(std::find_if_not(text.rbegin(), text.rend(), space).base(), text.end());
    return text;
}

}  // namespace

Confirmation ConfirmBatch(std::size_t controllers, bool yes) {
    if (yes) return Confirmation::Confirmed;
    if (!platform::StandardInputIsTerminal()) return Confirmation::NoTerminal;
    std::fprintf(stderr,
                 "This rewrites and restarts %zu controller%s (a restart can briefly interrupt "
                 "a door). Type yes to go on: ",
                 controllers, controllers == 1 ? "" : "s");
    std::fflush(stderr);
    std::string answer;
    if (!std::getline(std::cin, answer)) return Confirmation::Declined;
    answer = Trimmed(answer);
    std::transform(answer.begin(), answer.end(), answer.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return answer == "yes" ? Confirmation::Confirmed : Confirmation::Declined;
}

}  // namespace lumaro
