#include "tests/app/lumaro_session.h"

#include <stdexcept>

#include "resources/resource.h"
#include "tests/app/app_test_settings.h"
#include "tests/app/simulator_control.h"

namespace lumaro::apptest {

namespace {

HWND DialogOf(const LaunchedProgram& program, const std::string& path) {
    const auto dialog = program.WaitForDialog(kStartPatience);
    if (!dialog) throw std::runtime_error(path + " showed no dialog: " + program.WhyNoDialog());
    return *dialog;
}

}  // namespace

LumaroSession::LumaroSession(const std::string& program, const LaunchOptions& options)
    : program_(std::make_unique<LaunchedProgram>(WindowsPathOf(program), options)),
      dialog_(DialogOf(*program_, program), program_->Process()) {}

ListViewDriver LumaroSession::List() const { return dialog_.List(IDC_CONTROLLER_LIST); }

SimulatorControl Simulator() {
    auto simulator = SimulatorControl::FromEnvironment();
    if (!simulator) throw std::runtime_error("no simulator: run through scripts/app-test.sh");
    return *simulator;
}

void UseLan(const std::string& controllerFileName) {
    const std::string reply = Simulator().Load(Settings().lanDirectory + "/" + controllerFileName);
    if (reply != "ok") throw std::runtime_error("loading " + controllerFileName + ": " + reply);
}

}  // namespace lumaro::apptest
