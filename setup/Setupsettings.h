// The installer front end's settings and the operations its window runs: the
// start-up checks, the package check, the run of the packaged installer, its
// result and the clean-up of its log.
#pragma once

#include <cstdint>
#include <functional>

#include "../classlib/AnsiString.h"
#include "Setuprules.h"

// Filled from setup.ini before the main function runs; lives until exit.
extern tagVYXGLOBALVAR SetupSettings;

// The running program's directory with its trailing "\".
AnsiString ProgramDirectory();
// True for a file (not a folder) that is there.
bool FileExists(const AnsiString& path);

// Clears the record, then the version code and every key of the settings
// file named like the running program with ".ini".
void LoadSetupSettings();
// The same for a program file elsewhere.
void LoadSetupSettingsOf(const AnsiString& programFile);

// One value of the file named like the running program with extension ext;
// one INI object per read.
AnsiString ReadIniString(const AnsiString& section, const AnsiString& key, const AnsiString& def,
                         const AnsiString& ext);
bool ReadIniBool(const AnsiString& section, const AnsiString& key, bool def, const AnsiString& ext);

int32_t GetOSVersionCode();

// With "CheckAutorun": true when the product's application-paths key opens.
bool IsAutorunInstalled();
// True when the company and product key under HKEY_LOCAL_MACHINE opens with
// full access (created when missing, and left in place).
bool HasAdministratorRights();

// Fills the package paths, the result log's name and the product GUID, and
// tells the user what stops the installation (missing package files, an
// earlier installation, a path that does not fit). Of the running program.
bool CheckPackage();
// The same for a program file elsewhere.
bool CheckPackageOf(const AnsiString& programFile);

// The first "IS<n>.log" of the Windows folder that is not there; empty when
// none is free.
AnsiString MakeResponseLogName();
// True when the product's uninstall key exists.
bool IsProductInstalled(const AnsiString& guid);

// Starts SetupFile silently with the result log; a log that appeared at the
// chosen name since the package check makes it choose again. False, with the
// user told the shell's answer, when the installer does not start; the answer
// goes to shellCode when given.
bool RunSetup(intptr_t* shellCode = nullptr);
// Reads the started run's result log: false, with the failure shown, on a
// negative code. A missing log, section or key counts as success.
bool CheckInstallResult();
// Deletes the result logs of the runs this program started.
void DeleteResponseLog();

// After the installer's run: the program the product registered under the
// application paths ("Path"), opened with the shell. The key is never made.
enum class AppStart { NothingToStart, Started, Failed };
AppStart StartRegisteredApplication();

// The message boxes of these operations (text, title, MB_ flags) answer
// through this: MessageBoxA without an owner unless replaced.
extern std::function<int(const AnsiString& text, const AnsiString& title, unsigned flags)>
    SetupMessageBox;
