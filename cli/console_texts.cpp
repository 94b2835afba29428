#include "cli/console_texts.h"

#include "cli/console_language.h"
#include "texts/catalogue.h"
#include "workflow/outcome_text.h"

namespace lumaro {

std::string ConsoleText(Outcome outcome, Language language) {
    return std::string(Text(OutcomeText(outcome), language));
}

std::string ConsoleText(Outcome outcome) { return ConsoleText(outcome, MessageLanguage()); }

std::string VerdictReason(WebEnableVerdict verdict) {
    switch (verdict) {
        case WebEnableVerdict::Done:
        case WebEnableVerdict::Stopped: return {};
        case WebEnableVerdict::NotListedAfter:
            return "the search at the end of its run does not list it";
        case WebEnableVerdict::ListedElsewhere:
            return "the search at the end of its run lists it at another address";
        case WebEnableVerdict::SettingsWriteUnanswered:
            return "no reply to the web settings write, and the search at the end of its run "
                   "lists the web server off";
        case WebEnableVerdict::RestartUnanswered:
            return "no reply to the restart, and the search at the end of its run lists the web "
                   "server off";
        case WebEnableVerdict::WebStillOff:
            return "the search at the end of its run lists the web server off";
    }
    return {};
}

}  // namespace lumaro
