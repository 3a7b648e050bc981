// Kalvetor for Windows: the window, then its message loop until it closes.

#include <windows.h>

#include "window/win32/main_window.h"

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int showCommand) {
    const auto window = kalvetor::win32::Kalvetor::create(instance);
    if (!window) {
        kalvetor::win32::writeDebugLine("Kalvetor: the window could not be created");
        return 1;
    }
    window->show(showCommand);
    return kalvetor::win32::runMessageLoop();
}
