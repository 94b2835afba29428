#pragma once
// What came back for a request: a caller must look at it, so it cannot be dropped.

namespace lumaro {

enum class [[nodiscard]] CommandReply {
    Answered,       // a reply came, with the request's sequence number (an exchange: any reply)
    Silent,         // no reply of at least one header came in time
    WrongSequence,  // a reply came, but not with the request's sequence number
};

constexpr bool Answered(CommandReply reply) { return reply == CommandReply::Answered; }

// For messages to people and tests: "answered", "silent", "wrong sequence".
constexpr const char* Describe(CommandReply reply) {
    switch (reply) {
        case CommandReply::Answered: return "answered";
        case CommandReply::Silent: return "silent";
        case CommandReply::WrongSequence: return "wrong sequence";
    }
    return "?";
}

}  // namespace lumaro
