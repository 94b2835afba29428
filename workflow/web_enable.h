#pragma once
// The one-click web enable: makes the selected controller reachable from this PC, moving it
// to a free address of the PC's own subnet when its present address cannot be used,
// switches its web server on at port 80, opens its page in the browser and selects it again
// after a new search.

#include <array>
#include <chrono>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#include "link/controller_link.h"
#include "platform/arp/arp.h"
#include "workflow/address_rules.h"
#include "workflow/controller_dialog.h"
#include "workflow/outcome.h"
#include "workflow/web_port_probe.h"

namespace lumaro {

constexpr std::uint16_t kWebPort = 80;              // written, probed and opened
constexpr std::chrono::milliseconds kPauseAfterMove{2000};
constexpr int kNewAddressArpAttempts = 4;
constexpr std::chrono::milliseconds kPauseBetweenArpAttempts{500};
constexpr std::chrono::milliseconds kWebPortProbeWait{1000};
constexpr std::chrono::milliseconds kPauseAfterRestart{2000};

// What the procedure takes from the system; tests replace parts of it.
struct WebEnableSystem {
    // ARP request for `target` from the interface of `source`: who answered, nobody, or
    // "could not ask".
    std::function<platform::ArpResult(Ipv4Address target, Ipv4Address source)> arp;
    // Starts the web-port probe worker and waits for it at most `wait`.
    std::function<ProbeWait(const ProbeTarget& target, std::chrono::milliseconds wait)>
        probeWebPort;
    // Hands the page address to the default browser; its result is not needed.
    std::function<void(const std::string& pageAddress)> openPage;
    std::function<void(std::chrono::milliseconds)> pause;
    // Holds an address for this run: a candidate before ARP is asked about it, and the
    // present address when it is kept; false when another run holds it. The batch runs
    // several procedures at once and shares its claims among them
    // (workflow/address_claims.h); the window runs one at a time and holds every address
    // it asks about.
    std::function<bool(Ipv4Address candidate)> claimAddress = [](Ipv4Address) { return true; };
    // Gives a claimed candidate back: somebody answers ARP there.
    std::function<void(Ipv4Address candidate)> releaseAddress = [](Ipv4Address) {};

    static WebEnableSystem System();
};

// How a run ended.
enum class WebEnableEnd {
    PageOpened,        // the page was opened and the controller selected again
    NoSelection,       // NoControllerSelected: no row selected
    ReadFailed,        // ControllerUnreachable: the controller did not answer the read
    NoFreeAddress,     // WebAccessFailed: every candidate address answered ARP
    NewAddressSilent,  // WebAccessFailed: the moved controller never answered ARP
    ArpFailed,         // WebAccessFailed: an ARP request could not be made; nothing written
};

// The web settings write and the restart that follow a probe that did not connect, and
// whether each got its reply.
struct WebSettingsWrite {
    bool settingsAnswered = false;
    bool restartAnswered = false;
};

// What one run did, for the console and the tests; the window shows only what it tells.
struct WebEnableReport {
    WebEnableEnd end = WebEnableEnd::NoSelection;
    std::optional<Outcome> told;          // what the dialog was told when the run stopped
    std::uint32_t serial = 0;
    Ipv4Address presentAddress = 0;       // as the controller reported it in the read
    Ipv4Address address = 0;              // where it is reachable now (the new one if moved)
    bool moved = false;
    std::optional<ProbeWait> webPort;     // what the web-port probe gave
    std::optional<WebSettingsWrite> webSettings;  // sent after the probe, when it was
    std::string pageAddress;              // "HTTP://a.b.c.d" once the page was opened
};

// "HTTP://" followed by the dotted address, without a port.
std::string PageAddress(Ipv4Address address);

// Runs the procedure on the controller of the dialog's selected row.
WebEnableReport EnableWebProcedure(ControllerLink& link, ControllerDialog& dialog,
                                   const WebEnableSystem& system);

}  // namespace lumaro
