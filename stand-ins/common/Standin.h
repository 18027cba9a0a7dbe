// Shared by the installer's stand-ins: the scenario file beside the program
// (its name with ".scn", INI), the record of how it was started, appended to
// its name with ".out" beside it, and a plain window with a title.
#pragma once

#include <string>

namespace standin {

std::string SelfPath();
std::string SelfDir();  // with '\'
// A path of the scenario: as it stands when absolute, else below SelfDir.
std::string Resolve(const std::string& path);

std::string Scn(const char* section, const char* key, const char* def);
int ScnInt(const char* section, const char* key, int def);

// "cmdline:", one "arg:" line per argument and "cwd:", each ending CR LF.
std::string Invocation();
// Appends the text to the record in one write.
void Record(const std::string& text);

// A visible top-level window with the title, for ms milliseconds.
void ShowWindowFor(const std::string& title, int ms);

}  // namespace standin
