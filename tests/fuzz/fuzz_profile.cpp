// The profile's text form: any record saved and loaded again comes back (or,
// when it holds values or a name no profile has, is refused and leaves the
// caller's record alone), and any section text either loads as a sound profile
// that saves and loads to itself, or is refused.
#include <cstring>

#include "FakeIniFile.h"
#include "FuzzCheck.h"
#include "core/Udefine.h"
#include "core/Uprofile.h"

namespace {

const char kSection[] = "LastApplyProf";

// The record's number fields with a closed set of values, and those values.
struct Closed {
    int32_t WLProfile::*field;
    int32_t min, max;
};
const Closed kClosed[] = {
    {&WLProfile::NetworkMode, 0, 1},
    {&WLProfile::AdHocBand, 0, 3},
    {&WLProfile::WEPEncryptionLevel, 0, 3},
    {&WLProfile::DefaultKey, 0, 3},
    {&WLProfile::AuthenticationMode, 0, 7},
    {&WLProfile::EncryptionMethod, 0, 7},
    {&WLProfile::WPAEncryptionType, 0, 2},
    {&WLProfile::MS8021xAuthMode, 0, 4},
    {&WLProfile::PeapEap, 0, 2},
};

bool Sound(const WLProfile& p) {
    AnsiString name = TextField(p.ProfileName);
    if (name.empty() || ProfileNameHasControlByte(name)) return false;
    for (const Closed& c : kClosed)
        if (p.*c.field < c.min || p.*c.field > c.max) return false;
    return true;
}

// Each text as it comes back: up to its first NUL, at most its field less one.
template <size_t N>
void Normalise(char (&field)[N]) {
    SetTextField(field, TextField(field));
}
void NormaliseTexts(WLProfile& p) {
    for (char(*t)[33] : {&p.Ssid1, &p.Ssid2, &p.Ssid3}) Normalise(*t);
    for (char(*t)[59] : {&p.WEPKey1, &p.WEPKey2, &p.WEPKey3, &p.WEPKey4}) Normalise(*t);
    for (char(*t)[260] : {&p.WPAPassphrase, &p.LoginName, &p.LoginPassword, &p.DomainName,
                          &p.sCertificate, &p.sCertificate_Issuer, &p.sCertAuthority,
                          &p.sCertAuthority_Issuer, &p.NetworkInfo.NI_sz_CurProfile})
        Normalise(*t);
    NetworkInfo& ni = p.NetworkInfo;
    for (char(*t)[132] :
         {&ni.NI_strScopeId, &ni.NI_strHostName, &ni.NI_strDomain, &ni.NI_strDomSufSearch})
        Normalise(*t);
    for (char(*t)[68] : {&ni.NI_strLoginUsr, &ni.NI_strLoginPsw, &ni.NI_strLoginDom}) Normalise(*t);
    Normalise(p.ProfileName);
    Normalise(p.PassPhrase);
}

// The bytes no key carries keep the caller's.
void KeepUnkeyed(WLProfile& p, const WLProfile& caller) {
    std::memcpy(p.Reserved793, caller.Reserved793, sizeof p.Reserved793);
    p.Reserved2924 = caller.Reserved2924;
    std::memcpy(p.Reserved2933, caller.Reserved2933, sizeof p.Reserved2933);
    std::memcpy(p.Reserved3970, caller.Reserved3970, sizeof p.Reserved3970);
}

bool Same(const WLProfile& a, const WLProfile& b) {
    return std::memcmp(&a, &b, sizeof a) == 0;
}

WLProfile Filled(uint8_t byte) {
    WLProfile p;
    std::memset(static_cast<void*>(&p), byte, sizeof p);
    return p;
}

// The settings file holds other sections before and after the profile's.
FakeIniFile* SettingsFile(CFAGlobalVar& g) {
    auto* ini = new FakeIniFile("Wavelorn.bin");
    g.SettingsIni.reset(ini);
    ini->WriteString("Setting", "ProfRoot", "Velmora");
    ini->AddEmptySection(kSection);
    ini->WriteString("Product", "HWID0", "USB\\VID_0001");
    return ini;
}

void RecordRoundTrip(FuzzedDataProvider& input) {
    WLProfile p;
    bool tame = input.ConsumeBool();
    std::vector<uint8_t> bytes = input.ConsumeBytes<uint8_t>(sizeof p);
    bytes.resize(sizeof p);
    std::memcpy(static_cast<void*>(&p), bytes.data(), sizeof p);
    if (tame)  // most raw records hold a value no profile has: make some sound
        for (const Closed& c : kClosed)
            p.*c.field = c.min + static_cast<int32_t>(static_cast<uint32_t>(p.*c.field) %
                                                      static_cast<uint32_t>(c.max - c.min + 1));

    CFAGlobalVar g;
    FakeIniFile* ini = SettingsFile(g);
    SaveProfile(g, p, kSection);
    // one line a key: nothing spills into other keys or sections
    FUZZ_CHECK(ini->Keys(kSection).size() == 80);
    FUZZ_CHECK(ini->SectionCount("Setting") == 1 && ini->SectionCount(kSection) == 1);
    FUZZ_CHECK(ini->Keys("Setting").size() == 1 && ini->Keys("Product").size() == 1);
    FUZZ_CHECK(ini->ReadString("Setting", "ProfRoot", "") == "Velmora");

    // a program started afresh reads the file's text
    auto* fresh = new FakeIniFile("Wavelorn.bin");
    fresh->LoadText(ini->Text());
    g.SettingsIni.reset(fresh);
    const WLProfile caller = Filled(0xA5);
    WLProfile loaded = caller;
    bool ok = LoadProfile(g, loaded, kSection);
    FUZZ_CHECK(ok == Sound(p));
    if (!ok) {
        FUZZ_CHECK(Same(loaded, caller));
        return;
    }
    WLProfile expected = p;
    NormaliseTexts(expected);
    expected.ApplyNetwork = p.ApplyNetwork != 0;
    KeepUnkeyed(expected, caller);
    FUZZ_CHECK(Same(loaded, expected));
}

void SectionText(FuzzedDataProvider& input) {
    CFAGlobalVar g;
    auto* ini = new FakeIniFile("Wavelorn.bin");
    g.SettingsIni.reset(ini);
    ini->LoadText("[LastApplyProf]\r\n" + input.ConsumeRemainingBytesAsString());
    const WLProfile caller = Filled(0x3C);
    WLProfile loaded = caller;
    if (!LoadProfile(g, loaded, kSection)) {
        FUZZ_CHECK(Same(loaded, caller));
        return;
    }
    FUZZ_CHECK(Sound(loaded));
    // what loads is a profile the program itself could have saved
    SettingsFile(g);
    SaveProfile(g, loaded, kSection);
    WLProfile again = caller;
    FUZZ_CHECK(LoadProfile(g, again, kSection));
    FUZZ_CHECK(Same(again, loaded));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzedDataProvider input(data, size);
    if (input.ConsumeBool())
        RecordRoundTrip(input);
    else
        SectionText(input);
    return 0;
}
