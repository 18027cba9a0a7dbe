// The adapter worker: one thread object that owns everything the program knows about the adapter
// it was handed. It polls the adapter, keeps copies of the driver library's profile store, and
// carries out the commands that change the adapter (applying a profile, switching the system's
// zero-configuration service). Windows read the adapter's data only as copies through it.
//
// Two guards: the worker's critical section (every cached record, the profile list, the applied
// and pending slots; held across a whole command) and the driver library lock. Where both are
// held the critical section is taken first; nothing takes them the other way round.
#pragma once

#include <windows.h>

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <type_traits>
#include <vector>

#include "../classlib/AnsiString.h"
#include "../classlib/Handles.h"
#include "../classlib/Thread.h"
#include "Udevicerecord.h"
#include "Udriverfile.h"
#include "Umessages.h"
#include "Uthreadipaddr.h"
#include "Uvyxwltypes.h"

class TForm;

#pragma pack(push, 1)

// Driver facts, read once per open.
struct DriverInfo {
    char Version[32]{};  // "%d.%d.%d.%d", "" when the driver file is not found
    char DriverPath[260]{};
    char MacAddress[32]{};  // "%02X-%02X-%02X-%02X-%02X-%02X"
    int32_t Reserved1{};
    int32_t Reserved2{};
    int32_t SupportMode{};  // the adapter's wireless-mode code set
};

#pragma pack(pop)

static_assert(sizeof(DriverInfo) == 336, "DriverInfo size");
static_assert(offsetof(DriverInfo, Version) == 0, "DriverInfo::Version offset");
static_assert(offsetof(DriverInfo, DriverPath) == 32, "DriverInfo::DriverPath offset");
static_assert(offsetof(DriverInfo, MacAddress) == 292, "DriverInfo::MacAddress offset");
static_assert(offsetof(DriverInfo, Reserved1) == 324, "DriverInfo::Reserved1 offset");
static_assert(offsetof(DriverInfo, Reserved2) == 328, "DriverInfo::Reserved2 offset");
static_assert(offsetof(DriverInfo, SupportMode) == 332, "DriverInfo::SupportMode offset");
static_assert(std::is_trivially_copyable<DriverInfo>::value, "DriverInfo is copied as bytes");

// The worker's waits. The program runs with these values; tests shorten them.
struct AdapterTiming {
    DWORD FirstPollMs = 500;      // from a resume to the first poll
    DWORD PollPeriodMs = 3000;    // between later polls, restarted by every command
    DWORD AppliedPauseMs = 2000;  // after a successful apply, both guards held
    DWORD NoticeTimeoutMs = 200;  // each bmIgnoreDeviceChange send
    DWORD StopTimeoutMs = 10000;  // StopAdapter's wait for the thread
};

// The thread starts with the object, in the Paused state.
// Lifecycle operations (OpenDevice, CloseDevice, StopAdapter, PauseAdapter, ResumeAdapter,
// RenewIPAddress) belong to the owner's thread; the others may be called from any thread.
class CAdapter final : public TThread {
public:
    explicit CAdapter(HWND owner, const AdapterTiming& timing = AdapterTiming());
    // Waits for the thread however long it takes: its members are never freed under it.
    ~CAdapter() override;

    // Lifecycle.
    // Opens the adapter: prepares it, starts a scan, loads the profile list and resumes the
    // thread; returns after the first poll. Another adapter that is open is closed first.
    bool OpenDevice(const DeviceRecord* record);
    void CloseDevice();  // pauses (waiting until paused), then resets
    // Stops the thread and resets. False when the thread still ran after the stop time-out;
    // the object must then not be freed by anyone who cannot wait (the destructor waits).
    bool StopAdapter();
    void PauseAdapter();
    void ResumeAdapter();  // returns after the first poll of the Running spell
    void ResetAdapter();
    bool IsDeviceOpen() const { return DeviceOpen; }

    // Copies of the cached records: false, nothing copied, unless an adapter is open and the
    // record has been read.
    bool GetAdapterStatus(WLStatus& status);
    bool GetAdapterNetworkInfo(NetworkInfo& info);
    bool GetDriverInfo(DriverInfo& info);

