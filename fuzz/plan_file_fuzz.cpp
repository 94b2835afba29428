// The reader of site plans on any bytes: a file from a person is read, or refused with
// problems that each say where; what it reads holds nothing a procedure could trip on.

#include <set>
#include <string>

#include "fuzz/fuzz_target.h"
#include "platform/net/ipv4_address.h"
#include "workflow/plan_file/site_plan_file.h"

using lumaro::fuzz::Require;

LUMARO_FUZZ_TARGET(plan_file) {
    const std::string_view bytes(reinterpret_cast<const char*>(datagram.data()), datagram.size());
    const lumaro::SitePlanReading reading = lumaro::ReadSitePlan(bytes);

    if (!reading.Read()) {
        Require(reading.problems.size() <= lumaro::kMaxPlanProblemsShown, "problems are bounded");
        for (const lumaro::PlanProblem& problem : reading.problems) {
            Require(!problem.message.empty(), "every problem says what is wrong");
            Require(problem.Describe().starts_with(problem.where.row == 0 ? "the file" : "row "),
                    "every problem says where");
        }
        return;
    }
    const lumaro::SitePlan& plan = reading.plan;
    Require(!plan.rows.empty() && plan.rows.size() <= lumaro::kMaxPlanRows, "rows within the limit");
    Require(plan.columnOf[0].has_value(), "a plan has its serial column");
    std::set<std::uint32_t> serials;
    std::set<lumaro::Ipv4Address> addresses;
    std::size_t previousRow = 1;
    for (const lumaro::SitePlanRow& row : plan.rows) {
        Require(row.fileRow > previousRow, "rows in the file's order, under the header");
        previousRow = row.fileRow;
        Require(serials.insert(row.serial).second, "one row per serial");
        Require(!row.ip || addresses.insert(*row.ip).second, "one controller per planned address");
        Require(row.carried.size() == plan.carriedColumns.size(), "a carried cell for every carried column");
        for (const std::string& cell : row.carried) {
            Require(lumaro::IsValidUtf8(cell), "carried cells are UTF-8");
        }
    }
    for (const std::string& name : plan.header) Require(lumaro::IsValidUtf8(name), "names are UTF-8");
}
