#pragma once
// The texts that the console prints for what the procedures tell and how it judged a run
// (UTF-8). What the window also shows is its string table's text.

#include <string>

#include "workflow/outcome.h"
#include "workflow/web_enable_verdict.h"

namespace lumaro {

// The window's message for `outcome`.
std::string ConsoleText(Outcome outcome);
// The text of string `stringId` (resources/resource.h); "message N" for an unknown one.
std::string ConsoleText(unsigned stringId);

// Why a one-click run that reached its end is not done, for people: "no reply to the web
// settings write, and the last search lists the web server off". Empty for Done and Stopped.
std::string VerdictReason(WebEnableVerdict verdict);

}  // namespace lumaro
