#include "Uadapter.h"

#include <cstring>

#include "../classlib/SysUtils.h"
#include "Udebug.h"
#include "Udefine.h"
#include "UdefineWin.h"
#include "Uprofile.h"
#include "Uvyxwllib.h"

namespace {

// What the channel page hands in: the library writes up to this many channel numbers.
constexpr int32_t kMaxAllowedChannels = 260;
// Certificates copied from one listing: the library's count is believed only this far, as the
// survey's and the channels' are.
constexpr int32_t kMaxCertificates = 256;
constexpr int32_t kDevDetectTries = 10;
constexpr int kApplyProgressMs = 20000;
constexpr char kLastApplyKey[] = "LastApplyProf";

// A record read back from the store, made what the list keeps: false for a damaged name, which
// would hand the library another name than the one listed; else its settings take its name.
bool TakeStoredRecord(WLProfile& profile) {
    AnsiString stored = TextField(profile.ProfileName);
    if (ProfileNameHasControlByte(stored)) return false;
    SetTextField(profile.NetworkInfo.NI_sz_CurProfile, stored);
    return true;
}

void LogDamagedName(const AnsiString& name) {
    DebugPrint("profile left out: a control character in its name \"%s\"",
               LoggedProfileName(name).c_str());
}

// A profile the "/Service" run would refuse is never applied: the next system start would fall
// back on the default profile, and the adapter join whatever open network is in range.
bool UsableForApply(const WLProfile& profile) {
    if (ProfileIsUsable(profile)) return true;
    DebugPrint("profile not applied: its settings cannot be used \"%s\"",
               LoggedProfileName(TextField(profile.ProfileName)).c_str());
    return false;
}

bool FileExists(const AnsiString& path) {
    DWORD attrs = GetFileAttributesA(path.c_str());
    return attrs != INVALID_FILE_ATTRIBUTES && !(attrs & FILE_ATTRIBUTE_DIRECTORY);
}

// Under WOW64, System32 is redirected to SysWOW64 unless the thread turns that off. The
// functions are newer than Windows 2000 and looked up when needed.
class SystemDriverFiles final : public DriverFileSystem {
public:
    bool IsWow64() override {
        using IsWow64ProcessFn = BOOL(WINAPI*)(HANDLE, PBOOL);
        auto isWow64 = Kernel32<IsWow64ProcessFn>("IsWow64Process");
        BOOL wow64 = FALSE;
        return isWow64 && isWow64(GetCurrentProcess(), &wow64) && wow64;
    }
    bool RedirectionOff() override {
        using DisableFn = BOOL(WINAPI*)(PVOID*);
        auto disable = Kernel32<DisableFn>("Wow64DisableWow64FsRedirection");
        return disable && disable(&old_);
    }
    void RedirectionOn() override {
        using RevertFn = BOOL(WINAPI*)(PVOID);
        if (auto revert = Kernel32<RevertFn>("Wow64RevertWow64FsRedirection")) revert(old_);
    }
    bool FileExists(const AnsiString& path) override { return ::FileExists(path); }
    AnsiString FileVersion(const AnsiString& path) override {
        return GetFileVersionString(path, 4);
    }

private:
    template <typename Fn>
    static Fn Kernel32(const char* name) {
        HMODULE kernel = GetModuleHandleA("kernel32.dll");
        return kernel ? reinterpret_cast<Fn>(reinterpret_cast<void*>(GetProcAddress(kernel, name)))
                      : nullptr;
    }
    PVOID old_ = nullptr;  // one lookup at a time, on the worker's thread
};

DeviceEntry EntryFor(const DeviceRecord& device) {
    DeviceEntry entry;
    std::memcpy(entry.HardwareId, device.HardwareId, sizeof(device.HardwareId));
    return entry;
}

bool SameAddress(const uint8_t (&a)[4], const uint8_t (&b)[4]) {
    return std::memcmp(a, b, sizeof(a)) == 0;
}

// Whether the adapter's IP settings must be rewritten to become the wanted ones. Only the static
// flag and, between two static settings, address, mask, first gateway and both DNS servers count.
bool NetworkSettingsDiffer(const NetworkInfo& current, const NetworkInfo& wanted) {
    bool currentStatic = (current.NI_wNetFlags & 1) != 0;
    bool wantedStatic = (wanted.NI_wNetFlags & 1) != 0;
    if (currentStatic != wantedStatic) return true;
    if (!currentStatic) return false;
    return !SameAddress(current.NI_IpAddr, wanted.NI_IpAddr) ||
           !SameAddress(current.NI_IpMask, wanted.NI_IpMask) ||
           !SameAddress(current.NI_IpGate1, wanted.NI_IpGate1) ||
           !SameAddress(current.NI_IpDNS1, wanted.NI_IpDNS1) ||
           !SameAddress(current.NI_IpDNS2, wanted.NI_IpDNS2);
}

bool ValidSurveyEntry(const SiteSurveyEntry& entry) {
    static const uint8_t kNoMac[6] = {};
    uint32_t length = entry.Ssid.SsidLength;
    return length != 0 && length <= kMaxSsidLength && !SsidText(entry.Ssid.Ssid, length).empty() &&
           std::memcmp(entry.MacAddress, kNoMac, sizeof(kNoMac)) != 0;
}

bool SameNetwork(const SiteSurveyEntry& a, const SiteSurveyEntry& b) {
    return a.Ssid.SsidLength == b.Ssid.SsidLength &&
           std::memcmp(a.Ssid.Ssid, b.Ssid.Ssid, a.Ssid.SsidLength) == 0 &&
           std::memcmp(a.MacAddress, b.MacAddress, sizeof(a.MacAddress)) == 0;
}

}  // namespace

