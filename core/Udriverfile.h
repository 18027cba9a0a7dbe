// Where the adapter's driver file lies, and its version. A 32-bit program on 64-bit Windows
// (WOW64) that asks for System32 is shown SysWOW64 instead, where no driver is; it looks with
// that redirection turned off for its thread.
#pragma once

#include "../classlib/AnsiString.h"

// What the lookup asks of the system; the program's is Win32, tests give their own.
class DriverFileSystem {
public:
    virtual ~DriverFileSystem() = default;
    virtual bool IsWow64() = 0;
    // Turns the redirection of System32 off for the calling thread; false when it stays on.
    virtual bool RedirectionOff() = 0;
    virtual void RedirectionOn() = 0;  // only after a RedirectionOff that answered true
    virtual bool FileExists(const AnsiString& path) = 0;
    virtual AnsiString FileVersion(const AnsiString& path) = 0;  // "" when it has none
};

struct DriverFile {
    AnsiString Path;     // "" when not found
    AnsiString Version;  // "a.b.c.d", "" when not found or without a version
};

// windowsDir with its trailing delimiter; relative: the library's path below it. The file
// there, else the one of that name in System32\Drivers, else none; under WOW64 both looked
// for in the native System32, the redirection back on before this returns.
DriverFile LookUpDriverFile(DriverFileSystem& fs, const AnsiString& windowsDir,
                            const AnsiString& relative);
