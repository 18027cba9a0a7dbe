// Secured networks as a user sets them up in the running monitor, with the mouse and the
// keyboard: a WEP profile made from a passphrase and a WPA-PSK profile through the wizard's
// pages, each read back from the driver library's store; and Connect on a WEP network of the
// wizard's list, whose key the quick connect dialog asks for.
#include <gtest/gtest.h>
#include <windows.h>

#include <array>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "MonitorE2e.h"

namespace {

using namespace e2e;

// Places in the windows' client areas: the main window's profile tab and the profile page's New
// button; the prompt's OK; the wizard's buttons and, on its pages at 4, 133, the entries.
const POINT kProfileTab = {250 + 60, 102 + 16}, kBtnNew = {4 + 160 + 28, 134 + 234 + 10},
            kPromptOk = {104 + 37, 72 + 12};
const POINT kBtnManual = {471 + 52, 368 + 10}, kBtnNext = {518 + 28, 368 + 10}, kBtnSave = kBtnNext,
            kBtnToProfScr = {389 + 46, 368 + 14};
const POINT kLbInfra = {4 + 64 + 20, 133 + 72 + 7}, kEdtSSID = {4 + 89 + 50, 133 + 158 + 11},
            kCmbSecurity = {4 + 119 + 60, 133 + 49 + 10},
            kWepPassphrase = {4 + 119 + 60, 133 + 80 + 10},
            kCmbEncry = {4 + 119 + 60, 133 + 49 + 10},
            kPskPassphrase = {4 + 119 + 60, 133 + 96 + 10},
            kListConnect = {4 + 460 + 38, 133 + 92 + 10};
// The quick connect dialog: its WEP key edit (the page at 4, 138) and Connect.
const POINT kDialogKey = {4 + 111 + 60, 138 + 161 + 10}, kDialogConnect = {504 + 35, 366 + 16};

void Click(HWND window, POINT p) {
    ClickIn(window, p.x, p.y);
}

// The item at index of the drop-down list at p, picked as the keyboard picks it in the list
// the click dropped. The list is waited for: a page that has just come may not show yet, as the
// old one goes first.
::testing::AssertionResult PickItem(HWND window, POINT p, int index) {
    HWND combo = nullptr;
    if (!WaitUntil([&] {
            return (combo = ChildAt(window, "ComboBox", p.x - 60, p.y - 10)) != nullptr;
        }))
        return ::testing::AssertionFailure() << "no list";
    if (!ClickThen(window, p, [&] { return SendMessageA(combo, CB_GETDROPPEDSTATE, 0, 0) != 0; }))
        return ::testing::AssertionFailure() << "the list did not drop";
    Press(VK_HOME);
    for (int i = 0; i < index; ++i) Press(VK_DOWN);
    Press(VK_RETURN);
    if (WaitUntil([&] {
            return SendMessageA(combo, CB_GETDROPPEDSTATE, 0, 0) == 0 &&
                   SendMessageA(combo, CB_GETCURSEL, 0, 0) == index;
        }))
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "item " << SendMessageA(combo, CB_GETCURSEL, 0, 0);
}

class Security : public Monitor {
protected:
    // The monitor started with the store's profiles, its window open on the profile page.
    void Open() {
        StoreProfiles();
        monitor_.reset(new Program(dir_.File("Wavelorn.exe"), "", dir_.Path()));
        ASSERT_TRUE(monitor_->Started());
        ASSERT_TRUE(LogShows("auto connect found: Office")) << Log();
        HWND tray = TrayWindow(Pid());
        ASSERT_NE(tray, nullptr);
        std::vector<HWND> mains = WindowsOf(Pid(), "TFormMain");
        ASSERT_EQ(mains.size(), 1u);
        main_ = mains[0];
        PostMessageA(tray, kTrayCallback, 1, WM_LBUTTONUP);
        ASSERT_TRUE(WaitUntil([&] { return IsWindowVisible(main_) != FALSE; }));
        ASSERT_TRUE(ClickThen(main_, kProfileTab, [&] {
            return ChildAt(main_, "SysListView32", 4 + 35, 134 + 94) != nullptr;
        }));
    }
    // New on the profile page with a name typed into the prompt: the wizard on its list.
    HWND NewProfile(const std::string& name) {
        Click(main_, kBtnNew);
        HWND prompt = ShownWindow(Pid(), "TFormAskInfo");
        HWND input = prompt ? ChildAt(prompt, "Edit", 8, 32) : nullptr;
        EXPECT_TRUE(input && TakesKeys(input)) << "the prompt opens with the keys in its edit";
        EXPECT_TRUE(TypeIntoPrompt(prompt, name));
        EXPECT_TRUE(ClickThen(prompt, kPromptOk, [&] { return !IsWindowVisible(prompt); }));
        HWND wizard = ShownWindow(Pid(), "TFormProfSet");
        EXPECT_NE(wizard, nullptr);
        return wizard;
    }
    // Manual on the list, an infrastructure network of ssid, the security kind steps down the
    // list from "Disabled": the wizard on that kind's page.
    void ToSecurityPage(HWND wizard, const std::string& ssid, int kind, POINT pageEdit) {
        auto shown = [wizard](const char* cls, POINT at) {
            return [=] { return ChildAt(wizard, cls, at.x, at.y) != nullptr; };
        };
        const POINT ssidAt = {4 + 89, 133 + 158};
        ASSERT_TRUE(ClickThen(wizard, kBtnManual, shown("Edit", ssidAt)));
        HWND infra = ChildAt(wizard, "Button", 4 + 46, 133 + 71);
        ASSERT_TRUE(ClickThen(wizard, kLbInfra, [&] {
            return SendMessageA(infra, BM_GETCHECK, 0, 0) == BST_CHECKED;
        }));
        HWND edit = ChildAt(wizard, "Edit", ssidAt.x, ssidAt.y);
        ASSERT_TRUE(TypeOver(wizard, kEdtSSID, edit, ssid)) << ShownText(edit);
        // The security type page: a list, no entry under it.
        ASSERT_TRUE(ClickThen(wizard, kBtnNext, [&] { return !shown("Edit", ssidAt)(); }));
        ASSERT_TRUE(PickItem(wizard, kCmbSecurity, kind));
        ASSERT_TRUE(ClickThen(wizard, kBtnNext, shown("Edit", pageEdit)));
    }
    // Next to the summary, Save, and To profiles on the finish page: the wizard gone.
    void SaveAndFinish(HWND wizard) {
        auto summary = [&] { return ChildAt(wizard, "Static", 4 + 179, 133 + 106) != nullptr; };
        // The finish page shows no page.
        ASSERT_TRUE(ClickThen(wizard, kBtnNext, summary));
        ASSERT_TRUE(ClickThen(wizard, kBtnSave, [&] { return !summary(); }));
        EXPECT_TRUE(ClickThen(wizard, kBtnToProfScr, [&] { return !IsWindowVisible(wizard); }));
    }
    // The record the store holds under name; false when there is none.
    bool StoredProfile(const std::string& name, WLProfile& profile) {
        HKEY key;
        std::string path = "SoftWare\\" + root_ + "\\WLProfile\\" + name;
        if (RegOpenKeyExA(HKEY_CURRENT_USER, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS)
            return false;
        DWORD type = 0, size = sizeof(profile);
        LONG result = RegQueryValueExA(key, "Profile", nullptr, &type,
                                       reinterpret_cast<BYTE*>(&profile), &size);
        RegCloseKey(key);
        return result == ERROR_SUCCESS && type == REG_BINARY && size == sizeof(profile);
    }
    // The keys the stand-in library makes of a passphrase.
    std::array<std::string, 4> LibraryKeys(const char* passphrase, int32_t level) {
        std::array<std::string, 4> keys;
        HMODULE lib = LoadLibraryA((ProgramFolder() + "VYXWL.DLL").c_str());
        EXPECT_NE(lib, nullptr);
        if (!lib) return keys;
        auto convert = reinterpret_cast<vyxwl::PassphraseToWEPKey>(
            reinterpret_cast<void*>(GetProcAddress(lib, "VYXWL_PassphraseToWEPKey")));
        WEPKeyOutput out;
        EXPECT_EQ(convert(passphrase, level, &out), 1);
        for (int i = 0; i < 4; ++i) keys[i] = TextField(out.Key[i]);
        FreeLibrary(lib);
        return keys;
    }
    DWORD Pid() const { return monitor_->Id(); }
    // A stored record's network and security fields as one line.
    static std::string Fields(const WLProfile& p) {
        auto n = [](int32_t v) { return std::to_string(v); };
        return TextField(p.Ssid1) + " mode " + n(p.NetworkMode) + " security " +
               n(p.EncryptionMethod) + " level " + n(p.WEPEncryptionLevel) + " format " +
               n(p.WEPKeyFormat) + " key " + n(p.DefaultKey) + " auth " + n(p.AuthenticationMode) +
               " cipher " + n(p.WPAEncryptionType) + " pass " + TextField(p.PassPhrase) + " psk " +
               TextField(p.WPAPassphrase) + " keys " + TextField(p.WEPKey1) + " " +
               TextField(p.WEPKey2) + " " + TextField(p.WEPKey3) + " " + TextField(p.WEPKey4);
    }

    std::unique_ptr<Program> monitor_;
    HWND main_ = nullptr;
};

TEST_F(Security, TheWizardMakesAWepProfileFromAPassphraseAndAWpaPskProfile) {
    ASSERT_NO_FATAL_FAILURE(Open());
    // WEP: the second kind; the passphrase makes the four keys.
    HWND wizard = NewProfile("CafeWep");
    ASSERT_NE(wizard, nullptr);
    ASSERT_NO_FATAL_FAILURE(ToSecurityPage(wizard, "Cafe", 1, {4 + 119, 133 + 80}));
    ASSERT_TRUE(ClickInto(wizard, kWepPassphrase));
    Type("cafe-pass");
    HWND key1 = ChildAt(wizard, "Edit", 4 + 119, 133 + 111);
    ASSERT_NE(key1, nullptr);
    std::array<std::string, 4> keys = LibraryKeys("cafe-pass", 1);
    EXPECT_TRUE(WaitUntil([&] { return ShownText(key1) == keys[0]; })) << ShownText(key1);
    SaveScreenshot(wizard, "e2e_wizard_wep");
    ASSERT_NO_FATAL_FAILURE(SaveAndFinish(wizard));
    WLProfile wep;
    ASSERT_TRUE(WaitUntil([&] { return StoredProfile("CafeWep", wep); }));
    EXPECT_EQ(Fields(wep),
              "Cafe mode 1 security 1 level 1 format 1 key 0 auth 2 cipher 1 pass "
              "cafe-pass psk  keys " +
                  keys[0] + " " + keys[1] + " " + keys[2] + " " + keys[3]);
    EXPECT_EQ(keys[0].size(), 10u);

    // WPA-PSK with AES: the third kind.
    wizard = NewProfile("OfficePsk");
    ASSERT_NE(wizard, nullptr);
    ASSERT_NO_FATAL_FAILURE(ToSecurityPage(wizard, "Office", 2, {4 + 119, 133 + 96}));
    ASSERT_TRUE(PickItem(wizard, kCmbEncry, 1));
    ASSERT_TRUE(ClickInto(wizard, kPskPassphrase));
    Type(std::string(64, 'x'));
    ASSERT_TRUE(AnswerMessage(Pid(), "Passphrase should be between 8 to 63 charachers."));
    HWND pskEdit = ChildAt(wizard, "Edit", 4 + 119, 133 + 96);
    ASSERT_TRUE(TypeOver(wizard, kPskPassphrase, pskEdit, " office-secret ")) << ShownText(pskEdit);
    SaveScreenshot(wizard, "e2e_wizard_wpapsk");
    ASSERT_NO_FATAL_FAILURE(SaveAndFinish(wizard));
    WLProfile psk;
    ASSERT_TRUE(WaitUntil([&] { return StoredProfile("OfficePsk", psk); }));
    EXPECT_EQ(Fields(psk),
              "Office mode 1 security 2 level 0 format 1 key 0 auth 4 cipher 2 pass  "
              "psk office-secret keys    ");

    // Neither key nor passphrase reaches the debug log.
    for (const std::string& secret : {std::string("cafe-pass"), keys[0], std::string("office-")})
        EXPECT_EQ(Log().find(secret), std::string::npos) << secret;
}

TEST_F(Security, ConnectOnAWepNetworkAsksItsKeyAndAppliesOnlyTheRightOne) {
    ASSERT_NO_FATAL_FAILURE(Open());
    HWND wizard = NewProfile("Corner");
    ASSERT_NE(wizard, nullptr);
    HWND list = nullptr;
    ASSERT_TRUE(WaitUntil(
        [&] { return (list = ChildAt(wizard, "SysListView32", 4 + 20, 133 + 64)) != nullptr; }));
    RemoteList rows(list);
    ASSERT_TRUE(rows.Usable());
    int cafe = -1;
    ASSERT_TRUE(WaitUntil([&] {
        std::vector<std::string> shown = rows.Rows();
        for (size_t i = 0; i < shown.size(); ++i)
            if (shown[i].rfind("Cafe|", 0) == 0) cafe = static_cast<int>(i);
        return cafe >= 0;
    }));
    rows.Click(cafe);
    ASSERT_TRUE(WaitUntil([&] { return rows.Selected() == cafe; }));
    auto shownOf = [&](const char* cls) {
        return [this, cls] {
            for (HWND h : WindowsOf(Pid(), cls))
                if (IsWindowVisible(h)) return true;
            return false;
        };
    };
    ASSERT_TRUE(ClickThen(wizard, kListConnect, shownOf("TFormConnectSet")));

    // The dialog in the wizard's place, on the WEP entry.
    HWND dialog = ShownWindow(Pid(), "TFormConnectSet");
    ASSERT_NE(dialog, nullptr);
    EXPECT_TRUE(WaitUntil([&] { return !IsWindowVisible(wizard); }));
    HWND key = nullptr;
    ASSERT_TRUE(
        WaitUntil([&] { return (key = ChildAt(dialog, "Edit", 4 + 111, 138 + 161)) != nullptr; }));
    ASSERT_TRUE(ClickInto(dialog, kDialogKey));
    Type("012345678");
    ASSERT_TRUE(WaitUntil([&] { return ShownText(key) == "012345678"; })) << ShownText(key);
    SaveScreenshot(dialog, "e2e_quick_connect_wep");
    // One digit short: the message, and nothing applied.
    ASSERT_TRUE(ClickThen(dialog, kDialogConnect, shownOf("TFormMessage")));
    ASSERT_TRUE(AnswerMessage(Pid(), "You have entered an incorrect WEP key.\nPlease try again."));
    EXPECT_TRUE(IsWindowVisible(dialog));
    Sleep(500);
    EXPECT_EQ(Count(Trace(), "VYXWL_SetWLANStatus(\"Cafe\""), 0u) << Trace();
    EXPECT_TRUE(StoredNames() == (std::vector<std::string>{"Default", "Office"}));

    // The right key: stored under the name typed, applied with WEP, connected.
    ASSERT_TRUE(ClickInto(dialog, kDialogKey));
    Press(VK_END);
    Type("9");
    ASSERT_TRUE(WaitUntil([&] { return ShownText(key) == "0123456789"; })) << ShownText(key);
    ASSERT_TRUE(ClickThen(dialog, kDialogConnect, [&] { return !IsWindowVisible(dialog); }));
    ASSERT_TRUE(WaitUntil([&] {
        return Count(Trace(), "VYXWL_SetWLANStatus(\"Cafe\", mode 1, security 1) -> 1") == 1;
    })) << Trace();
    WLProfile stored;
    ASSERT_TRUE(WaitUntil([&] { return StoredProfile("Corner", stored); }));
    EXPECT_EQ(Fields(stored),
              "Cafe mode 1 security 1 level 1 format 1 key 0 auth 2 cipher 1 pass  "
              "psk  keys 0123456789   ");
    EXPECT_TRUE(WaitUntil([&] { return !IsWindowVisible(dialog) && !IsWindowVisible(wizard); }));
    EXPECT_EQ(Log().find("0123456789"), std::string::npos) << "the key in the debug log";
}

}  // namespace
