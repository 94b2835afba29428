#include "cli/confirmation.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <iostream>
#include <string>

#include "cli/console_language.h"
#include "cli/output_format.h"
#include "platform/shell/standard_streams.h"
#include "texts/catalogue.h"

namespace lumaro {

namespace {

std::string Trimmed(std::string text) {
    const auto space = [](unsigned char c) { return std::isspace(c) != 0; };
    text.erase(text.begin(), std::find_if_not(text.begin(), text.end(), space));
    text.erase(std::find_if_not(text.rbegin(), text.rend(), space).base(), text.end());
    return text;
}

}  // namespace

std::string ConfirmationQuestion(WritesToConfirm writes, Language language) {
    const std::string rewritten = std::to_string(writes.rewritten);
    std::string question;
    if (writes.restarted == 0) {
        question = writes.rewritten == 1
                       ? FormatText(TextId::ConfirmRewritesOne, language, {})
                       : FormatText(TextId::ConfirmRewritesMany, language, {rewritten});
    } else {
        if (writes.restarted < writes.rewritten) {
            question = FormatText(TextId::ConfirmRewritesSomeRestarted, language,
                                  {rewritten, std::to_string(writes.restarted)});
        } else {
            question = writes.rewritten == 1
                           ? FormatText(TextId::ConfirmRewritesAndRestartsOne, language, {})
                           : FormatText(TextId::ConfirmRewritesAndRestartsMany, language,
                                        {rewritten});
        }
        question += Text(TextId::ConfirmRestartWarning, language);
    }
    return question + std::string(Text(TextId::ConfirmTypeYes, language));
}

namespace {

enum class Confirmation {
    Confirmed,   // --yes, or "yes" typed at the terminal
    Declined,    // anything else typed at the terminal
    NoTerminal,  // no --yes and standard input is not a terminal: nobody to ask
};

Confirmation ConfirmBatch(WritesToConfirm writes, bool yes) {
    if (yes) return Confirmation::Confirmed;
    if (!platform::StandardInputIsTerminal()) return Confirmation::NoTerminal;
    std::fputs(ConfirmationQuestion(writes, MessageLanguage()).c_str(), stderr);
    std::fflush(stderr);
    std::string answer;
    if (!std::getline(std::cin, answer)) return Confirmation::Declined;
    answer = Trimmed(answer);
    std::transform(answer.begin(), answer.end(), answer.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return answer == "yes" ? Confirmation::Confirmed : Confirmation::Declined;
}

}  // namespace

std::optional<int> RefusedWritesStatus(WritesToConfirm writes, bool yes) {
    switch (ConfirmBatch(writes, yes)) {
        case Confirmation::Confirmed: return std::nullopt;
        case Confirmation::Declined:
            PrintToStandardError(std::string(Text(TextId::NotConfirmed, MessageLanguage())) + "\n");
            return 1;
        case Confirmation::NoTerminal:
            PrintToStandardError(
                std::string(Text(TextId::NotConfirmedNoTerminal, MessageLanguage())) + "\n");
            return 2;
    }
    return 2;
}

}  // namespace lumaro
