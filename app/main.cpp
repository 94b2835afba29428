// lumaro.exe: finds the door-access controllers on the LAN and acts on the selected one.

#include <windows.h>

#include "app/lumaro_app.h"

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
    static lumaro::CLumaroApp application;
    return application.Run(instance);
}