CAdapter::CAdapter(HWND owner, const AdapterTiming& timing)
    : TThread(false), Timing(timing), Owner(owner) {
    // The events and the critical section are members: a step that throws leaves nothing open.
    ResetAdapter();
    AfterConstruction();
}

CAdapter::~CAdapter() {
    StopEvent.Set();
    // Execute works on the members below: they go only when it is over. (An object freed by
    // its own thread, after ReleaseThread, is past Execute already.)
    if (GetCurrentThreadId() != ThreadID() && !Suspended()) WaitFor();
    StopIPAddrThread();
}

// ---- thread and states ----

void CAdapter::Execute() {
    HANDLE paused[3] = {StopEvent, ResumeEvent, CommandEvent};
    HANDLE running[3] = {StopEvent, PauseEvent, CommandEvent};
    for (;;) {
        DWORD woke = WaitForMultipleObjects(3, paused, FALSE, INFINITE);
        if (woke == WAIT_OBJECT_0 + 2) {
            ProcessCommands();
            continue;
        }
        if (woke != WAIT_OBJECT_0 + 1) {
            ResumedEvent.Set();
            break;
        }
        DWORD timeout = Timing.FirstPollMs;
        bool firstPoll = true;
        bool stopped = false;
        for (;;) {
            woke = WaitForMultipleObjects(3, running, FALSE, timeout);
            if (woke == WAIT_OBJECT_0 + 2) {
                ProcessCommands();  // the next poll waits the full time-out again
                continue;
            }
            if (woke == WAIT_TIMEOUT) {
                bool open = PollAdapter();
                if (firstPoll) {
                    firstPoll = false;
                    timeout = PollPeriod;
                    ResumedEvent.Set();
                } else if (open) {
                    PostMessageA(Owner, BroadcastMsgId, bmStatusUpdated, 0);
                }
                continue;
            }
            PausedEvent.Set();
            stopped = woke != WAIT_OBJECT_0 + 1;
            break;
        }
        if (stopped) break;
    }
    // Set again: an operation still waiting for the driver library with this event, or one
    // that comes later, must skip its call too.
    StopEvent.Set();
}

void CAdapter::PauseAdapter() {
    if (IsPaused) return;
    PauseEvent.Set();
    // A thread that has ended acknowledges nothing.
    HANDLE objects[2] = {PausedEvent, Handle()};
    WaitForMultipleObjects(2, objects, FALSE, INFINITE);
    IsPaused = true;
}

void CAdapter::ResumeAdapter() {
    if (!IsPaused) return;
    ResumeEvent.Set();
    HANDLE objects[2] = {ResumedEvent, Handle()};
    WaitForMultipleObjects(2, objects, FALSE, INFINITE);
    IsPaused = false;
}

