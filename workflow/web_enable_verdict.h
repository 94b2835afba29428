#pragma once
// Whether a one-click run on a controller may be called done, from evidence only: the
// search that ended the run must list the controller at the address the run expects, its
// web server on. Having sent the writes is no evidence; their replies only tell why a run
// that the search contradicts failed. (The window does not judge: its list shows the
// search's outcome to the person at it.)

#include <cstdint>

#include "link/controller_record.h"
#include "workflow/web_enable.h"

namespace lumaro {

enum class WebEnableVerdict {
    Done,                     // listed where the run expects it, web server on
    Stopped,                  // the procedure stopped; the report says what it told
    NotListedAfter,           // the search at the run's end does not list the controller
    ListedElsewhere,          // it lists it at another address than the run expects
    SettingsWriteUnanswered,  // it lists the web server off; the settings write got no reply
    RestartUnanswered,        // it lists the web server off; the restart got no reply
    WebStillOff,              // it lists the web server off though both writes were answered
};

// Judges `report` against `table`, the list that the run's final search left.
WebEnableVerdict JudgeWebEnableRun(const WebEnableReport& report, const ControllerTable& table);

}  // namespace lumaro
