// Driver library records: the text fields' one helper, the SSID reader and the
// survey count. Sizes and offsets are checked at compile time in the header.
#include <gtest/gtest.h>

#include <cstring>
#include <new>

#include "core/Uvyxwltypes.h"

namespace {

template <typename T>
bool ConstructsZeroed() {
    alignas(8) unsigned char raw[sizeof(T)];
    std::memset(raw, 0xAA, sizeof raw);
    // Keep the optimiser from dropping the fill as a store before a constructor.
    asm volatile("" : : "r"(raw) : "memory");
    new (raw) T;  // default-initialised, as a member of a class with a defaulted constructor
    for (unsigned char b : raw)
        if (b != 0) return false;
    return true;
}

TEST(Records, StartZeroedWithoutAnInitialiser) {
    EXPECT_TRUE(ConstructsZeroed<WLStatus>());
    EXPECT_TRUE(ConstructsZeroed<DeviceEntry>());
    EXPECT_TRUE(ConstructsZeroed<SiteSurveyEntry>());
    EXPECT_TRUE(ConstructsZeroed<SiteSurveyBuffer>());
    EXPECT_TRUE(ConstructsZeroed<CertificateEntry>());
    EXPECT_TRUE(ConstructsZeroed<WEPKeyOutput>());
    EXPECT_TRUE(ConstructsZeroed<WLProfile>());
}

TEST(Records, SsidReadByItsLengthNeverBeyond32Bytes) {
    const AnsiString full = "ABCDEFGHIJKLMNOPQRSTUVWXYZ012345";  // 32 bytes, no room for NUL
    WLStatus status;
    std::memcpy(status.Ssid, full.data(), 32);
    std::memset(status.Reserved44, 'X', sizeof status.Reserved44);
    status.SsidLength = 32;
    EXPECT_EQ(full, SsidText(status.Ssid, status.SsidLength));

    SiteSurveyEntry entry;
    std::memcpy(entry.Ssid.Ssid, full.data(), 32);
    entry.Privacy = 0x58585858;  // the bytes right after the name
    EXPECT_EQ(full, SsidText(entry.Ssid.Ssid, 40));
    EXPECT_EQ(full, SsidText(entry.Ssid.Ssid, 0xFFFFFFFFu));
    EXPECT_EQ("ABCDE", SsidText(entry.Ssid.Ssid, 5));
    EXPECT_EQ("", SsidText(entry.Ssid.Ssid, 0));

    entry.Ssid.Ssid[2] = '\0';
    EXPECT_EQ("AB", SsidText(entry.Ssid.Ssid, 32));
}

TEST(Records, TextFieldCutsTerminatesAndClearsTheRest) {
    WLProfile p;
    std::memset(p.Ssid1, 'z', sizeof p.Ssid1);
    std::memset(p.Ssid2, 'q', sizeof p.Ssid2);

    SetTextField(p.Ssid1, AnsiString(40, 's'));
    EXPECT_EQ(AnsiString(32, 's'), TextField(p.Ssid1));
    EXPECT_EQ('\0', p.Ssid1[32]);
    EXPECT_EQ('q', p.Ssid2[0]) << "wrote past the field";

    // Equal texts give equal bytes, whatever the field held before.
    char a[8], b[8];
    std::memset(a, 'x', sizeof a);
    std::memset(b, 0, sizeof b);
    SetTextField(a, "abc");
    SetTextField(b, "abc");
    EXPECT_EQ(0, std::memcmp(a, b, sizeof a));

    SetTextField(a, "");
    EXPECT_EQ(AnsiString(8, '\0'), AnsiString(a, 8));

    // a NUL ends the text: nothing of what follows it lands behind the terminator
    SetTextField(a, AnsiString("ab\0cd", 5));
    SetTextField(b, "ab");
    EXPECT_EQ(0, std::memcmp(a, b, sizeof a));
}

TEST(Records, TextFieldWithoutNulIsReadToItsEndOnly) {
    DeviceEntry device;
    std::memset(device.HardwareId, 'h', sizeof device.HardwareId);
    std::memset(device.DeviceName, 'd', sizeof device.DeviceName);
    EXPECT_EQ(AnsiString(128, 'h'), TextField(device.HardwareId));

    CertificateEntry cert;
    SetTextField(cert.Name, "client");
    SetTextField(cert.Issuer, "ca");
    EXPECT_EQ("client", TextField(cert.Name));
    EXPECT_EQ("ca", TextField(cert.Issuer));
}

TEST(Records, SurveyCountCappedAtTheBufferSize) {
    SiteSurveyBuffer buffer;
    buffer.Count = 3;
    EXPECT_EQ(3u, SurveyEntryCount(buffer));
    buffer.Count = 256;
    EXPECT_EQ(256u, SurveyEntryCount(buffer));
    buffer.Count = 300;
    EXPECT_EQ(256u, SurveyEntryCount(buffer));
    buffer.Count = 0xFFFFFFFFu;
    EXPECT_EQ(256u, SurveyEntryCount(buffer));
}

}  // namespace
