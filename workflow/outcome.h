#pragma once
// What a procedure on a listed controller tells the person who started it, in the
// procedures' own words. The window shows each as a message box, the console as a line of
// text; neither is known here.

namespace lumaro {

enum class Outcome {
    NoControllerSelected,   // nothing to act on: nothing was sent
    WebAccessFailed,        // the one-click could not make the controller reachable
    ControllerUnreachable,  // the controller did not answer the read of its parameters
    ClockSet,               // the controller answered the clock write
    ClockNotSet,            // it did not
    AddressRefused,         // typed addresses that can never work: nothing was sent
};

// Whether the person is told of a failure (the window adds the exclamation icon).
constexpr bool IsFailure(Outcome outcome) {
    switch (outcome) {
        case Outcome::WebAccessFailed:
        case Outcome::ControllerUnreachable:
        case Outcome::ClockNotSet:
        case Outcome::AddressRefused: return true;
        case Outcome::NoControllerSelected:
        case Outcome::ClockSet: return false;
    }
    return false;
}

}  // namespace lumaro
