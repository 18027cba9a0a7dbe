// The 45 entry points of the stand-in driver library, in the order the
// program binds them. Exported by undecorated name through VYXWL.def.
#pragma once

#include <windows.h>

#include <cstdint>

#include "core/Uvyxwltypes.h"

extern "C" {

int32_t WINAPI VYXWL_Initial(const char* maker, int32_t flags);
int32_t WINAPI VYXWL_EnumAvailableDevice();
int32_t WINAPI VYXWL_DevDetect(DeviceEntry* entry);
int32_t WINAPI VYXWL_QueryOID(uint32_t oid, void* buffer, uint32_t length, uint32_t* written);
int32_t WINAPI VYXWL_SetOID();
int32_t WINAPI VYXWL_SiteSurveyScan();
int32_t WINAPI VYXWL_SiteSurveyGet(SiteSurveyBuffer* buffer, uint32_t* size);
int32_t WINAPI VYXWL_ChannelToFrequency();
int32_t WINAPI VYXWL_FrequencyToChannel(uint32_t khz);
int32_t WINAPI VYXWL_GetWLANStatus(int32_t* more, WLStatus* status);
int32_t WINAPI VYXWL_SetWLANStatus(int32_t* flag, WLStatus* status);
int32_t WINAPI VYXWL_WLProfileToWLStatus(WLProfile* profile, WLStatus* status);
int32_t WINAPI VYXWL_SetWLProfileDir(const char* root);
int32_t WINAPI VYXWL_GetWLProfile(const char* name, WLProfile* profile);
int32_t WINAPI VYXWL_SetWLProfile(const char* name, WLProfile* profile);
int32_t WINAPI VYXWL_EnumWLProfiles(int32_t index, char* name);
int32_t WINAPI VYXWL_DeleteWLProfile(const char* name);
int32_t WINAPI VYXWL_RegExportProfile(const char* file, const char* name);
int32_t WINAPI VYXWL_RegImportProfile(const char* file, const char* name);
int32_t WINAPI VYXWL_GetNetworkInfo(NetworkInfo* info);
int32_t WINAPI VYXWL_SetNetworkInfo(NetworkInfo* info);
int32_t WINAPI VYXWL_StrToIPData(const char* text, uint8_t* ip);
int32_t WINAPI VYXWL_IPDataToStr(const uint8_t* ip, char* text);
int32_t WINAPI VYXWL_GetWLANDriverPath(char* path);
int32_t WINAPI VYXWL_Get_ZeroConfig();
int32_t WINAPI VYXWL_Set_ZeroConfig();
int32_t WINAPI VYXWL_Set_WZCService(int32_t start);
int32_t WINAPI VYXWL_Get_WZCService();
int32_t WINAPI VYXWL_PassphraseToWEPKey(const char* passphrase, int32_t keySizeCode,
                                        WEPKeyOutput* out);
int32_t WINAPI VYXWL_GetWLANDomain(char* domain);
int32_t WINAPI VYXWL_SetWLANDomain();
int32_t WINAPI VYXWL_Disconnect();
int32_t WINAPI VYXWL_EnumCertificates(CertificateEntry** entries, int32_t kind);
int32_t WINAPI VYXWL_GetAllowedChannel(int32_t* channels, int32_t band, const char* domain);
int32_t WINAPI VYXWL_GetCurrentProfile();
int32_t WINAPI VYXWL_IPRelease();
int32_t WINAPI VYXWL_IPRenew();
int32_t WINAPI VYXWL_GetUSBType();
int32_t WINAPI VYXWL_GetGinUSB11();
int32_t WINAPI VYXWL_SetGinUSB11(int32_t value);
int32_t WINAPI VYXWL_GetAPStationList();
int32_t WINAPI VYXWL_GetAPFilterMode();
int32_t WINAPI VYXWL_SetAPFilterMode();
int32_t WINAPI VYXWL_GetAPFilterList();
int32_t WINAPI VYXWL_SetAPFilterList();
}
