#pragma once
// Which text of the catalogue tells each outcome: the window's message box and the console's
// line say the same, in either language.

#include "texts/text_id.h"
#include "workflow/outcome.h"

namespace lumaro {

constexpr TextId OutcomeText(Outcome outcome) {
    switch (outcome) {
        case Outcome::NoControllerSelected: return TextId::SelectControllerFirst;
        case Outcome::WebAccessFailed: return TextId::WebAccessFailed;
        case Outcome::ControllerUnreachable: return TextId::ControllerUnreachable;
        case Outcome::ClockSet: return TextId::ClockSet;
        case Outcome::ClockNotSet: return TextId::ClockNotSet;
        case Outcome::AddressRefused: return TextId::AddressRefused;
    }
    return TextId::ControllerUnreachable;
}

}  // namespace lumaro