void CAdapter::ResetAdapter() {
    {
        TScopedLock guard(Lock);
        DeviceOpen = false;
        PollPeriod = Timing.PollPeriodMs;
        Device = DeviceRecord();
        StatusValid = false;
        NetInfoValid = false;
        DriverInfoValid = false;
        ProfilesLoaded = false;
        AppliedValid = false;
        PendingProfileSet = false;
        PendingZeroCfgSet = false;
    }
    StopIPAddrThread();
}

bool CAdapter::OpenDevice(const DeviceRecord* record) {
    if (!record) return false;
    if (DeviceOpen && std::memcmp(record, &Device, sizeof(DeviceRecord)) != 0) CloseDevice();
    {
        TScopedLock guard(Lock);
        Device = *record;
    }
    if (!PrepareDevice()) return DeviceOpen;
    DeviceOpen = true;
    StartSiteSurvey();
    ReloadProfiles();
    ResumeAdapter();
    return DeviceOpen;
}

void CAdapter::CloseDevice() {
    PauseAdapter();
    ResetAdapter();
}

bool CAdapter::StopAdapter() {
    StopEvent.Set();
    bool ended = WaitFor(Timing.StopTimeoutMs);
    ResetAdapter();
    return ended;
}

bool CAdapter::PrepareDevice() {
    DeviceEntry entry = EntryFor(Device);
    int32_t usbType = 0, gInUsb11 = 0;
    {
        DriverLibGuard driver(DriverLib, StopEvent);
        if (!driver) return false;
        DriverLib.VYXWL_DevDetect(&entry);
        usbType = DriverLib.VYXWL_GetUSBType();
        gInUsb11 = DriverLib.VYXWL_GetGinUSB11();
        if (usbType == 0 && gInUsb11 == 0) DriverLib.VYXWL_SetGinUSB11(1);
    }
    DebugPrint("USB Type: %d", usbType);
    DebugPrint("G in USB11: %d", gInUsb11);
    return true;
}

// ---- polling and the cached records ----

bool CAdapter::PollAdapter() {
    if (!DeviceOpen) return false;
    RefreshStatus();
    RefreshNetworkInfo();
    if (!DriverInfoValid) RefreshDriverInfo();
    return true;
}

void CAdapter::RefreshStatus() {
    WLStatus status;
    {
        DriverLibGuard driver(DriverLib, StopEvent);
        if (!driver) return;
        // a failed read must never leave stale link data: only what the queries wrote stays
        if (DriverLib.QueryWLANStatus(status) != 1) status.MediaConnect = 1;
    }
    TScopedLock guard(Lock);
    Status = status;
    StatusValid = true;
}

void CAdapter::RefreshNetworkInfo() {
    NetworkInfo info;
    int32_t answer = 0;
    {
        DriverLibGuard driver(DriverLib, StopEvent);
        if (!driver) return;
        answer = DriverLib.VYXWL_GetNetworkInfo(&info);
    }
    if (answer != 1) return;
    TScopedLock guard(Lock);
    NetInfo = info;
    NetInfoValid = true;
}

void CAdapter::RefreshDriverInfo() {
    uint8_t mac[6] = {};
    {
        DriverLibGuard driver(DriverLib, StopEvent);
        if (!driver) return;
        uint32_t written = 0;
        DriverLib.VYXWL_QueryOID(OID_802_3_CURRENT_ADDRESS, mac, sizeof(mac), &written);
    }
    bool stopped = false;
    DriverFile file = FindDriverFile(stopped);
    if (stopped) return;
    AnsiString hardwareId;
    {
        TScopedLock guard(Lock);
        hardwareId = TextField(Device.HardwareId);
    }
    int32_t supportMode = FAGlobalVar.ReadSettingInteger(hardwareId, "SupportMode", 0);
    if (supportMode == 0)
        supportMode = FAGlobalVar.ReadSettingInteger("Setting", "SupportMode", 34);

    DriverInfo info;
    SetTextField(info.Version, file.Version);
    SetTextField(info.DriverPath, file.Path);
    SetTextField(info.MacAddress, Format("%02X-%02X-%02X-%02X-%02X-%02X", mac[0], mac[1], mac[2],
                                         mac[3], mac[4], mac[5]));
    info.SupportMode = supportMode;
    TScopedLock guard(Lock);
    DrvInfo = info;
    DriverInfoValid = true;
}

