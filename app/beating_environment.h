#pragma once
// What the dialog's commands take from the system, with a beat of the dialog's message
// queue (QueueHeartbeat) between and within their blocking steps, so that none of them holds
// the thread away from its queue for long: the link's 8 ms waits beat after each wait, the
// pauses are slept in pieces of a second, and a step that may block for seconds in one call
// (an ARP request: 3 s when nobody answers, 9 s while the system re-checks an entry) runs on
// a worker of its own while the dialog's thread waits for it, beating.

#include <chrono>
#include <functional>
#include <future>
#include <system_error>
#include <utility>

#include "app/queue_heartbeat.h"
#include "link/controller_link.h"
#include "workflow/controller_commands.h"
#include "workflow/web_enable.h"

namespace lumaro {

// The longest piece of a pause between two beats.
constexpr std::chrono::milliseconds kPausePiece{1000};

LinkEnvironment BeatingLinkEnvironment(LinkEnvironment environment, QueueHeartbeat& heartbeat);
CommandEnvironment BeatingCommandEnvironment(CommandEnvironment environment,
                                             QueueHeartbeat& heartbeat);
WebEnableSystem BeatingWebEnableSystem(WebEnableSystem system, QueueHeartbeat& heartbeat);

// `call` run on a worker of its own while the calling thread waits for it, beating; on the
// calling thread itself when no worker can be started. The worker shares nothing with the
// caller but its arguments' copies and its result.
template <class Result, class... Arguments>
std::function<Result(Arguments...)> RunWhileBeating(std::function<Result(Arguments...)> call,
                                                    QueueHeartbeat& heartbeat) {
    return [call = std::move(call), &heartbeat](Arguments... arguments) -> Result {
        std::future<Result> result;
        try {
            result = std::async(std::launch::async, call, arguments...);
        } catch (const std::system_error&) {
            return call(arguments...);
        }
        while (result.wait_for(QueueHeartbeat::kInterval) != std::future_status::ready) {
            heartbeat.Beat();
        }
        heartbeat.Beat();
        return result.get();
    };
}

}  // namespace lumaro
