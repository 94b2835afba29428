#pragma once
// lumaro-cli doctor's report: one line per finding, each with its verdict.

#include <string>
#include <vector>

#include "cli/doctor_findings.h"

namespace lumaro {

enum class Verdict {
    Ok,       // as it should be
    Skipped,  // left out of the search, and why
    Note,     // worth knowing; not in itself why nothing shows up
    Problem,  // a reason why controllers do not show up
    Unknown,  // the system did not answer
    Advice,   // what to do about what blocks the replies
};

struct DoctorLine {
    Verdict verdict;
    std::string text;
};

// The report, in the order: interfaces, sockets, the search, the firewall, the outcome.
std::vector<DoctorLine> DoctorReport(const DoctorFindings& findings);

// "ok       interface 10.0.1.1/255.255.255.0: used": the verdict padded to 9 columns.
std::string FormatDoctorLine(const DoctorLine& line);

}  // namespace lumaro