DriverFile CAdapter::FindDriverFile(bool& stopped) {
    char windows[MAX_PATH + 1] = {};
    GetWindowsDirectoryA(windows, MAX_PATH);
    AnsiString dir = IncludeTrailingPathDelimiter(windows);
    char relative[MAX_PATH + 1] = {};
    {
        DriverLibGuard driver(DriverLib, StopEvent);
        if (!driver) {
            stopped = true;
            return DriverFile();
        }
        DriverLib.VYXWL_GetWLANDriverPath(relative);
    }
    // The file's version is read where the file was found, in the native system folder.
    SystemDriverFiles system;
    DriverFileSystem& fs = DriverFiles ? *DriverFiles : system;
    return LookUpDriverFile(fs, dir, TextField(relative, MAX_PATH));
}

bool CAdapter::GetAdapterStatus(WLStatus& status) {
    TScopedLock guard(Lock);
    if (!DeviceOpen || !StatusValid) return false;
    status = Status;
    return true;
}

bool CAdapter::GetAdapterNetworkInfo(NetworkInfo& info) {
    TScopedLock guard(Lock);
    if (!DeviceOpen || !NetInfoValid) return false;
    info = NetInfo;
    return true;
}

bool CAdapter::GetDriverInfo(DriverInfo& info) {
    TScopedLock guard(Lock);
    if (!DeviceOpen || !DriverInfoValid) return false;
    info = DrvInfo;
    return true;
}

// ---- survey, profile store, channels, certificates ----

WLProfile* CAdapter::FindCachedProfile(const AnsiString& name) {
    for (WLProfile& profile : Profiles)
        if (SameProfileName(TextField(profile.ProfileName), name)) return &profile;
    return nullptr;
}

AnsiString CAdapter::DeviceSectionName() const {
    return Format("%s-%s", TextField(Device.HardwareId).c_str(), TextField(Device.Suffix).c_str());
}

bool CAdapter::StartSiteSurvey() {
    if (!DeviceOpen) return false;
    DriverLibGuard driver(DriverLib, StopEvent);
    if (!driver) return false;
    DriverLib.VYXWL_SiteSurveyScan();
    return true;
}

bool CAdapter::GetSiteSurvey(std::vector<SiteSurveyEntry>& list) {
    if (!DeviceOpen) return false;
    std::unique_ptr<SiteSurveyBuffer> buffer(new SiteSurveyBuffer());
    uint32_t size = sizeof(SiteSurveyBuffer);
    {
        DriverLibGuard driver(DriverLib, StopEvent);
        if (!driver) return false;
        DriverLib.VYXWL_SiteSurveyGet(buffer.get(), &size);
    }
    uint32_t count = SurveyEntryCount(*buffer);
    for (uint32_t i = 0; i < count; ++i) {
        const SiteSurveyEntry& entry = buffer->Entries[i];
        if (!ValidSurveyEntry(entry)) continue;
        bool known = false;
        for (const SiteSurveyEntry& listed : list) {
            if (SameNetwork(listed, entry)) {
                known = true;
                break;
            }
        }
        if (!known) list.push_back(entry);
    }
    return true;
}

bool CAdapter::ReloadProfiles() {
    if (!DeviceOpen) return false;
    std::vector<WLProfile> loaded;
    std::vector<AnsiString> damaged;
    {
        DriverLibGuard driver(DriverLib, StopEvent);
        if (!driver) return false;
        char name[264];
        for (int32_t index = 0;; ++index) {
            std::memset(name, 0, sizeof(name));
            if (DriverLib.VYXWL_EnumWLProfiles(index, name) != 1) break;
            name[sizeof(name) - 1] = '\0';
            if (SameProfileName(name, kEditingProfileName)) continue;
            // A damaged name, listed or in the record, is left out like one that cannot be
            // read back.
            if (ProfileNameHasControlByte(name)) {
                damaged.push_back(name);
                continue;
            }
            WLProfile profile = FAGlobalVar.DefaultProfile;
            if (DriverLib.VYXWL_GetWLProfile(name, &profile) != 1) continue;
            if (!TakeStoredRecord(profile)) {
                damaged.push_back(TextField(profile.ProfileName));
                continue;
            }
            loaded.push_back(profile);
        }
    }
    for (const AnsiString& name : damaged) LogDamagedName(name);
    TScopedLock guard(Lock);
    Profiles = std::move(loaded);
    ProfilesLoaded = true;
    return true;
}

