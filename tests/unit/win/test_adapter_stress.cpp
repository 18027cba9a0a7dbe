// Everything at once: detection-like library calls, polls, store operations, applies and
// getters from several threads, the owner window answering notices, an adapter closed and
// opened again. It must end without a deadlock and with caches that agree with the library.
#include <algorithm>
#include <atomic>
#include <cstring>

#include "test_adapter_fixture.h"

namespace adaptertest {
namespace {

struct Worker {
    std::function<void(int round)> body;
    std::atomic<bool>* stop;
    std::atomic<int> rounds{0};
    std::atomic<int> faults{0};
    HANDLE thread = nullptr;
};

DWORD WINAPI RunWorker(LPVOID arg) {
    auto* w = static_cast<Worker*>(arg);
    for (int round = 0; !*w->stop; ++round) {
        w->body(round);
        ++w->rounds;
    }
    return 0;
}

// A status is whole: either not connected and empty, or linked to the one network.
bool Consistent(const WLStatus& s) {
    if (s.MediaConnect == 0)
        return SsidText(s.Ssid, s.SsidLength) == "Lobby" && s.SignalDbm == -60 &&
               s.Bssid[5] == 0x66;
    WLStatus empty;
    empty.MediaConnect = 1;
    return std::memcmp(&s, &empty, sizeof(s)) == 0;
}

TEST_F(AdapterTest, StressEndsWithoutDeadlockAndWithConsistentCaches) {
    WriteScenario("RestartDetects=2\r\n");
    FAGlobalVar.WinVer = 6;
    StoreInLibrary(OpenProfile("Lobby"));
    WLProfile fixed = OpenProfile("LobbyFixed");
    fixed.ApplyNetwork = 1;
    fixed.NetworkInfo = StaticSettings();
    StoreInLibrary(fixed);
    AdapterTiming timing;
    timing.FirstPollMs = 5;
    timing.PollPeriodMs = 5;
    timing.AppliedPauseMs = 5;
    timing.NoticeTimeoutMs = 50;
    Create(timing);
    Open();

    std::atomic<bool> stop{false};
    HANDLE detectStop = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    std::vector<std::unique_ptr<Worker>> workers;
    auto add = [&](std::function<void(int)> body) {
        workers.push_back(std::make_unique<Worker>());
        workers.back()->body = std::move(body);
        workers.back()->stop = &stop;
    };
    // the device-detect thread's way into the library
    add([&](int) {
        DeviceEntry entry;
        SetTextField(entry.HardwareId, kHwid);
        DriverLibGuard lock(DriverLib, detectStop);
        if (lock) DriverLib.VYXWL_DevDetect(&entry);
    });
    // the pages' store operations
    add([&](int round) {
        std::string name = "Stress" + std::to_string(round % 4);
        switch (round % 5) {
            case 0:
                adapter_->AddProfile(OpenProfile(name));
                break;
            case 1:
                adapter_->ReplaceProfile(name, OpenProfile(name + "x"));
                break;
            case 2:
                adapter_->DeleteProfile(name + "x");
                break;
            case 3: {
                std::vector<SiteSurveyEntry> survey;
                adapter_->GetSiteSurvey(survey);
                int32_t channels[260];
                int32_t size = sizeof(channels);
                adapter_->GetAllowedChannels(1, channels, size);
                break;
            }
            default: {
                std::vector<CertificateEntry> certificates;
                adapter_->GetCertificates(certificates, 1);
                adapter_->StartSiteSurvey();
            }
        }
    });
    // connections asked for by the pages and the main window
    add([&](int round) {
        switch (round % 4) {
            case 0:
                adapter_->ApplyProfileByName("Lobby");
                break;
            case 1:
                adapter_->ApplyProfileByName("LobbyFixed");
                break;
            case 2:
                adapter_->ApplyProfile(OpenProfile("Lobby"));
                break;
            default:
                adapter_->RequestZeroConfig(round % 8 == 3);
        }
        // a user's pace: every command restarts the poll wait, and polls must still happen
        Sleep(15);
    });
    // the getters, checking each copy is whole
    Worker* reader = nullptr;
    add([&](int) {
        WLStatus status;
        if (adapter_->GetAdapterStatus(status) && !Consistent(status)) ++reader->faults;
        DriverInfo driver;
        if (adapter_->GetDriverInfo(driver) && std::strcmp(driver.MacAddress, "02-56-59-00-00-01"))
            ++reader->faults;
        std::vector<WLProfile> profiles;
        adapter_->GetProfiles(profiles);
        WLProfile applied;
        adapter_->GetAppliedProfile(&applied);
    });
    reader = workers.back().get();
    for (auto& w : workers) w->thread = CreateThread(nullptr, 0, RunWorker, w.get(), 0, nullptr);

    // the main thread answers notices, and once closes and reopens the adapter
    PumpFor(1500);
    adapter_->CloseDevice();
    PumpFor(100);
    Open();
    PumpFor(1500);
    // polls go on under the load, however slow the machine
    EXPECT_TRUE(PumpUntil([&] { return CountNotices(bmStatusUpdated) > 10u; }, 15000));
    stop = true;
    std::vector<HANDLE> threads;
    for (auto& w : workers) threads.push_back(w->thread);
    bool ended = PumpUntil(
        [&] {
            return WaitForMultipleObjects(static_cast<DWORD>(threads.size()), threads.data(), TRUE,
                                          0) == WAIT_OBJECT_0;
        },
        10000);
    ASSERT_TRUE(ended) << "deadlock";
    for (HANDLE t : threads) CloseHandle(t);
    CloseHandle(detectStop);

    for (auto& w : workers) EXPECT_GT(w->rounds, 10);
    EXPECT_EQ(reader->faults, 0);
    EXPECT_GT(CountNotices(bmProfileApplied), 0u);
    EXPECT_GT(CountNotices(bmIgnoreDeviceChange), 0u);

    // let the last command finish: it runs before the wait that ends in the second poll
    ASSERT_TRUE(WaitForPolls(2));
    std::vector<WLProfile> profiles;
    ASSERT_TRUE(adapter_->GetProfiles(profiles));
    std::vector<std::string> cached;
    for (const WLProfile& p : profiles) cached.push_back(TextField(p.ProfileName));
    std::vector<std::string> stored = LibraryProfileNames();
    std::sort(cached.begin(), cached.end());
    std::sort(stored.begin(), stored.end());
    EXPECT_EQ(cached, stored);
    WLProfile applied;
    AnsiString last;
    ASSERT_TRUE(adapter_->GetLastAppliedName(last));
    if (adapter_->GetAppliedProfile(&applied)) {
        EXPECT_EQ(TextField(applied.ProfileName), last);
    }
    WLStatus status;
    ASSERT_TRUE(adapter_->GetAdapterStatus(status));
    EXPECT_TRUE(Consistent(status));
}

}  // namespace
}  // namespace adaptertest
