// The tray texts from any string file: the placeholder fill against its plain
// reading, and every tip within what the notification area keeps.
#include <algorithm>
#include <map>

#include "FuzzCheck.h"
#include "core/Udefine.h"
#include "monitor/Umainlogic.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzedDataProvider input(data, size);
    std::map<std::string, std::string> file;
    for (const char* key : {"DevName", "TrayTipDefault", "TrayTipActive", "NoSignal", "Poor",
                            "Good", "VeryGood", "Excellent"})
        if (input.ConsumeBool()) file[key] = input.ConsumeRandomLengthString(200);
    auto read = [&file](const char* key, const AnsiString& def) {
        auto it = file.find(key);
        return it == file.end() ? def : it->second;
    };
    AnsiString title = input.ConsumeRandomLengthString(200);
    AnsiString disabled = input.ConsumeRandomLengthString(200);
    AnsiString signal = input.ConsumeRandomLengthString(200);
    AnsiString quality = input.ConsumeRandomLengthString(200);
    TrayTexts texts = LoadTrayTexts(read, title, disabled, signal, quality);

    // the first "%s" takes the device name; any other '%' stays as it is
    AnsiString format = read("TrayTipActive", "%s is active");
    size_t at = format.find("%s");
    FUZZ_CHECK(texts.TipActive == (at == std::string::npos ? format
                                                           : format.substr(0, at) + texts.DevName +
                                                                 format.substr(at + 2)));
    FUZZ_CHECK(texts.TipDefault == read("TrayTipDefault", title));

    WLStatus status;
    status.MediaConnect = input.ConsumeIntegralInRange(0, 1);
    status.SignalDbm = input.ConsumeIntegral<int32_t>();
    status.NoiseDbm = input.ConsumeIntegral<int32_t>();
    bool attached = input.ConsumeBool(), enabled = input.ConsumeBool();
    const TrayState states[] = {TrayForStatus(texts, status), TrayNoLink(texts),
                                TrayForAdapter(texts, attached, enabled)};
    for (const TrayState& s : states) {
        FUZZ_CHECK(s.Tip.size() <= kTrayTipMax);
        FUZZ_CHECK(s.Icon == kTrayIconIdle || s.Icon == kTrayIconActive ||
                   (s.Icon >= kTrayIconNoLink && s.Icon <= 9));
    }
    if (status.MediaConnect == 0) {
        int percent = SignalToPercent(static_cast<int16_t>(status.SignalDbm & 0xFFFF));
        FUZZ_CHECK(percent >= 0 && percent <= 100);
        FUZZ_CHECK(states[0].Icon == SignalIcon(percent));
        AnsiString tip = texts.DevName + "\n" + texts.Signal + ": " + SignalWord(texts, percent);
        size_t common = std::min(tip.size(), states[0].Tip.size());
        FUZZ_CHECK(states[0].Tip.compare(0, common, tip, 0, common) == 0);
    }
    return 0;
}
