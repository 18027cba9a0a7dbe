// A DLL that anyone could put beside a program under the name of a system library: it exports
// nothing, so a program that loaded it in place of the real one finds none of its functions.
#include <windows.h>

BOOL WINAPI DllMain(HINSTANCE, DWORD, LPVOID) {
    return TRUE;
}
