// The record by which device detection hands a present adapter to the adapter worker. Two
// records name the same adapter only when all their bytes are equal.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <type_traits>

#include "Uvyxwltypes.h"

#pragma pack(push, 1)

struct DeviceRecord {
    char Name[128]{};       // device name as the driver library reports it
    char HardwareId[64]{};  // the [Product] hardware id that matched
    char Suffix[5]{};       // "9999"
};

#pragma pack(pop)

static_assert(sizeof(DeviceRecord) == 197, "DeviceRecord size");
static_assert(std::is_standard_layout<DeviceRecord>::value, "DeviceRecord layout");
static_assert(std::is_trivially_copyable<DeviceRecord>::value, "DeviceRecord is copied as bytes");
static_assert(offsetof(DeviceRecord, Name) == 0, "DeviceRecord::Name offset");
static_assert(offsetof(DeviceRecord, HardwareId) == 128, "DeviceRecord::HardwareId offset");
static_assert(offsetof(DeviceRecord, Suffix) == 192, "DeviceRecord::Suffix offset");

// A record as detection makes it: both texts cut to their fields, the suffix "9999", every
// other byte zero.
inline DeviceRecord MakeDeviceRecord(const AnsiString& name, const AnsiString& hardwareId) {
    DeviceRecord record;
    SetTextField(record.Name, name);
    SetTextField(record.HardwareId, hardwareId);
    SetTextField(record.Suffix, "9999");
    return record;
}

inline bool SameDevice(const DeviceRecord& a, const DeviceRecord& b) {
    return std::memcmp(&a, &b, sizeof(DeviceRecord)) == 0;
}
