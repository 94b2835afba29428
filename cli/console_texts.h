#pragma once
// The texts that the console prints for what the procedures tell and how it judged a run
// (UTF-8). What the window also shows comes from the same catalogue as the window's, in the
// console's language (cli/console_language.h).

#include <initializer_list>
#include <string>
#include <string_view>

#include "texts/language.h"
#include "texts/text_id.h"
#include "workflow/outcome.h"
#include "workflow/web_enable_verdict.h"

namespace lumaro {

// The window's message for `outcome` in `language`.
std::string ConsoleText(Outcome outcome, Language language);
// The same in the console's language.
std::string ConsoleText(Outcome outcome);

// A line of the console's own in the console's language, its "{1}"... filled with `values`.
std::string ConsoleLine(TextId id, std::initializer_list<std::string_view> values = {});

// Why a one-click run that reached its end is not done, for people: "no reply to the web
// settings write, and the last search lists the web server off". Empty for Done and Stopped.
// Without a language, English: the batch's summary is for scripts too.
std::string VerdictReason(WebEnableVerdict verdict, Language language = Language::English);

}  // namespace lumaro
