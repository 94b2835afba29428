// "Why is a controller missing?": the doctor's own checks (the interfaces the search uses
// and skips, a socket on each, a search through each, the firewall and the networks' category)
// and its findings, in the window's language, in a text window of their own.

#include <windows.h>

#include "app/findings_window.h"
#include "app/lumaro_dlg.h"
#include "app/wide_text.h"
#include "app/window_texts.h"
#include "workflow/doctor_findings.h"
#include "workflow/doctor_report.h"

namespace lumaro {

void CLumaroDlg::ShowMissingControllerFindings() {
    ShowWaitCursor();
    const DoctorFindings findings = ExamineThisPc();
    std::string text;
    for (const DoctorLine& line : DoctorReport(findings, language_)) {
        text += VerdictWord(line.verdict, language_) + "\t" + line.text + "\r\n";
    }
    ShowArrowCursor();
    ShowFindingsWindow(window_, instance_, WindowText(TextId::MenuWhyMissing, language_),
                       WidenUtf8(text));
}

}  // namespace lumaro
