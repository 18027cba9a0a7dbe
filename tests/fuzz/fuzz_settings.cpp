// The settings object from any settings and string file: every [Setting]
// value within its values, the names and titles from the files, the word
// table key by key, the hardware-id list, and a default profile that saves
// and loads to itself.
#include <cstring>

#include "FakeIniFile.h"
#include "FuzzCheck.h"
#include "core/Udefine.h"
#include "core/Uprofile.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzedDataProvider input(data, size);
    CFAGlobalVar g;
    std::vector<AnsiString> log;
    g.Log = [&log](const AnsiString& line) { log.push_back(line); };
    auto* settings = new FakeIniFile("Wavelorn.bin");
    auto* strings = new FakeIniFile("Wavelorn.ini");
    g.SettingsIni.reset(settings);
    g.StringIni.reset(strings);
    g.WinVer = input.ConsumeIntegralInRange(0, 7);
    int32_t capacity = input.ConsumeIntegralInRange(-1, 20);
    settings->LoadText(input.ConsumeRandomLengthString(4096));
    strings->LoadText(input.ConsumeRemainingBytesAsString());

    g.LoadSettings("Wavelorn");
    BuildDefaultProfile(g);

    FUZZ_CHECK(g.DefBand >= 1 && g.DefBand <= 3);
    FUZZ_CHECK(g.DefChB >= 1 && g.DefChB <= 14);
    FUZZ_CHECK(g.DefChA >= 1 && g.DefChA <= 196);
    FUZZ_CHECK(BandModeMask(g.SupportMode) != 7 || g.SupportMode == 34);
    FUZZ_CHECK(g.ProfRoot == settings->ReadString("Setting", "ProfRoot", "Velmora"));
    FUZZ_CHECK(g.MutexName == g.ProfRoot + "_Mutex");
    FUZZ_CHECK(g.LoginMutexName == g.ProfRoot + "_Login_Mutex");
    FUZZ_CHECK(g.BroadcastMsgName == g.ProfRoot + "_BroadcastMsg");
    FUZZ_CHECK(g.AppTitle == strings->ReadString("Utility", "AppTitle", "Wavelorn"));
    FUZZ_CHECK(g.MsgTitle == strings->ReadString("Utility", "MsgTitle", "Wavelorn Message"));
    for (size_t i = 0; i < CCommonString::kWordCount; ++i) {
        const CCommonString::Word& w = CCommonString::kWords[i];
        FUZZ_CHECK(g.Words.*w.field == strings->ReadString("Common", w.key, w.english));
    }

    const WLProfile& d = g.DefaultProfile;
    FUZZ_CHECK(d.Channel == (g.DefBand == 2 ? g.DefChA : g.DefChB));
    FUZZ_CHECK(d.AdHocBand == g.DefBand && d.ABGMode == g.SupportMode);
    FUZZ_CHECK(TextField(d.ProfileName) == g.DefProfName.substr(0, 64).c_str());
    FUZZ_CHECK(TextField(d.Ssid1) == g.DefProfSSID.substr(0, 32).c_str());
    FUZZ_CHECK(d.ApplyNetwork == (g.WinVer == 5 || g.WinVer == 6));

    // the template saves and loads to itself whenever it has a name
    SaveProfile(g, d, "LastApplyProf");
    WLProfile loaded{};
    bool named = d.ProfileName[0] != 0;
    FUZZ_CHECK(LoadProfile(g, loaded, "LastApplyProf") == named);
    if (named) FUZZ_CHECK(std::memcmp(&loaded, &d, sizeof d) == 0);

    size_t logged = log.size();
    DeviceEntry entries[20];
    int32_t count = ReadHwidList(g, entries, capacity);
    int32_t most = std::max(0, std::min<int32_t>(capacity, 16));
    FUZZ_CHECK(count >= 0 && count <= most);
    size_t longIds = 0;
    for (int32_t i = 0; i < count; ++i) {
        AnsiString id = settings->ReadString("Product", Format("HWID%d", i), "");
        FUZZ_CHECK(!id.empty());
        FUZZ_CHECK(std::memchr(entries[i].HardwareId, 0, sizeof entries[i].HardwareId));
        FUZZ_CHECK(TextField(entries[i].HardwareId) == TextField(id.substr(0, 127).c_str(), 128));
        FUZZ_CHECK(entries[i].Reserved0[0] == 0 && entries[i].DeviceName[0] == 0);
        longIds += id.size() > 127;
    }
    if (count < most)
        FUZZ_CHECK(settings->ReadString("Product", Format("HWID%d", count), "").empty());
    FUZZ_CHECK(log.size() - logged == longIds);
    return 0;
}
