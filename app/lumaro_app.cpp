#include "app/lumaro_app.h"

#include <windows.h>
#include <commctrl.h>

#include <string>

#include "app/beating_environment.h"
#include "app/lumaro_dlg.h"
#include "app/window_language.h"
#include "app/window_texts.h"
#include "platform/com_apartment.h"
#include "platform/socket_layer.h"
#include "platform/timer_resolution.h"

namespace lumaro {

namespace {

constexpr DWORD kExecutablePathCharacters = 520;

void RegisterControlClasses() {
    INITCOMMONCONTROLSEX classes{sizeof(INITCOMMONCONTROLSEX), ICC_WIN95_CLASSES};
    InitCommonControlsEx(&classes);
    // The IPv4 address fields need their own class, which the set above leaves out.
    classes.dwICC = ICC_INTERNET_CLASSES;
    InitCommonControlsEx(&classes);
}

// The socket layer at version 1.1 exactly, released when the application ends. The
// search restarts it on top of this start with its own paired calls.
class SocketLayerSession {
public:
    SocketLayerSession() {
        const platform::SocketLayerStart start = platform::StartSocketLayer(1, 1);
        if (!start.succeeded) return;
        if (start.grantedMajor != 1 || start.grantedMinor != 1) {
            platform::StopSocketLayer();
            platform::MarkSocketVersionNotSupported();
            return;
        }
        started_ = true;
    }
    ~SocketLayerSession() {
        if (started_) platform::StopSocketLayer();
    }
    SocketLayerSession(const SocketLayerSession&) = delete;
    SocketLayerSession& operator=(const SocketLayerSession&) = delete;

    bool Started() const { return started_; }

private:
    bool started_ = false;
};

// The executable's file name without folder and extension: the caption of the one message
// that appears before the dialog (the string table holds no application title).
std::wstring ExecutableTitle() {
    wchar_t path[kExecutablePathCharacters] = {};
    GetModuleFileNameW(nullptr, path, kExecutablePathCharacters);
    std::wstring title(path);
    if (const auto slash = title.find_last_of(L"\\/"); slash != std::wstring::npos) {
        title.erase(0, slash + 1);
    }
    if (const auto dot = title.rfind(L'.'); dot != std::wstring::npos) title.erase(dot);
    return title;
}

}  // namespace

CLumaroApp::CLumaroApp() : link_(BeatingLinkEnvironment(LinkEnvironment::System(), heartbeat_)) {}

int CLumaroApp::Run(HINSTANCE instance) {
    RegisterControlClasses();
    // The restarted process keeps the language this run speaks through the remembered choice
    // (a /lang: of this run is not carried over).
    RegisterApplicationRestart(nullptr, 0);
    // The searches and commands keep their 1 ms waits while the window is minimised
    // (Windows 11 would otherwise let them fall back to its 15.6 ms tick).
    platform::KeepFineTimerWhenHidden();
    // The dialog's thread hands the page address to the shell, whose extensions may need
    // COM in a single-threaded apartment.
    const platform::ComApartment shellApartment;

    // Chinese unless /lang: or the technician's remembered choice says otherwise.
    const Language language = StartLanguage(GetCommandLineW());

    const SocketLayerSession sockets;
    if (!sockets.Started()) {
        MessageBoxW(nullptr, WindowText(TextId::SocketsFailed, language).c_str(),
                    ExecutableTitle().c_str(), MB_OK | MB_ICONEXCLAMATION);
        return 0;
    }

    CLumaroDlg dialog(instance, link_, heartbeat_, language);
    dialog.DoModal();  // its result is not used
    return 0;
}

}  // namespace lumaro