bool CAdapter::GetProfiles(std::vector<WLProfile>& list) {
    TScopedLock guard(Lock);
    if (!StoreUsable()) return false;
    list.insert(list.end(), Profiles.begin(), Profiles.end());
    return true;
}

bool CAdapter::AddProfile(const WLProfile& profile) {
    TScopedLock guard(Lock);
    if (!StoreUsable()) return false;
    DriverLibGuard driver(DriverLib, StopEvent);
    if (!driver) return false;
    WLProfile* cached = FindCachedProfile(TextField(profile.ProfileName));
    if (cached) {
        *cached = profile;
    } else {
        Profiles.push_back(profile);
        cached = &Profiles.back();
    }
    DriverLib.VYXWL_SetWLProfile(cached->ProfileName, cached);
    return true;
}

bool CAdapter::ReplaceProfile(const AnsiString& oldName, const WLProfile& profile) {
    TScopedLock guard(Lock);
    if (!StoreUsable()) return false;
    DriverLibGuard driver(DriverLib, StopEvent);
    if (!driver) return false;
    WLProfile* cached = FindCachedProfile(oldName);
    if (!cached) return false;
    size_t index = static_cast<size_t>(cached - Profiles.data());
    // A rename onto another cached profile replaces it, as the store's write does: the copy
    // must not keep a profile the store no longer has.
    AnsiString newName = TextField(profile.ProfileName);
    for (size_t i = Profiles.size(); i-- > 0;) {
        if (i == index || !SameProfileName(TextField(Profiles[i].ProfileName), newName)) continue;
        Profiles.erase(Profiles.begin() + static_cast<std::ptrdiff_t>(i));
        if (i < index) --index;
    }
    WLProfile& record = Profiles[index];
    record = profile;
    DriverLib.VYXWL_DeleteWLProfile(oldName.c_str());
    DriverLib.VYXWL_SetWLProfile(record.ProfileName, &record);
    return true;
}

bool CAdapter::DeleteProfile(const AnsiString& name) {
    TScopedLock guard(Lock);
    if (!StoreUsable()) return false;
    WLProfile* cached = FindCachedProfile(name);
    if (!cached) return false;
    DriverLibGuard driver(DriverLib, StopEvent);
    if (!driver) return false;
    DriverLib.VYXWL_DeleteWLProfile(name.c_str());
    Profiles.erase(Profiles.begin() + (cached - Profiles.data()));
    return true;
}

bool CAdapter::ImportProfile(const AnsiString& fileName, const AnsiString& profileName,
                             WLProfile* imported) {
    if (!StoreUsable()) return false;
    // The library takes the name as a C string: it must be the name that was checked.
    if (ProfileNameHasControlByte(profileName)) return false;
    WLProfile profile;
    {
        DriverLibGuard driver(DriverLib, StopEvent);
        if (!driver) return false;
        // A refused file leaves a stored profile of that name as it was: reading that back
        // would pass the old profile off as the imported one.
        if (DriverLib.VYXWL_RegImportProfile(fileName.c_str(), profileName.c_str()) == 0)
            return false;
        if (!DriverLib.FindDriverProfile(profileName, profile, FAGlobalVar.DefaultProfile))
            return false;
    }
    if (!TakeStoredRecord(profile)) {
        LogDamagedName(TextField(profile.ProfileName));
        return false;
    }
    {
        TScopedLock guard(Lock);
        if (!StoreUsable()) return false;
        // The store wrote over a profile of that name: so does the copy, where it stands.
        if (WLProfile* cached = FindCachedProfile(profileName)) {
            *cached = profile;
        } else {
            Profiles.push_back(profile);
        }
    }
    if (imported) *imported = profile;
    return true;
}

bool CAdapter::ExportProfile(const AnsiString& fileName, const AnsiString& profileName) {
    {
        TScopedLock guard(Lock);
        if (!StoreUsable() || !FindCachedProfile(profileName)) return false;
    }
    DriverLibGuard driver(DriverLib, StopEvent);
    if (!driver) return false;
    DriverLib.VYXWL_RegExportProfile(fileName.c_str(), profileName.c_str());
    return true;
}

