#pragma once
// The doctor's report: one line per finding, each with its verdict, in either language; the
// console prints it, the window's "why is a controller missing?" shows it.

#include <string>
#include <vector>

#include "texts/language.h"
#include "workflow/doctor_findings.h"

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
std::vector<DoctorLine> DoctorReport(const DoctorFindings& findings, Language language);

// "ok", "problem"... in the language.
std::string VerdictWord(Verdict verdict, Language language);

// "ok       interface 10.0.1.1/255.255.255.0: used": the verdict padded to 9 columns.
std::string FormatDoctorLine(const DoctorLine& line, Language language);

}  // namespace lumaro
