#include "Uvyxwlapi.h"

const char* const kVyxwlEntryNames[kVyxwlEntryCount] = {
    "VYXWL_Initial",           "VYXWL_EnumAvailableDevice", "VYXWL_DevDetect",
    "VYXWL_QueryOID",          "VYXWL_SetOID",              "VYXWL_SiteSurveyScan",
    "VYXWL_SiteSurveyGet",     "VYXWL_ChannelToFrequency",  "VYXWL_FrequencyToChannel",
    "VYXWL_GetWLANStatus",     "VYXWL_SetWLANStatus",       "VYXWL_WLProfileToWLStatus",
    "VYXWL_SetWLProfileDir",   "VYXWL_GetWLProfile",        "VYXWL_SetWLProfile",
    "VYXWL_EnumWLProfiles",    "VYXWL_DeleteWLProfile",     "VYXWL_RegExportProfile",
    "VYXWL_RegImportProfile",  "VYXWL_GetNetworkInfo",      "VYXWL_SetNetworkInfo",
    "VYXWL_StrToIPData",       "VYXWL_IPDataToStr",         "VYXWL_GetWLANDriverPath",
    "VYXWL_Get_ZeroConfig",    "VYXWL_Set_ZeroConfig",      "VYXWL_Set_WZCService",
    "VYXWL_Get_WZCService",    "VYXWL_PassphraseToWEPKey",  "VYXWL_GetWLANDomain",
    "VYXWL_SetWLANDomain",     "VYXWL_Disconnect",          "VYXWL_EnumCertificates",
    "VYXWL_GetAllowedChannel", "VYXWL_GetCurrentProfile",   "VYXWL_IPRelease",
    "VYXWL_IPRenew",           "VYXWL_GetUSBType",          "VYXWL_GetGinUSB11",
    "VYXWL_SetGinUSB11",       "VYXWL_GetAPStationList",    "VYXWL_GetAPFilterMode",
    "VYXWL_SetAPFilterMode",   "VYXWL_GetAPFilterList",     "VYXWL_SetAPFilterList",
};
