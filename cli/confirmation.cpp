#include "cli/confirmation.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <iostream>
#include <string>

#include "cli/output_format.h"
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

std::string ConfirmationQuestion(WritesToConfirm writes) {
    const auto controllers = [](std::size_t count) {
        return std::to_string(count) + (count == 1 ? " controller" : " controllers");
    };
    std::string question;
    if (writes.restarted == 0) {
        question = "This rewrites " + controllers(writes.rewritten) + ".";
    } else {
        question = writes.restarted == writes.rewritten
                       ? "This rewrites and restarts " + controllers(writes.rewritten)
                       : "This rewrites " + controllers(writes.rewritten) + " and restarts " +
                             std::to_string(writes.restarted) + " of them";
        question += " (a restart can briefly interrupt a door).";
    }
    return question + " Type yes to go on: ";
}

Confirmation ConfirmBatch(WritesToConfirm writes, bool yes) {
    if (yes) return Confirmation::Confirmed;
    if (!platform::StandardInputIsTerminal()) return Confirmation::NoTerminal;
    std::fputs(ConfirmationQuestion(writes).c_str(), stderr);
    std::fflush(stderr);
    std::string answer;
    if (!std::getline(std::cin, answer)) return Confirmation::Declined;
    answer = Trimmed(answer);
    std::transform(answer.begin(), answer.end(), answer.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return answer == "yes" ? Confirmation::Confirmed : Confirmation::Declined;
}

std::optional<int> RefusedWritesStatus(WritesToConfirm writes, bool yes) {
    switch (ConfirmBatch(writes, yes)) {
        case Confirmation::Confirmed: return std::nullopt;
        case Confirmation::Declined:
            PrintToStandardError("Not confirmed: nothing was written.\n");
            return 1;
        case Confirmation::NoTerminal:
            PrintToStandardError(
                "Not confirmed: no terminal to answer at. Add --yes to go on without a "
                "question; nothing was written.\n");
            return 2;
    }
    return 2;
}

}  // namespace lumaro
