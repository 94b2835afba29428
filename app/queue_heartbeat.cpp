#include "app/queue_heartbeat.h"

namespace lumaro {

void QueueHeartbeat::Beat() {
    const ULONGLONG now = GetTickCount64();
    if (now - lastBeat_ < static_cast<ULONGLONG>(kInterval.count())) return;
    lastBeat_ = now;
    // Sent messages only: no input is looked at (which would also let the system set the
    // cursor back to the arrow), no posted message, nothing removed; PM_NOYIELD keeps a
    // program waiting for this one's input idle waiting.
    MSG message;
    PeekMessageW(&message, nullptr, 0, 0, PM_NOREMOVE | PM_NOYIELD | PM_QS_SENDMESSAGE);
}

}  // namespace lumaro
