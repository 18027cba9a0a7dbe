#include <gtest/gtest.h>

#include "TempDir.h"
#include "core/Udefine.h"
#include "core/UdefineWin.h"
#include "core/Uforeground.h"

static std::string ThisProgram() {
    char path[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    return path;
}

TEST(FileVersion, PartsOfTheVersionResource) {
    std::string self = ThisProgram();
    EXPECT_EQ(GetFileVersionString(self, 1), "5");
    EXPECT_EQ(GetFileVersionString(self, 2), "5.1");
    EXPECT_EQ(GetFileVersionString(self, 3), "5.1.2600");
    EXPECT_EQ(GetFileVersionString(self, 4), "5.1.2600.2180");
    EXPECT_EQ(GetFileVersionString(self, 7), "5.1.2600.2180");
    TempDir dir;
    TempDir::WriteFile(dir.File("plain.txt"), "no resource here");
    EXPECT_EQ(GetFileVersionString(dir.File("plain.txt"), 4), "");
    EXPECT_EQ(GetFileVersionString(dir.File("missing.exe"), 4), "");
}

TEST(IniListLookup, ItemDataByExactName) {
    TempDir dir;
    std::string file = dir.File("office.qjw");
    EXPECT_EQ(IniListLookup(file, "WLANProfile", "ProfileName", "none"), "none");
    TempDir::WriteFile(file,
                       "[WLANProfile]\r\nCount=3\r\nItemName1=Ssid1\r\nItemData1=corp\r\n"
                       "ItemName2=ProfileName\r\nItemData2=Office\r\nItemName3=profilename\r\n"
                       "ItemData3=wrong\r\n");
    EXPECT_EQ(IniListLookup(file, "WLANProfile", "ProfileName", ""), "Office");
    EXPECT_EQ(IniListLookup(file, "WLANProfile", "Channel", "dflt"), "dflt");
    EXPECT_EQ(IniListLookup(file, "Other", "ProfileName", "dflt"), "dflt");

    // items past Count are not looked at; no Count means no items
    TempDir::WriteFile(file,
                       "[WLANProfile]\r\nCount=1\r\nItemName1=A\r\nItemData1=a\r\n"
                       "ItemName2=ProfileName\r\nItemData2=Late\r\n");
    EXPECT_EQ(IniListLookup(file, "WLANProfile", "ProfileName", "d"), "d");
    TempDir::WriteFile(file, "[WLANProfile]\r\nItemName1=ProfileName\r\nItemData1=x\r\n");
    EXPECT_EQ(IniListLookup(file, "WLANProfile", "ProfileName", "d"), "d");

    // a damaged count does not keep the lookup going for ever
    TempDir::WriteFile(file, "[WLANProfile]\r\nCount=2000000000\r\n");
    DWORD start = GetTickCount();
    EXPECT_EQ(IniListLookup(file, "WLANProfile", "ProfileName", "d"), "d");
    EXPECT_LT(GetTickCount() - start, 20000u);
}

TEST(BringWindowToFront, RestoresAndActivates) {
    HWND other = CreateWindowExA(0, "STATIC", "other", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 200,
                                 100, nullptr, nullptr, nullptr, nullptr);
    HWND target = CreateWindowExA(0, "STATIC", "target", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 50, 50,
                                  200, 100, nullptr, nullptr, nullptr, nullptr);
    ASSERT_TRUE(other && target);
    ShowWindow(target, SW_MINIMIZE);
    SetForegroundWindow(other);
    ASSERT_TRUE(IsIconic(target));
    BringWindowToFront(target);
    EXPECT_FALSE(IsIconic(target));
    EXPECT_EQ(GetForegroundWindow(), target);
    DestroyWindow(target);
    DestroyWindow(other);
}

TEST(RegistryProfileExists, OnlyTheDefaultProfilesKey) {
    CFAGlobalVar g;
    g.ProfRoot = "RegTest" + std::to_string(GetCurrentProcessId());
    g.DefProfName = "Default";
    std::string store = "SoftWare\\" + g.ProfRoot + "\\WLProfile";
    HKEY key = nullptr;
    ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, (store + "\\Office").c_str(), 0, nullptr, 0,
                              KEY_ALL_ACCESS, nullptr, &key, nullptr),
              ERROR_SUCCESS);
    RegCloseKey(key);
    EXPECT_FALSE(RegistryProfileExists(g));
    g.DefProfName = "";
    EXPECT_FALSE(RegistryProfileExists(g)) << "an empty name is no profile";
    g.DefProfName = "Default";
    ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, (store + "\\Default").c_str(), 0, nullptr, 0,
                              KEY_ALL_ACCESS, nullptr, &key, nullptr),
              ERROR_SUCCESS);
    RegCloseKey(key);
    EXPECT_TRUE(RegistryProfileExists(g));
    RegDeleteKeyA(HKEY_CURRENT_USER, (store + "\\Default").c_str());
    RegDeleteKeyA(HKEY_CURRENT_USER, (store + "\\Office").c_str());
    RegDeleteKeyA(HKEY_CURRENT_USER, store.c_str());
    RegDeleteKeyA(HKEY_CURRENT_USER, ("SoftWare\\" + g.ProfRoot).c_str());
}
