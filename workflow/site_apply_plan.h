#pragma once
// A site's address plan against what the search lists: for every row, what differs and
// the writes that make it so; every contradiction that forbids writing anything; and the
// order of the writes. Nothing is sent but ARP.
//
// Order: a controller planned onto the address that another listed controller holds now
// is written only after that one has left it. Where such waits close a ring (two
// controllers swapping addresses, or a longer ring), the ring's lowest serial is first
// written to a free address of the PC's subnet held for it (found free by ARP, and neither
// listed nor planned for anyone), and to its planned address last: no two controllers
// ever answer one address.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

#include "link/controller_record.h"
#include "platform/arp/arp.h"
#include "platform/net/local_addresses.h"
#include "workflow/plan_file/site_plan_file.h"
#include "workflow/web_enable_plan.h"

namespace lumaro {

enum class SiteAction {
    AsPlanned,  // listed with every planned value: nothing to write
    Write,      // listed, and something differs: written
    NotListed,  // the plan's serial is not listed: nothing to write
    LeftAlone,  // listed, and not in the plan: untouched
};

// The values a controller is to have: the planned ones, the blanks filled with what the
// search lists (for a controller not listed, with 0 and off).
struct SiteTarget {
    Ipv4Address ip = 0;
    Ipv4Address mask = 0;
    Ipv4Address gateway = 0;
    bool web = false;
    friend bool operator==(const SiteTarget&, const SiteTarget&) = default;
};

// A planned address, mask or gateway that cannot be checked or will not work as well as it
// might, told with the plan without refusing it.
enum class SiteNote {
    OutsidePcSubnets,      // the address is in no subnet of the PC's: not asked by ARP, and
                           // this PC reaches it only through a router
    WebOnByAddressWrite,   // web left blank: the address write switches the web server on
    LeavesDhcp,            // the controller takes its address by DHCP: the write fixes it
    GatewayOutsideSubnet,  // the gateway left as it is lies outside the new subnet
};

struct SiteEntry {
    std::uint32_t serial = 0;
    std::optional<std::size_t> planRow;      // index into SitePlan::rows; none: not in the plan
    std::optional<ControllerRecord> listed;  // as the search listed it
    SiteTarget target;
    SiteAction action = SiteAction::AsPlanned;
    // For Write: the panel's apply (addresses, and the web server on at port 80), then its
    // web-off when the plan wants the web server off.
    bool writesAddresses = false;
    bool switchesWebOff = false;
    std::vector<SiteNote> notes;
    // Listed controllers that stand at the planned address now and leave it first.
    std::vector<std::uint32_t> waitsFor;
    // In a ring: the free address it is written to first.
    std::optional<Ipv4Address> holdingAddress;

    bool MovesAddress() const { return writesAddresses && listed && listed->ip != target.ip; }
    bool Has(SiteNote note) const;
};

// One write of the run: the panel's apply to the holding address of a ring, or everything
// an entry needs to end as planned.
struct SiteStep {
    std::size_t entry = 0;           // index into SiteApplyPlan::entries
    bool toHoldingAddress = false;
    std::vector<std::size_t> after;  // earlier steps whose controllers must have left first
};

struct SiteApplyPlan {
    std::vector<SiteEntry> entries;      // in serial order: the plan's rows and the listed
                                         // controllers that the plan does not name
    std::vector<SiteStep> steps;         // in the order they start
    std::vector<PlanProblem> problems;   // contradictions: nothing may be written
    bool Refused() const { return !problems.empty(); }
    std::size_t ToWrite() const;         // entries with action Write
};

// Compares `plan` with the search's `listed` controllers. `pcSubnets`: the PC's interfaces
// (address and mask), as the search used them. ARP asks each planned address that a
// controller moves to in a subnet of the PC's, `parallelArp` at a time, and the candidates
// of the holding addresses; `arp` must then be safe to call from several threads at once.
SiteApplyPlan PlanSiteApply(const SitePlan& plan, const ControllerTable& listed,
                            const std::vector<platform::LocalAddress>& pcSubnets,
                            const ArpRequest& arp, std::size_t parallelArp);

}  // namespace lumaro
