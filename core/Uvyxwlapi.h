// The driver library's 45 entry points as the program calls them: names in
// table order and the signatures of those it calls. Shared by the binding and
// the stand-in library.
#pragma once

#include <cstdint>

#include "Uvyxwltypes.h"

#if defined(_WIN32) && !defined(_WIN64)
#define VYXWL_API __stdcall
#else
#define VYXWL_API
#endif

namespace vyxwl {
using Initial = int32_t(VYXWL_API*)(const char* maker, int32_t value);
using Unused = int32_t(VYXWL_API*)();
using DevDetect = int32_t(VYXWL_API*)(DeviceEntry* entry);
using QueryOID = int32_t(VYXWL_API*)(uint32_t oid, void* buffer, uint32_t length,
                                     uint32_t* written);
using SiteSurveyScan = int32_t(VYXWL_API*)();
using SiteSurveyGet = int32_t(VYXWL_API*)(SiteSurveyBuffer* buffer, uint32_t* size);
using FrequencyToChannel = int32_t(VYXWL_API*)(uint32_t frequencyKHz);
using GetWLANStatus = int32_t(VYXWL_API*)(int32_t* more, WLStatus* status);
using SetWLANStatus = int32_t(VYXWL_API*)(int32_t* flag, WLStatus* status);
using WLProfileToWLStatus = int32_t(VYXWL_API*)(WLProfile* profile, WLStatus* status);
using SetWLProfileDir = int32_t(VYXWL_API*)(const char* root);
using GetWLProfile = int32_t(VYXWL_API*)(const char* name, WLProfile* profile);
using SetWLProfile = int32_t(VYXWL_API*)(const char* name, WLProfile* profile);
using EnumWLProfiles = int32_t(VYXWL_API*)(int32_t index, char* name);
using DeleteWLProfile = int32_t(VYXWL_API*)(const char* name);
using RegExportProfile = int32_t(VYXWL_API*)(const char* file, const char* name);
using RegImportProfile = int32_t(VYXWL_API*)(const char* file, const char* name);
using GetNetworkInfo = int32_t(VYXWL_API*)(NetworkInfo* info);
using SetNetworkInfo = int32_t(VYXWL_API*)(NetworkInfo* info);
using StrToIPData = int32_t(VYXWL_API*)(const char* text, uint8_t* address);
using IPDataToStr = int32_t(VYXWL_API*)(const uint8_t* address, char* text);
using GetWLANDriverPath = int32_t(VYXWL_API*)(char* path);
using Set_WZCService = int32_t(VYXWL_API*)(int32_t start);
using Get_WZCService = int32_t(VYXWL_API*)();
using PassphraseToWEPKey = int32_t(VYXWL_API*)(const char* passphrase, int32_t keySize,
                                               WEPKeyOutput* keys);
using GetWLANDomain = int32_t(VYXWL_API*)(char* domain);
using EnumCertificates = int32_t(VYXWL_API*)(CertificateEntry** entries, int32_t kind);
using GetAllowedChannel = int32_t(VYXWL_API*)(int32_t* channels, int32_t band,
                                              const char* domain);
using GetUSBType = int32_t(VYXWL_API*)();
using GetGinUSB11 = int32_t(VYXWL_API*)();
using SetGinUSB11 = int32_t(VYXWL_API*)(int32_t value);
}  // namespace vyxwl

constexpr int kVyxwlEntryCount = 45;
// Bound in this order; a library lacking any one of them is refused.
extern const char* const kVyxwlEntryNames[kVyxwlEntryCount];

constexpr uint32_t OID_GEN_MEDIA_CONNECT_STATUS = 0x00010114;
constexpr uint32_t OID_802_3_CURRENT_ADDRESS = 0x01010102;
