// The automatic connection's choice from any profile list and survey: the
// last applied profile, then the default one, then the first in range, each
// only when it qualifies; and a network's own profile always matches it.
#include "FuzzCheck.h"
#include "core/Udefine.h"
#include "core/Uprofile.h"
#include "monitor/Umainlogic.h"

namespace {

// Few names and SSIDs, so that profiles, names and networks meet.
std::string Pick(FuzzedDataProvider& input, std::initializer_list<const char*> common) {
    size_t i = input.ConsumeIntegralInRange<size_t>(0, common.size());
    return i < common.size() ? common.begin()[i] : input.ConsumeRandomLengthString(33);
}

const int32_t kCodes[] = {0, 1, 2, 10, 13, 20, 23, 99, 110, 114, 123, 199, 1010, 1024, 1099};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzedDataProvider input(data, size);
    CFAGlobalVar g;
    g.LoadSettings("Wavelorn");
    BuildDefaultProfile(g);
    auto convert = [&g](const SiteSurveyEntry& entry) {
        WLProfile p;
        ProfileFromSurveyEntry(g, entry, p, [](uint32_t khz) { return int32_t(khz / 5000); });
        return p;
    };

    std::vector<SiteSurveyEntry> scan(input.ConsumeIntegralInRange(0, 6));
    for (SiteSurveyEntry& e : scan) {
        std::string ssid = Pick(input, {"", "ANY", "Cafe", "Home"});
        std::memcpy(e.Ssid.Ssid, ssid.data(), std::min<size_t>(ssid.size(), 32));
        e.Ssid.SsidLength = input.ConsumeBool() ? static_cast<uint32_t>(ssid.size())
                                                : input.ConsumeIntegral<uint32_t>();
        e.Privacy =
            input.ConsumeBool() ? input.PickValueInArray(kCodes) : input.ConsumeIntegral<int32_t>();
        e.InfrastructureMode = input.ConsumeIntegralInRange(0, 2);
        e.NetworkTypeInUse = input.ConsumeIntegralInRange(0, 24);
        e.Configuration.DSConfig = input.ConsumeIntegral<uint32_t>();
    }
    std::vector<WLProfile> profiles(input.ConsumeIntegralInRange(0, 6));
    for (WLProfile& p : profiles) {
        if (!scan.empty() && input.ConsumeBool()) {  // the profile of a network in range
            p = convert(scan[input.ConsumeIntegralInRange<size_t>(0, scan.size() - 1)]);
        } else {
            SetTextField(p.Ssid1, Pick(input, {"", "ANY", "Cafe", "Home"}));
            p.NetworkMode = input.ConsumeIntegralInRange(0, 2);
            p.EncryptionMethod = input.ConsumeIntegralInRange(0, 8);
            p.WPAEncryptionType = input.ConsumeIntegralInRange(0, 3);
        }
        SetTextField(p.ProfileName, Pick(input, {"Office", "Home", "Default", ""}));
    }
    std::string last = Pick(input, {"Office", "Home", "", "office"});
    std::string def = Pick(input, {"Default", "Home", ""});

    auto matches = [&](const WLProfile& p) { return ProfileMatchesScan(p, scan, convert); };
    for (const SiteSurveyEntry& e : scan) {
        WLProfile own = convert(e);
        FUZZ_CHECK(ProfileMatchesScan(own, {e}, convert));
    }
    for (const WLProfile& p : profiles) {
        if (scan.empty()) FUZZ_CHECK(!matches(p));
        AnsiString ssid = TextField(p.Ssid1);
        if (!matches(p) || ssid.empty() || ssid == "ANY") continue;
        bool network = false;  // a named profile matches only a network of its own name
        for (const SiteSurveyEntry& e : scan) network |= TextField(convert(e).Ssid1) == ssid;
        FUZZ_CHECK(network);
    }

    // the first usable profile of the name (case of A to Z aside) that is ad hoc or in range
    auto first = [&](const std::string& name) -> const WLProfile* {
        for (const WLProfile& p : profiles)
            if (SameProfileName(TextField(p.ProfileName), name) && ProfileIsUsable(p) &&
                (p.NetworkMode != 1 || matches(p)))
                return &p;
        return nullptr;
    };
    const WLProfile* found = nullptr;
    for (const WLProfile& p : profiles)
        if (!found && ProfileIsUsable(p) && matches(p)) found = &p;

    AutoConnectChoice choice = ChooseAutoConnectProfile(profiles, scan, last, def, convert);
    AnsiString line = AutoConnectLogLine(choice);
    FUZZ_CHECK((choice.Profile == nullptr) == (choice.Reason == AutoConnectReason::None));
    FUZZ_CHECK(line.empty() == (choice.Profile == nullptr));
    FUZZ_CHECK(!choice.Profile || ProfileIsUsable(*choice.Profile));
    if (const WLProfile* want = first(last)) {
        FUZZ_CHECK(choice.Reason == AutoConnectReason::Last && choice.Profile == want);
        FUZZ_CHECK(line == "auto connect last: " + TextField(want->ProfileName));
    } else if (const WLProfile* want = first(def)) {
        FUZZ_CHECK(choice.Reason == AutoConnectReason::Default && choice.Profile == want);
        FUZZ_CHECK(line == "auto connect default: " + TextField(want->ProfileName));
    } else {
        FUZZ_CHECK(choice.Profile == found);
        if (found) FUZZ_CHECK(line == "auto connect found: " + TextField(found->ProfileName));
    }
    return 0;
}
