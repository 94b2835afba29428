#include "cli/console_texts.h"

#include <array>
#include <utility>

#include "resources/resource.h"
#include "resources/texts.h"

namespace lumaro {

namespace {

constexpr std::array<std::pair<unsigned, const char*>, 12> kTexts{{
    {IDS_MESSAGE_CAPTION, LUMARO_TEXT_MESSAGE_CAPTION},
    {IDS_WEB_ACCESS_FAILED, LUMARO_TEXT_WEB_ACCESS_FAILED},
    {IDS_CONTROLLER_UNREACHABLE, LUMARO_TEXT_CONTROLLER_UNREACHABLE},
    {IDS_SELECT_CONTROLLER_FIRST, LUMARO_TEXT_SELECT_CONTROLLER_FIRST},
    {IDS_CLOCK_SET, LUMARO_TEXT_CLOCK_SET},
    {IDS_CLOCK_NOT_SET, LUMARO_TEXT_CLOCK_NOT_SET},
    {IDS_WEB_ENABLED, LUMARO_TEXT_WEB_ENABLED},
    {IDS_WEB_NOT_ENABLED, LUMARO_TEXT_WEB_NOT_ENABLED},
    {IDS_WEB_LANGUAGE_CHINESE, LUMARO_TEXT_WEB_LANGUAGE_CHINESE},
    {IDS_WEB_LANGUAGE_ENGLISH, LUMARO_TEXT_WEB_LANGUAGE_ENGLISH},
    {IDS_SOCKETS_FAILED, LUMARO_TEXT_SOCKETS_FAILED},
    {IDS_ADDRESS_REFUSED, LUMARO_TEXT_ADDRESS_REFUSED},
}};

unsigned StringIdOf(Outcome outcome) {
    switch (outcome) {
        case Outcome::NoControllerSelected: return IDS_SELECT_CONTROLLER_FIRST;
        case Outcome::WebAccessFailed: return IDS_WEB_ACCESS_FAILED;
        case Outcome::ControllerUnreachable: return IDS_CONTROLLER_UNREACHABLE;
        case Outcome::ClockSet: return IDS_CLOCK_SET;
        case Outcome::ClockNotSet: return IDS_CLOCK_NOT_SET;
        case Outcome::AddressRefused: return IDS_ADDRESS_REFUSED;
    }
    return 0;
}

}  // namespace

std::string ConsoleText(Outcome outcome) { return ConsoleText(StringIdOf(outcome)); }

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

std::string ConsoleText(unsigned stringId) {
    for (const auto& [id, text] : kTexts) {
        if (id == stringId) return text;
    }
    return "message " + std::to_string(stringId);
}

}  // namespace lumaro
