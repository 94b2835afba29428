#pragma once
// lumaro.exe started on the simulated LAN as it is now, with its dialog shown (which
// happens once the start-up search has ended).

#include <memory>
#include <string>
#include <vector>

#include "resources/resource.h"
#include "tests/app/simulator_control.h"
#include "tools/window-reader/dialog_driver.h"
#include "tools/window-reader/launched_program.h"

namespace lumaro::apptest {

// The controls that lumaro.exe shows when it has started: the list and the four bottom
// buttons, in ascending order of id (as DialogDriver::SortedVisibleControlIds gives them).
inline const std::vector<int> kStartUpControls{IDCANCEL, IDC_SEARCH_BUTTON, IDC_CONTROLLER_LIST,
                                               IDC_QUICK_ENABLE_BUTTON, IDC_ADVANCED_BUTTON};

class LumaroSession {
public:
    // Starts the program at this Unix path; throws when it shows no dialog in time.
    explicit LumaroSession(const std::string& program, const LaunchOptions& options = {});

    const LaunchedProgram& Program() const { return *program_; }
    const DialogDriver& Dialog() const { return dialog_; }
    ListViewDriver List() const;

private:
    std::unique_ptr<LaunchedProgram> program_;
    DialogDriver dialog_;
};

// The simulator beside the tests (scripts/app-test.sh starts it); throws when there is none.
SimulatorControl Simulator();

// Loads a controller file of the test LANs (by its name) into the simulator; throws when
// the simulator does not answer "ok".
void UseLan(const std::string& controllerFileName);

}  // namespace lumaro::apptest