bool CAdapter::GetAllowedChannels(int32_t band, int32_t* channels, int32_t& size) {
    if (!DeviceOpen) return false;
    // The library writes without being told the size: it gets a buffer of the size it assumes,
    // and the caller no more than its own buffer holds.
    int32_t scratch[kMaxAllowedChannels] = {};
    char domain[10] = {};
    int32_t count = 0;
    {
        DriverLibGuard driver(DriverLib, StopEvent);
        if (!driver) return false;
        DriverLib.VYXWL_GetWLANDomain(domain);
        domain[sizeof(domain) - 1] = '\0';
        count = DriverLib.VYXWL_GetAllowedChannel(scratch, band, domain);
    }
    int32_t capacity = channels && size > 0 ? size / static_cast<int32_t>(sizeof(int32_t)) : 0;
    if (capacity > kMaxAllowedChannels) capacity = kMaxAllowedChannels;
    if (count < 0) count = 0;
    if (count > capacity) count = capacity;
    if (channels && size > 0) std::memset(channels, 0, static_cast<size_t>(size));
    if (count > 0) std::memcpy(channels, scratch, static_cast<size_t>(count) * sizeof(int32_t));
    size = count;
    return true;
}

bool CAdapter::GetCertificates(std::vector<CertificateEntry>& list, int32_t kind) {
    if (!DeviceOpen) return false;
    DriverLibGuard driver(DriverLib, StopEvent);
    if (!driver) return false;
    CertificateEntry* entries = nullptr;
    int32_t count = DriverLib.VYXWL_EnumCertificates(&entries, kind);
    if (count > kMaxCertificates) count = kMaxCertificates;
    // the array is the library's: copied before the lock is let go
    if (entries)
        for (int32_t i = 0; i < count; ++i) list.push_back(entries[i]);
    return true;
}

bool CAdapter::GetAppliedProfile(WLProfile* profile) {
    TScopedLock guard(Lock);
    if (!DeviceOpen || !AppliedValid) return false;
    if (profile) *profile = AppliedProfile;
    return true;
}

bool CAdapter::GetLastAppliedName(AnsiString& name) {
    TScopedLock guard(Lock);
    if (!DeviceOpen) return false;
    name = FAGlobalVar.ReadSettingString(DeviceSectionName(), kLastApplyKey, "");
    if (ProfileNameHasControlByte(name)) name.clear();  // damaged: no profile has it
    return true;
}

// ---- commands ----

bool CAdapter::ApplyProfileByName(const AnsiString& name, TForm* form) {
    bool found = false;
    bool pending = false;
    {
        TScopedLock guard(Lock);
        if (!StoreUsable()) return false;
        for (const WLProfile& profile : Profiles) {
            if (!SameProfileName(TextField(profile.ProfileName), name) || !UsableForApply(profile))
                continue;
            PendingProfile = profile;
            PendingProfileSet = true;
            found = true;
        }
        pending = PendingProfileSet;
    }
    if (pending) {
        CommandEvent.Set();
        if (form) ShowApplyProgress(form);
    }
    return found;
}

bool CAdapter::ApplyProfile(const WLProfile& profile, TForm* form) {
    {
        TScopedLock guard(Lock);
        if (!DeviceOpen || !UsableForApply(profile)) return false;
        PendingProfile = profile;
        PendingProfileSet = true;
    }
    CommandEvent.Set();
    if (form) ShowApplyProgress(form);
    return true;
}

bool CAdapter::RequestZeroConfig(bool wanted) {
    {
        TScopedLock guard(Lock);
        if (!DeviceOpen) return false;
        PendingZeroCfg = wanted;
        PendingZeroCfgSet = true;
    }
    CommandEvent.Set();
    return true;
}

void CAdapter::ShowApplyProgress(TForm* form) {
    if (ShowProgressHook) ShowProgressHook(form, kApplyProgressMs);
}

