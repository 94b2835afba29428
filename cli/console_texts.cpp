#include "cli/console_texts.h"

#include "cli/console_language.h"
#include "texts/catalogue.h"
#include "workflow/outcome_text.h"

namespace lumaro {

std::string ConsoleText(Outcome outcome, Language language) {
    return std::string(Text(OutcomeText(outcome), language));
}

std::string ConsoleText(Outcome outcome) { return ConsoleText(outcome, MessageLanguage()); }

std::string ConsoleLine(TextId id, std::initializer_list<std::string_view> values) {
    return FormatText(id, MessageLanguage(), values);
}

std::string VerdictReason(WebEnableVerdict verdict, Language language) {
    const auto text = [language](TextId id) { return std::string(Text(id, language)); };
    switch (verdict) {
        case WebEnableVerdict::Done:
        case WebEnableVerdict::Stopped: return {};
        case WebEnableVerdict::NotListedAfter: return text(TextId::ConsoleNotListedAfter);
        case WebEnableVerdict::ListedElsewhere: return text(TextId::ConsoleListedElsewhere);
        case WebEnableVerdict::SettingsWriteUnanswered:
            return text(TextId::ConsoleSettingsUnanswered);
        case WebEnableVerdict::RestartUnanswered: return text(TextId::ConsoleRestartUnanswered);
        case WebEnableVerdict::WebStillOff: return text(TextId::ConsoleWebStillOff);
    }
    return {};
}

}  // namespace lumaro
