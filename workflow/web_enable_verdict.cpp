#include "workflow/web_enable_verdict.h"

#include "link/controller_text.h"

namespace lumaro {

WebEnableVerdict JudgeWebEnableRun(const WebEnableReport& report, const ControllerTable& table) {
    if (report.end != WebEnableEnd::PageOpened) return WebEnableVerdict::Stopped;
    const ControllerRecord* listed = nullptr;
    for (const ControllerRecord& record : table.Found()) {
        if (record.serial == report.serial) {
            listed = &record;
            break;
        }
    }
    if (listed == nullptr) return WebEnableVerdict::NotListedAfter;
    if (listed->ip != report.address) return WebEnableVerdict::ListedElsewhere;
    if (WebServerEnabled(listed->webPort)) return WebEnableVerdict::Done;
    if (report.webSettings && !report.webSettings->settingsAnswered) {
        return WebEnableVerdict::SettingsWriteUnanswered;
    }
    if (report.webSettings && !report.webSettings->restartAnswered) {
        return WebEnableVerdict::RestartUnanswered;
    }
    return WebEnableVerdict::WebStillOff;
}

}  // namespace lumaro
