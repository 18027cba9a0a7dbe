// The profile's text form over the real profile-string API: values that the
// API would change or break, and damaged sections.
#include <gtest/gtest.h>

#include <cstring>

#include "TempDir.h"
#include "classlib/IniFile.h"
#include "core/Udefine.h"
#include "core/Uprofile.h"

namespace {

const char kSection[] = "LastApplyProf";

class ProfileFileWin : public ::testing::Test {
protected:
    void SetUp() override {
        TempDir::WriteFile(dir_.File("Wavelorn.bin"), "[Setting]\r\nProfRoot=Velmora\r\n");
        g_.SettingsIni.reset(new TIniFile(dir_.File("Wavelorn.bin")));
    }
    // The settings file as a program started afresh reads it.
    void Reopen() {
        static int copies = 0;
        std::string copy = dir_.File("copy" + std::to_string(++copies) + ".bin");
        ASSERT_TRUE(CopyFileA(dir_.File("Wavelorn.bin").c_str(), copy.c_str(), FALSE));
        g_.SettingsIni.reset(new TIniFile(copy));
    }
    std::string Text() const { return TempDir::ReadFile(dir_.File("Wavelorn.bin")); }

    TempDir dir_;
    CFAGlobalVar g_;
};

size_t Count(const std::string& text, const std::string& what) {
    size_t n = 0;
    for (size_t p = text.find(what); p != std::string::npos; p = text.find(what, p + 1)) ++n;
    return n;
}

TEST_F(ProfileFileWin, ControlBytesAndLineBreaksComeBackAndAddNoLines) {
    WLProfile saved{};
    SetTextField(saved.ProfileName, "Office");
    SetTextField(saved.Ssid1,
                 "\x1a"
                 "Office\x1a");
    SetTextField(saved.Ssid2, "\x1a");
    SetTextField(saved.LoginName, "user\r\n[Setting]\r\nProfRoot=X");
    SetTextField(saved.NetworkInfo.NI_strLoginUsr, "\n[LastApplyProf]\nNetworkMode=-1\r");
    SetTextField(saved.WPAPassphrase, " \t\"quoted' \x1a");
    saved.NetworkMode = 1;
    saved.WPAEncryptionType = 1;
    SaveProfile(g_, saved, kSection);

    std::string text = Text();
    EXPECT_EQ(Count(text, "[Setting]"), 1u) << text;
    EXPECT_EQ(Count(text, "[LastApplyProf]"), 1u) << text;
    EXPECT_EQ(Count(text, "ProfRoot="), 1u) << text;
    EXPECT_EQ(Count(text, "\r\n"), 2u + 1u + 80u) << "two lines of [Setting], a header and 80 keys";
    EXPECT_EQ(Count(text, "\n"), Count(text, "\r\n"));

    Reopen();
    EXPECT_EQ(g_.ReadSettingString("Setting", "ProfRoot", ""), "Velmora");
    WLProfile loaded = saved;
    std::memset(static_cast<void*>(&loaded), 0x5A, sizeof loaded);
    std::memcpy(loaded.Reserved793, saved.Reserved793, sizeof saved.Reserved793);
    loaded.Reserved2924 = saved.Reserved2924;
    std::memcpy(loaded.Reserved2933, saved.Reserved2933, sizeof saved.Reserved2933);
    std::memcpy(loaded.Reserved3970, saved.Reserved3970, sizeof saved.Reserved3970);
    ASSERT_TRUE(LoadProfile(g_, loaded, kSection));
    EXPECT_EQ(std::memcmp(&loaded, &saved, sizeof saved), 0);
    EXPECT_EQ(TextField(loaded.Ssid1),
              "\x1a"
              "Office\x1a");
    EXPECT_EQ(TextField(loaded.LoginName), "user\r\n[Setting]\r\nProfRoot=X");
}

TEST_F(ProfileFileWin, DamagedSectionsLoadNothing) {
    const char* sound = "ProfileName=Office\r\nSsid1=Office\r\nNetworkMode=1\r\n";
    const char* damages[] = {
        "",  // the sound section itself must load
        "NetworkMode=-1\r\n",
        "DefaultKey=7\r\n",
        "WEPEncryptionLevel=-3\r\n",
        "NI_VPI=300\r\n",
        "ProfileName=\r\n",
    };
    for (const char* damage : damages) {
        // the later of two equal keys is not read: put the damage first
        TempDir::WriteFile(dir_.File("Wavelorn.bin"),
                           std::string("[LastApplyProf]\r\n") + damage + sound);
        Reopen();
        WLProfile p{};
        EXPECT_EQ(LoadProfile(g_, p, kSection), !*damage) << damage;
        EXPECT_EQ(TextField(p.ProfileName), *damage ? "" : "Office") << damage;
    }
    std::string garbage = "[LastApplyProf]\r\n";
    for (int i = 0; garbage.size() < 3000; ++i)
        garbage += "x" + std::to_string(i * 37 % 1000) + "=\x01\x7f\xff;#[]=" + std::to_string(i) +
                   "\r\nno equals sign " + std::to_string(i) + "\r\n";
    TempDir::WriteFile(dir_.File("Wavelorn.bin"), garbage);
    Reopen();
    WLProfile p{};
    EXPECT_FALSE(LoadProfile(g_, p, kSection));
}

}  // namespace