void CAdapter::RenewIPAddress() {
    if (!DeviceOpen) return;
    DebugPrint("IP renew: %s", TextField(Device.Name).c_str());
    StopIPAddrThread();
    AnsiString name = TextField(Device.Name);
    int32_t flags = ThreadIPAddr::kRelease | ThreadIPAddr::kRenew;
    IPAddrThread = IpHelper ? std::make_unique<ThreadIPAddr>(name, flags, IpHelper)
                            : std::make_unique<ThreadIPAddr>(name, flags);
}

void CAdapter::StopIPAddrThread() {
    if (!IPAddrThread) return;
    IPAddrThread->StopIPAddrThread();
    // one still inside the IP Helper frees itself when it is done
    ReleaseThread(IPAddrThread);
}

void CAdapter::ProcessCommands() {
    if (!DeviceOpen) return;
    TScopedLock guard(Lock);
    if (PendingZeroCfgSet) {
        ApplyZeroConfig();
        PendingZeroCfgSet = false;
    }
    if (PendingProfileSet) {
        ApplyPendingProfile();
        PendingProfileSet = false;
    }
}

bool CAdapter::SendIgnoreDeviceChange(LPARAM value) {
    DWORD_PTR result = 0;
    return SendMessageTimeoutA(Owner, BroadcastMsgId, bmIgnoreDeviceChange, value, SMTO_NORMAL,
                               Timing.NoticeTimeoutMs, &result) != 0;
}

// Lock is held by the caller; the driver library lock is held from here to the end, through
// every wait.
void CAdapter::ApplyPendingProfile() {
    DriverLibGuard driver(DriverLib, StopEvent);
    if (!driver) return;
    WLProfile& profile = PendingProfile;
    if (profile.ApplyNetwork) {
        NetworkInfo current;
        // settings that cannot be read count as different: the wanted ones are written
        bool read = DriverLib.VYXWL_GetNetworkInfo(&current) == 1;
        if (!read || NetworkSettingsDiffer(current, profile.NetworkInfo)) {
            DebugTrace("Set static IP %d", profile.NetworkInfo.NI_wNetFlags);
            if (!SendIgnoreDeviceChange(dcIgnore)) DebugTrace("SendMessageTimeOut 1");
            DriverLib.VYXWL_SetNetworkInfo(&profile.NetworkInfo);
            // the adapter restarts with its new settings; wait until it answers again
            DeviceEntry entry = EntryFor(Device);
            for (int32_t i = 0; i < kDevDetectTries; ++i)
                if (DriverLib.VYXWL_DevDetect(&entry) == 1) break;
            if (!SendIgnoreDeviceChange(dcHeed)) {
                DebugTrace("SendMessageTimeOut 2");
                PostMessageA(Owner, BroadcastMsgId, bmIgnoreDeviceChange, dcHeed);
            }
        }
    }
    WLStatus status;
    DriverLib.VYXWL_WLProfileToWLStatus(&profile, &status);
    int32_t flag = 0;
    int32_t answer = DriverLib.VYXWL_SetWLANStatus(&flag, &status);
    DebugTrace("VYXWL_SetWLANStatus %d", answer);
    if (answer != 1) return;
    AppliedProfile = profile;
    AppliedValid = true;
    if (FAGlobalVar.SettingsIni) {
        FAGlobalVar.WriteSettingString(DeviceSectionName(), kLastApplyKey,
                                       TextField(AppliedProfile.ProfileName));
        SaveProfile(FAGlobalVar, AppliedProfile, kLastApplyKey);
    }
    Sleep(Timing.AppliedPauseMs);
    PostMessageA(Owner, BroadcastMsgId, bmProfileApplied, 0);
}

// Lock is held by the caller.
void CAdapter::ApplyZeroConfig() {
    // only Windows NT 5.1 and 5.2 hand the adapter to the service
    if (FAGlobalVar.WinVer != 6) return;
    DriverLibGuard driver(DriverLib, StopEvent);
    if (!driver) return;
    int32_t state = DriverLib.VYXWL_Get_WZCService();
    DebugTrace("Current ZeroCfg: %d", state);
    bool running = state == 4;
    if (running != PendingZeroCfg) {
        DebugTrace("Set ZeroCfg: %d", PendingZeroCfg ? 1 : 0);
        DriverLib.VYXWL_Set_WZCService(PendingZeroCfg ? 1 : 0);
    }
}
