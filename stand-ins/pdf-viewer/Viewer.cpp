// Stands in for a PDF viewer: records what it was asked to open and, when its
// scenario says so, shows a window titled after the file for a while.
#include <windows.h>

#include <string>

#include "Standin.h"

using namespace standin;

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    std::string file = __argc > 1 ? __argv[1] : "";
    Record(Invocation() + "open:" + file + "\r\n");
    ShowWindowFor(file + " - Viewer", ScnInt("Viewer", "ShowMs", 0));
    Record("end\r\n");
    return 0;
}
