// The system's common controls library, loaded at its first use rather than with the program:
// under Wine it costs some 3 MB and its start-up work, and a program whose lists nobody has
// opened yet has no use for it.
#pragma once

#include <windows.h>
// The common controls need the base types first.
#include <commctrl.h>

struct TCommonControls {
    decltype(&InitCommonControlsEx) InitCommonControlsEx;
    decltype(&ImageList_Create) ImageList_Create;
    decltype(&ImageList_Destroy) ImageList_Destroy;
    decltype(&ImageList_Add) ImageList_Add;
    decltype(&ImageList_Remove) ImageList_Remove;
};

// Loads the library once (and registers the list view and animation classes); throws when the
// library or one of its functions is missing.
const TCommonControls& CommonControls();
