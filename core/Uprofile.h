// Profiles: the template every new profile starts from, a profile as one
// section of the settings file, a profile made from a network in range, and
// the reset of a profile's security.
#pragma once

#include <cstdint>
#include <functional>

#include "../classlib/AnsiString.h"
#include "Uvyxwltypes.h"

class CFAGlobalVar;

// Whether a profile name holds a control byte (0x00 to 0x1F, 0x7F). Such a name
// is damaged wherever it comes from: the driver library takes names as C
// strings, so one with a NUL would store another profile than the one checked.
bool ProfileNameHasControlByte(const AnsiString& name);
inline bool IsControlByte(char c) {
    return static_cast<unsigned char>(c) < 0x20 || c == 0x7F;
}
// The name as a log line shows it: control bytes as "\xNN", so that a NUL does
// not end the line early.
AnsiString LoggedProfileName(const AnsiString& name);

// Fills settings.DefaultProfile from the [Setting] values and WinVer.
void BuildDefaultProfile(CFAGlobalVar& settings);

// Writes every keyed field into the section, over what is there. Nothing
// without a settings file.
void SaveProfile(CFAGlobalVar& settings, const WLProfile& profile, const AnsiString& section);

// Reads the section over the caller's record; fields without a key, and byte
// fields whose key is missing or empty, keep the caller's values. False, with
// the record untouched, when there is no settings file, the section holds no
// key, or it is damaged: it names no profile, its name holds a control byte,
// or a key holds a number that its field cannot hold or that is none of the
// field's values.
bool LoadProfile(CFAGlobalVar& settings, WLProfile& profile, const AnsiString& section);

// DefaultProfile with the network, channel, band and security of the survey
// entry; the profile keeps its own ProfileName. A network that is not ad hoc
// (the survey's 2, auto or unknown, too) gives an infrastructure profile.
// frequencyToChannel is the driver library's VYXWL_FrequencyToChannel.
void ProfileFromSurveyEntry(const CFAGlobalVar& settings, const SiteSurveyEntry& entry,
                            WLProfile& profile,
                            const std::function<int32_t(uint32_t)>& frequencyToChannel);

// Back to no security, with every key, pass phrase, log-on text and
// certificate name emptied; nothing else changes.
void ResetProfileSecurity(const CFAGlobalVar& settings, WLProfile& profile);
