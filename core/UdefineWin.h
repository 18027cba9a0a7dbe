// Shared helpers that need the system.
#pragma once

#include <windows.h>

#include "../classlib/AnsiString.h"

class CFAGlobalVar;

// The file version of file with 1 to 4 numbers ("5.1", "5.1.2600.2180");
// empty when the file or its version resource is missing.
AnsiString GetFileVersionString(const AnsiString& file, int parts);

// The ItemData%d of the item whose ItemName%d is name (case counts) among the
// Count items of [section] in an INI file; def when there is none.
AnsiString IniListLookup(const AnsiString& file, const AnsiString& section, const AnsiString& name,
                         const AnsiString& def);

// True when the current user's registry holds the default profile's key in
// the driver library's store.
bool RegistryProfileExists(const CFAGlobalVar& settings);
