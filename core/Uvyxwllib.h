// The binding of the driver library "VYXWL.DLL": its handle, the library lock
// and the 45 entry points in table order.
#pragma once

#include <windows.h>

#include "../classlib/AnsiString.h"
#include "../classlib/Handles.h"
#include "Uvyxwlapi.h"

class CVYXWLLIB {
public:
    HMODULE Handle = nullptr;
    TKernelHandle DriverLibLock;  // auto-reset event, signalled = free

    vyxwl::Initial VYXWL_Initial = nullptr;
    vyxwl::Unused VYXWL_EnumAvailableDevice = nullptr;
    vyxwl::DevDetect VYXWL_DevDetect = nullptr;
    vyxwl::QueryOID VYXWL_QueryOID = nullptr;
    vyxwl::Unused VYXWL_SetOID = nullptr;
    vyxwl::SiteSurveyScan VYXWL_SiteSurveyScan = nullptr;
    vyxwl::SiteSurveyGet VYXWL_SiteSurveyGet = nullptr;
    vyxwl::Unused VYXWL_ChannelToFrequency = nullptr;
    vyxwl::FrequencyToChannel VYXWL_FrequencyToChannel = nullptr;
    vyxwl::GetWLANStatus VYXWL_GetWLANStatus = nullptr;
    vyxwl::SetWLANStatus VYXWL_SetWLANStatus = nullptr;
    vyxwl::WLProfileToWLStatus VYXWL_WLProfileToWLStatus = nullptr;
    vyxwl::SetWLProfileDir VYXWL_SetWLProfileDir = nullptr;
    vyxwl::GetWLProfile VYXWL_GetWLProfile = nullptr;
    vyxwl::SetWLProfile VYXWL_SetWLProfile = nullptr;
    vyxwl::EnumWLProfiles VYXWL_EnumWLProfiles = nullptr;
    vyxwl::DeleteWLProfile VYXWL_DeleteWLProfile = nullptr;
    vyxwl::RegExportProfile VYXWL_RegExportProfile = nullptr;
    vyxwl::RegImportProfile VYXWL_RegImportProfile = nullptr;
    vyxwl::GetNetworkInfo VYXWL_GetNetworkInfo = nullptr;
    vyxwl::SetNetworkInfo VYXWL_SetNetworkInfo = nullptr;
    vyxwl::StrToIPData VYXWL_StrToIPData = nullptr;
    vyxwl::IPDataToStr VYXWL_IPDataToStr = nullptr;
    vyxwl::GetWLANDriverPath VYXWL_GetWLANDriverPath = nullptr;
    vyxwl::Unused VYXWL_Get_ZeroConfig = nullptr;
    vyxwl::Unused VYXWL_Set_ZeroConfig = nullptr;
    vyxwl::Set_WZCService VYXWL_Set_WZCService = nullptr;
    vyxwl::Get_WZCService VYXWL_Get_WZCService = nullptr;
    vyxwl::PassphraseToWEPKey VYXWL_PassphraseToWEPKey = nullptr;
    vyxwl::GetWLANDomain VYXWL_GetWLANDomain = nullptr;
    vyxwl::Unused VYXWL_SetWLANDomain = nullptr;
    vyxwl::Unused VYXWL_Disconnect = nullptr;
    vyxwl::EnumCertificates VYXWL_EnumCertificates = nullptr;
    vyxwl::GetAllowedChannel VYXWL_GetAllowedChannel = nullptr;
    vyxwl::Unused VYXWL_GetCurrentProfile = nullptr;
    vyxwl::Unused VYXWL_IPRelease = nullptr;
    vyxwl::Unused VYXWL_IPRenew = nullptr;
    vyxwl::GetUSBType VYXWL_GetUSBType = nullptr;
    vyxwl::GetGinUSB11 VYXWL_GetGinUSB11 = nullptr;
    vyxwl::SetGinUSB11 VYXWL_SetGinUSB11 = nullptr;
    vyxwl::Unused VYXWL_GetAPStationList = nullptr;
    vyxwl::Unused VYXWL_GetAPFilterMode = nullptr;
    vyxwl::Unused VYXWL_SetAPFilterMode = nullptr;
    vyxwl::Unused VYXWL_GetAPFilterList = nullptr;
    vyxwl::Unused VYXWL_SetAPFilterList = nullptr;

    void ClearDriverLib();
    // Loads, binds all 45 names, initialises the library and frees the lock.
    bool LoadDriverLib(const AnsiString& path, const AnsiString& profRoot);
    void UnloadDriverLib();

    // Waits, with no time-out, for the lock or the stop event; the stop event
    // wins and is set again so its thread still sees it. True: the caller
    // holds the lock and must UnlockDriverLib.
    bool LockDriverLib(HANDLE stopEvent);
    void UnlockDriverLib();

    // With the lock held: -99 when the media-connect query fails or reports
    // not connected, else the answer of VYXWL_GetWLANStatus (1 = success).
    int32_t QueryWLANStatus(WLStatus& status);
    // With the lock held: the stored profile of this name (the case of A to Z
    // ignored, as the store does), over defaultProfile.
    bool FindDriverProfile(const AnsiString& name, WLProfile& profile,
                           const WLProfile& defaultProfile);

private:
    FARPROC* EntrySlots();
};

// Holds the library lock for a scope, unless the stop event came first.
class DriverLibGuard {
public:
    DriverLibGuard(CVYXWLLIB& lib, HANDLE stopEvent)
        : lib_(lib), held_(lib.LockDriverLib(stopEvent)) {}
    ~DriverLibGuard() {
        if (held_) lib_.UnlockDriverLib();
    }
    DriverLibGuard(const DriverLibGuard&) = delete;
    DriverLibGuard& operator=(const DriverLibGuard&) = delete;
    explicit operator bool() const { return held_; }

private:
    CVYXWLLIB& lib_;
    bool held_;
};

extern CVYXWLLIB DriverLib;

// VYXWL_FrequencyToChannel, a pure conversion the windows call without the lock; 0 while the
// library is not bound.
int32_t DriverChannel(uint32_t frequencyKHz);
