#pragma once
// The yes that a batch needs before it rewrites controllers, some of them with a restart.

#include <cstddef>
#include <optional>
#include <string>

#include "texts/language.h"

namespace lumaro {

// What the person is asked to agree to: how many controllers are rewritten, and how many of
// those are restarted (a restart can interrupt a door).
struct WritesToConfirm {
    std::size_t rewritten = 0;
    std::size_t restarted = 0;
};

// The question, e.g. "This rewrites and restarts 5 controllers (...). Type yes to go on: ".
// The answer is "yes" in either language.
std::string ConfirmationQuestion(WritesToConfirm writes, Language language);

// Confirmed at once with `yes`; otherwise asks on standard error and reads one line from a
// terminal at standard input. Says on standard error why nothing was written when the
// answer is not yes. The exit status to end with then (1 declined, 2 nobody to ask);
// nothing when the writes may go on.
std::optional<int> RefusedWritesStatus(WritesToConfirm writes, bool yes);

}  // namespace lumaro
