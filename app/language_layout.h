#pragma once
// Where English needs more room than the template's Chinese: the controls that grow in
// English, and by how much (dialog units, so the growth follows the DPI as the template
// does). In Chinese every control keeps the template's place and size.

#include <windows.h>

#include <span>

#include "texts/language.h"

namespace lumaro {

struct ControlGrowth {
    int controlId;
    int leftwards;   // dialog units the left edge moves left
    int rightwards;  // dialog units the right edge moves right
};

std::span<const ControlGrowth> EnglishGrowth();

// Moves the growing controls' edges from `from`'s layout to `to`'s (nothing when the two
// are the same), keeping every other figure of each control as it is now: the panel's
// moves of the bottom buttons and the list stay valid.
void ChangeLanguageLayout(HWND dialog, Language from, Language to);

}  // namespace lumaro
