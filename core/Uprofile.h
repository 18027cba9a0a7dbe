// Profiles: the template every new profile starts from, a profile as one
// section of the settings file, a profile made from a network in range, and
// the reset of a profile's security.
#pragma once

#include <cstddef>
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

// The name of the profile being edited; the store never lists it and no profile may take it.
constexpr char kEditingProfileName[] = "(EditingProfile)";
// What a profile name field holds, its NUL not counted.
constexpr size_t kMaxProfileNameLength = sizeof(WLProfile::ProfileName) - 1;

// What is wrong with a profile name, in the order checked.
enum class ProfileNameCheck {
    Ok,
    Empty,
    Reserved,     // kEditingProfileName, in any case of A to Z
    TooLong,      // more than kMaxProfileNameLength characters
    Backslash,    // the store's names are registry keys
    ControlByte,  // a NUL or another control byte (ProfileNameHasControlByte)
    Exists,       // a stored profile has it (case ignored): replace it?
};
using ProfileNameExists = std::function<bool(const AnsiString& name)>;
// exists may be empty: nothing is stored then.
ProfileNameCheck CheckProfileName(const AnsiString& name, const ProfileNameExists& exists);
// Why a name was refused, for a log line.
const char* ProfileNameFault(ProfileNameCheck check);

// Whether the system can apply the profile and read it back from the settings file at the next
// system start: it names itself, without a control byte, and each field whose values are known
// holds one of them (a mode of 0 or 1, a WEP key number of 0 to 3, a cipher of 0 to 2, ...). A
// record the store or a profile file holds may be none: it is then never applied.
bool ProfileIsUsable(const WLProfile& profile);

// Fills settings.DefaultProfile from the [Setting] values and WinVer.
void BuildDefaultProfile(CFAGlobalVar& settings);

// Writes every keyed field into the section, over what is there. Nothing
// without a settings file.
void SaveProfile(CFAGlobalVar& settings, const WLProfile& profile, const AnsiString& section);

// Reads the section over the caller's record; fields without a key, and byte
// fields whose key is missing or empty, keep the caller's values. False, with
// the record untouched, when there is no settings file, the section holds no
// key, or it is damaged: it names no profile, a key holds a number that its
// field cannot hold, or what it holds is no usable profile (ProfileIsUsable).
bool LoadProfile(CFAGlobalVar& settings, WLProfile& profile, const AnsiString& section);

// DefaultProfile with the network, channel, band and security of the survey
// entry; the profile keeps its own ProfileName and takes the entry's
// JoinedNetworkMode.
// frequencyToChannel is the driver library's VYXWL_FrequencyToChannel.
void ProfileFromSurveyEntry(const CFAGlobalVar& settings, const SiteSurveyEntry& entry,
                            WLProfile& profile,
                            const std::function<int32_t(uint32_t)>& frequencyToChannel);

// Back to no security, with every key, pass phrase, log-on text and
// certificate name emptied; nothing else changes.
void ResetProfileSecurity(const CFAGlobalVar& settings, WLProfile& profile);
