// Tolbeck: the service that starts the monitor program once at each start.
#include <windows.h>

#include <exception>

#include "../classlib/Service.h"
#include "Main.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    try {
        Application->Initialize();
        Tolbeck = Application->CreateForm<TTolbeck>();
        Application->Run();
    } catch (const std::exception& e) {
        Application->ShowException(e);
    }
    return 0;
}
