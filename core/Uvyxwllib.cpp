#include "Uvyxwllib.h"

#include <cstring>

CVYXWLLIB DriverLib;

// The entry points lie one after the other from VYXWL_Initial on, in table order.
FARPROC* CVYXWLLIB::EntrySlots() {
    return reinterpret_cast<FARPROC*>(&VYXWL_Initial);
}
static_assert(offsetof(CVYXWLLIB, VYXWL_SetAPFilterList) - offsetof(CVYXWLLIB, VYXWL_Initial) ==
                  (kVyxwlEntryCount - 1) * sizeof(FARPROC),
              "45 entry points in a row");

void CVYXWLLIB::ClearDriverLib() {
    Handle = nullptr;
    DriverLibLock.Release();
}

bool CVYXWLLIB::LoadDriverLib(const AnsiString& path, const AnsiString& profRoot) {
    if (path.empty()) return false;
    Handle = LoadLibraryA(path.c_str());
    if (!Handle) return false;
    DriverLibLock.Reset(CreateEventA(nullptr, FALSE, FALSE, nullptr));
    FARPROC* slots = EntrySlots();
    for (int i = 0; i < kVyxwlEntryCount; ++i) {
        slots[i] = GetProcAddress(Handle, kVyxwlEntryNames[i]);
        // the library stays loaded and the lock taken until UnloadDriverLib
        if (!slots[i]) return false;
    }
    VYXWL_Initial("Velmora", 1);
    VYXWL_SetWLProfileDir(profRoot.c_str());
    SetEvent(DriverLibLock.Get());
    return true;
}

void CVYXWLLIB::UnloadDriverLib() {
    if (Handle) FreeLibrary(Handle);
    DriverLibLock.Reset();
    Handle = nullptr;
    std::memset(static_cast<void*>(EntrySlots()), 0, kVyxwlEntryCount * sizeof(FARPROC));
}

bool CVYXWLLIB::LockDriverLib(HANDLE stopEvent) {
    HANDLE objects[2] = {stopEvent, DriverLibLock.Get()};
    DWORD r = WaitForMultipleObjects(2, objects, FALSE, INFINITE);
    if (r == WAIT_OBJECT_0 + 1) return true;
    if (r == WAIT_OBJECT_0) SetEvent(stopEvent);
    return false;
}

void CVYXWLLIB::UnlockDriverLib() {
    SetEvent(DriverLibLock.Get());
}

int32_t CVYXWLLIB::QueryWLANStatus(WLStatus& status) {
    uint32_t written = 0;
    if (VYXWL_QueryOID(OID_GEN_MEDIA_CONNECT_STATUS, &status.MediaConnect,
                       sizeof(status.MediaConnect), &written) != 0)
        return -99;
    if (status.MediaConnect != 0) return -99;
    int32_t more = 0;
    int32_t answer = VYXWL_GetWLANStatus(&more, &status);
    if (more != 0) answer = VYXWL_GetWLANStatus(&more, &status);
    return answer;
}

bool CVYXWLLIB::FindDriverProfile(const AnsiString& name, WLProfile& profile,
                                  const WLProfile& defaultProfile) {
    char found[264];
    for (int32_t index = 0;; ++index) {
        std::memset(found, 0, sizeof(found));
        if (VYXWL_EnumWLProfiles(index, found) != 1) return false;
        found[sizeof(found) - 1] = '\0';
        if (!SameProfileName(name, found)) continue;
        profile = defaultProfile;
        return VYXWL_GetWLProfile(name.c_str(), &profile) == 1;
    }
}

int32_t DriverChannel(uint32_t frequencyKHz) {
    return DriverLib.VYXWL_FrequencyToChannel ? DriverLib.VYXWL_FrequencyToChannel(frequencyKHz)
                                              : 0;
}