    // Survey, profile store, channels and certificates. Each needs an open adapter; the store
    // operations also a profile list loaded since the open. Lists are the caller's: copies
    // are appended. False when a stop ended the wait for the driver library.
    bool StartSiteSurvey();
    // Valid networks not in the list yet (same SSID and MAC), at most 256 per call.
    bool GetSiteSurvey(std::vector<SiteSurveyEntry>& list);
    bool ReloadProfiles();
    bool GetProfiles(std::vector<WLProfile>& list);
    bool AddProfile(const WLProfile& profile);  // replaces a cached profile of the same name
    bool ReplaceProfile(const AnsiString& oldName, const WLProfile& profile);
    bool DeleteProfile(const AnsiString& name);
    // False when the library refuses the file or the profile cannot be read back; a cached
    // profile of the name is replaced in place.
    bool ImportProfile(const AnsiString& fileName, const AnsiString& profileName,
                       WLProfile* imported = nullptr);
    bool ExportProfile(const AnsiString& fileName, const AnsiString& profileName);
    // size: in, the buffer's size in bytes; out, the number of channels written to it.
    bool GetAllowedChannels(int32_t band, int32_t* channels, int32_t& size);
    bool GetCertificates(std::vector<CertificateEntry>& list, int32_t kind);  // 1 client, 3 CA
    bool GetAppliedProfile(WLProfile* profile);
    // From the settings file: the name last applied to this adapter, "" when none.
    bool GetLastAppliedName(AnsiString& name);

    // Commands, carried out on the worker's thread. One profile and one zero-configuration
    // wish wait at a time; a newer request replaces one not carried out yet. Given a form, the
    // progress dialog runs over it for 20000 ms before the call returns. A profile that is not
    // ProfileIsUsable is refused (false, logged) and nothing of it waits. By name: false unless
    // a usable profile of that name (case ignored) waits now.
    bool ApplyProfileByName(const AnsiString& name, TForm* form = nullptr);
    bool ApplyProfile(const WLProfile& profile, TForm* form = nullptr);
    bool RequestZeroConfig(bool wanted);  // true: the system's service is to run
    void RenewIPAddress();

    // Seams wired by the program. The progress dialog: (form, ms), modal on the caller's
    // thread; none shows nothing.
    std::function<void(TForm* form, int ms)> ShowProgressHook;
    // The IP Helper of the DHCP thread; none is the system's.
    std::shared_ptr<IpHelperApi> IpHelper;
    // Where the driver file is looked for; none is the system's.
    std::shared_ptr<DriverFileSystem> DriverFiles;

protected:
    void Execute() override;

private:
    bool PrepareDevice();
    bool PollAdapter();
    void RefreshStatus();
    void RefreshNetworkInfo();
    void RefreshDriverInfo();
    DriverFile FindDriverFile(bool& stopped);
    void ProcessCommands();
    void ApplyPendingProfile();
    void ApplyZeroConfig();
    bool SendIgnoreDeviceChange(LPARAM value);
    void ShowApplyProgress(TForm* form);
    void StopIPAddrThread();
    AnsiString DeviceSectionName() const;                  // with Lock held
    WLProfile* FindCachedProfile(const AnsiString& name);  // with Lock held
    bool StoreUsable() const { return DeviceOpen && ProfilesLoaded; }

    const AdapterTiming Timing;
    TCriticalSection Lock;
    TEvent StopEvent;
    TEvent CommandEvent;
    TEvent ResumeEvent;
    TEvent ResumedEvent;
    TEvent PauseEvent;
    TEvent PausedEvent;
    bool IsPaused = true;
    std::unique_ptr<ThreadIPAddr> IPAddrThread;
    HWND Owner;
    std::atomic<bool> DeviceOpen{false};
    std::atomic<DWORD> PollPeriod{3000};
    DeviceRecord Device{};
    std::atomic<bool> StatusValid{false};
    WLStatus Status{};
    std::atomic<bool> NetInfoValid{false};
    NetworkInfo NetInfo{};
    std::atomic<bool> DriverInfoValid{false};
    DriverInfo DrvInfo{};
    std::atomic<bool> ProfilesLoaded{false};
    std::vector<WLProfile> Profiles;
    bool AppliedValid = false;
    WLProfile AppliedProfile{};
    bool PendingProfileSet = false;
    WLProfile PendingProfile{};
    bool PendingZeroCfgSet = false;
    bool PendingZeroCfg = false;
};
