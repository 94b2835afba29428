#include "cli/console_texts.h"

#include <array>
#include <utility>

#include "cli/console_language.h"
#include "resources/resource.h"
#include "texts/catalogue.h"

namespace lumaro {

namespace {

constexpr std::array<std::pair<unsigned, TextId>, 12> kTexts{{
    {IDS_MESSAGE_CAPTION, TextId::MessageCaption},
    {IDS_WEB_ACCESS_FAILED, TextId::WebAccessFailed},
    {IDS_CONTROLLER_UNREACHABLE, TextId::ControllerUnreachable},
    {IDS_SELECT_CONTROLLER_FIRST, TextId::SelectControllerFirst},
    {IDS_CLOCK_SET, TextId::ClockSet},
    {IDS_CLOCK_NOT_SET, TextId::ClockNotSet},
    {IDS_WEB_ENABLED, TextId::WebEnabled},
    {IDS_WEB_NOT_ENABLED, TextId::WebNotEnabled},
    {IDS_WEB_LANGUAGE_CHINESE, TextId::WebLanguageChinese},
    {IDS_WEB_LANGUAGE_ENGLISH, TextId::WebLanguageEnglish},
    {IDS_SOCKETS_FAILED, TextId::SocketsFailed},
    {IDS_ADDRESS_REFUSED, TextId::AddressRefused},
}};

}  // namespace

std::string ConsoleText(unsigned stringId, Language language) {
    for (const auto& [id, text] : kTexts) {
        if (id == stringId) return std::string(Text(text, language));
    }
    return "message " + std::to_string(stringId);
}

std::string ConsoleText(unsigned stringId) { return ConsoleText(stringId, MessageLanguage()); }

}  // namespace lumaro
