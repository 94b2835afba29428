#include "workflow/web_port_probe.h"

#include <condition_variable>
#include <memory>
#include <mutex>
#include <system_error>
#include <thread>

namespace lumaro {

namespace {

// What the worker and the waiting side share. Each holds a reference, so whichever ends
// last frees it: the worker never writes into the procedure's stack.
struct ProbeReport {
    std::mutex mutex;
    std::condition_variable ended;
    bool done = false;
    platform::ConnectOutcome outcome = platform::ConnectOutcome::Failed;
};

// The worker: one connection attempt, then its outcome into the shared report.
void WebPortProbe(ProbeTarget target, ConnectAttempt connect,
                  std::shared_ptr<ProbeReport> report) {
    const platform::ConnectOutcome outcome = connect(target.address, target.port);
    {
        const std::lock_guard lock(report->mutex);
        report->outcome = outcome;
        report->done = true;
    }
    report->ended.notify_all();
}

}  // namespace

ProbeWait ProbeWebPort(const ProbeTarget& target, std::chrono::milliseconds wait,
                       ConnectAttempt connect) {
    auto report = std::make_shared<ProbeReport>();
    try {
        // Detached on purpose: nobody stops or joins the worker. Its lifetime is its own,
        // and everything it touches is its copies and the shared report.
        std::thread(WebPortProbe, target, std::move(connect), report).detach();
    } catch (const std::system_error&) {
        return ProbeWait::NotStarted;
    }
    std::unique_lock lock(report->mutex);
    if (!report->ended.wait_for(lock, wait, [&] { return report->done; })) {
        return ProbeWait::StillConnecting;
    }
    return report->outcome == platform::ConnectOutcome::Connected ? ProbeWait::Connected
                                                                  : ProbeWait::NotConnected;
}

}  // namespace lumaro
