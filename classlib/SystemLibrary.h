// The system's own libraries, loaded from the system folder by full path. Loaded by bare name,
// a library is looked for first beside the program: setup runs with administrator rights from
// a package folder (often a download folder), where anyone could have put a DLL of that name.
#pragma once

#include <windows.h>

// The library of that file name in the system folder, its own dependencies looked for there
// first too; null when it cannot be loaded (GetLastError tells why). Kept for the program's
// life by callers that keep what they bind.
HMODULE LoadSystemLibrary(const char* name);
