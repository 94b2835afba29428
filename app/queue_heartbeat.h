#pragma once
// Keeps Windows from judging the dialog hung while a command blocks its thread. Windows
// (and Wine) judge a window hung when its thread has not looked at its message queue for
// 5 s: the window then shows "Not Responding" and Windows offers to end the program, which
// during a one-click move (10-20 s on the dialog's thread by design) would leave a
// controller half-configured. A beat looks at the queue without taking anything from it:
// the clicks and keys typed meanwhile stay queued, in order, for after the command, and the
// wait cursor and the disabled button stay as they are. Only messages that other threads
// send to the window are answered during a beat, as they are whenever a thread looks at its
// queue; the dialog keeps those that would start or end work for the command's end
// (RunGate).

#include <windows.h>

#include <chrono>

namespace lumaro {

class QueueHeartbeat {
public:
    // A beat at most this often; far below the 5 s after which a window is judged hung.
    static constexpr std::chrono::milliseconds kInterval{100};

    // Looks at this thread's queue, unless the last beat was less than kInterval ago.
    void Beat();

private:
    ULONGLONG lastBeat_ = 0;
};

}  // namespace lumaro
