// An 802.1x profile made in the wizard as a user makes it, by the mouse and the keyboard: New on
// the profile page, the WPA page in both of its layouts, back to the security type, the RADIUS
// page with a PEAP login and a certificate authority of the adapter's; then the record the
// driver library's store holds.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "MonitorE2e.h"

namespace {

using namespace e2e;

// The wizard's client area: pages at 4, 133; the button strip at 368.
POINT OnPage(int x, int y) {
    return {4 + x, 133 + y};
}
const POINT kBtnManual = {471 + 52, 368 + 10}, kBtnNext = {518 + 28, 368 + 10},
            kBtnBack = {461 + 28, 368 + 10}, kBtnSave = {518 + 28, 368 + 10},
            kBtnToProfScr = {389 + 46, 368 + 14};
// A list or an edit at the page's left column, by its top: clicked a little inside.
POINT Field(int top) {
    return OnPage(119 + 40, top + 10);
}

class Eap : public Monitor {
protected:
    // The drop-down list at the page's point opened by a click, and its item clicked.
    void Pick(HWND window, POINT at, int item) {
        HWND combo = nullptr;
        ASSERT_TRUE(WaitUntil([&] {
            POINT p = at;
            ClientToScreen(window, &p);
            combo = WindowFromPoint(p);
            return combo && SendMessageA(combo, CB_GETCOUNT, 0, 0) > item;
        }));
        int height = static_cast<int>(SendMessageA(combo, CB_GETITEMHEIGHT, 0, 0));
        RECT r;
        GetClientRect(combo, &r);
        ASSERT_TRUE(ClickThen(combo, {r.right / 2, r.bottom / 2},
                              [&] { return SendMessageA(combo, CB_GETDROPPEDSTATE, 0, 0) != 0; }));
        ClickIn(combo, r.right / 2, r.bottom + 1 + item * height + height / 2);
        ASSERT_TRUE(WaitUntil([&] { return SendMessageA(combo, CB_GETDROPPEDSTATE, 0, 0) == 0; }));
        EXPECT_EQ(SendMessageA(combo, CB_GETCURSEL, 0, 0), item);
    }
    // Clicked into, emptied and typed.
    void Enter(HWND window, POINT at, const std::string& text) {
        POINT p = at;
        ClientToScreen(window, &p);
        HWND edit = WindowFromPoint(p);
        ASSERT_NE(edit, nullptr);
        ClickIn(window, at.x, at.y);
        ASSERT_TRUE(TakesKeys(edit));
        Press(VK_END);
        Press(VK_HOME, true);
        Press(VK_DELETE);
        Type(text);
        EXPECT_TRUE(WaitUntil([&] { return ShownText(edit) == text; })) << ShownText(edit);
    }
    // The shown list or edit whose top left is at the page's point.
    static HWND Shown(HWND wizard, const char* cls, int top) {
        POINT p = OnPage(119, top);
        return ChildAt(wizard, cls, p.x, p.y);
    }
    static bool ShowsAt(HWND wizard, const char* cls, int top, const std::string& text) {
        return WaitUntil([&] {
            HWND control = Shown(wizard, cls, top);
            return control && ShownText(control) == text;
        });
    }
    // The whole record the store holds under name.
    bool StoredRecord(const std::string& name, WLProfile& out) {
        std::string key = "SoftWare\\" + root_ + "\\WLProfile\\" + name;
        DWORD size = sizeof(out), type = 0;
        return RegGetValueA(HKEY_CURRENT_USER, key.c_str(), "Profile", RRF_RT_REG_BINARY, &type,
                            &out, &size) == ERROR_SUCCESS &&
               size == sizeof(out);
    }
};

TEST_F(Eap, NewRadiusProfileWithAPeapLoginAndACertificateAuthorityIsStored) {
    Scenario(std::string(kAdapter) + kNetworks +
             "[Certificates]\r\nClient1=Alice|Example Root CA\r\n"
             "Authority1=Example Root CA|Example Root CA\r\nAuthority2=Corp CA|Corp CA\r\n");
    StoreProfiles();
    Program monitor(dir_.File("Wavelorn.exe"), "", dir_.Path());
    ASSERT_TRUE(monitor.Started());
    ASSERT_TRUE(LogShows("auto connect found: Office")) << Log();
    HWND tray = TrayWindow(monitor.Id());
    ASSERT_NE(tray, nullptr);
    std::vector<HWND> mains = WindowsOf(monitor.Id(), "TFormMain");
    ASSERT_EQ(mains.size(), 1u);
    HWND main = mains[0];

    // The profile page, then New with a name for the profile.
    PostMessageA(tray, kTrayCallback, 1, WM_LBUTTONUP);
    ASSERT_TRUE(WaitUntil([&] { return IsWindowVisible(main) != FALSE; }));
    ASSERT_TRUE(ClickThen(main, {250 + 60, 102 + 16}, [&] {
        return ChildAt(main, "SysListView32", 4 + 35, 134 + 94) != nullptr;
    }));
    ClickIn(main, 4 + 160 + 28, 134 + 234 + 10);
    HWND prompt = ShownWindow(monitor.Id(), "TFormAskInfo");
    ASSERT_NE(prompt, nullptr);
    ASSERT_TRUE(WaitUntil([&] { return FocusOf(prompt) != nullptr; }));
    ASSERT_TRUE(TypeIntoPrompt(prompt, "Corp"));
    ASSERT_TRUE(ClickThen(prompt, {104 + 37, 72 + 12}, [&] { return !IsWindowVisible(prompt); }));

    // The wizard: no network picked, an infrastructure network named Corp, WPA.
    HWND wizard = ShownWindow(monitor.Id(), "TFormProfSet");
    ASSERT_NE(wizard, nullptr);
    ClickIn(wizard, kBtnManual.x, kBtnManual.y);
    ASSERT_TRUE(WaitUntil([&] { return ChildAt(wizard, "Edit", 4 + 89, 133 + 158) != nullptr; }));
    Enter(wizard, {4 + 89 + 50, 133 + 158 + 11}, "Corp");
    ClickIn(wizard, kBtnNext.x, kBtnNext.y);
    ASSERT_TRUE(ShowsAt(wizard, "ComboBox", 49, "Disabled"));
    Pick(wizard, Field(49), 3);
    ASSERT_TRUE(ShowsAt(wizard, "ComboBox", 49, "WPA"));
    ClickIn(wizard, kBtnNext.x, kBtnNext.y);

    // The WPA page opens with TLS: the client certificates, no password; then PEAP.
    ASSERT_TRUE(ShowsAt(wizard, "ComboBox", 145, "")) << "no certificate chosen";
    EXPECT_EQ(Shown(wizard, "Edit", 95), nullptr) << "no password for TLS";
    SaveScreenshot(wizard, "eap_wpa_tls");
    Pick(wizard, Field(49), 1);
    ASSERT_TRUE(ShowsAt(wizard, "ComboBox", 141, "Trust Any"));
    EXPECT_TRUE(ShowsAt(wizard, "ComboBox", 186, "TKIP"));
    Settle(wizard);
    SaveScreenshot(wizard, "eap_wpa_peap");

    // Back to the security type, RADIUS instead.
    ClickIn(wizard, kBtnBack.x, kBtnBack.y);
    ASSERT_TRUE(ShowsAt(wizard, "ComboBox", 49, "WPA"));
    Pick(wizard, Field(49), 4);
    ASSERT_TRUE(ShowsAt(wizard, "ComboBox", 49, "RADIUS"));
    ClickIn(wizard, kBtnNext.x, kBtnNext.y);
    ASSERT_TRUE(ShowsAt(wizard, "ComboBox", 145, "")) << "TLS";
    EXPECT_EQ(Shown(wizard, "ComboBox", 177), nullptr) << "no cipher on this page";
    Settle(wizard);
    SaveScreenshot(wizard, "eap_radius_tls");

    // PEAP with a login and the adapter's second certificate authority.
    Pick(wizard, Field(49), 1);
    ASSERT_TRUE(ShowsAt(wizard, "ComboBox", 158, "Trust Any"));
    Enter(wizard, Field(76), "alice");
    Enter(wizard, Field(103), "s3cret");
    Enter(wizard, Field(130), "CORP");
    Pick(wizard, Field(158), 2);
    ASSERT_TRUE(ShowsAt(wizard, "ComboBox", 158, "Corp CA"));
    Settle(wizard);
    SaveScreenshot(wizard, "eap_radius_peap");

    // The summary, Save, and to the profile page.
    ClickIn(wizard, kBtnNext.x, kBtnNext.y);
    ASSERT_TRUE(WaitUntil([&] { return Shown(wizard, "ComboBox", 49) == nullptr; }))
        << "still on the RADIUS page";
    ClickIn(wizard, kBtnSave.x, kBtnSave.y);
    WLProfile p;
    ASSERT_TRUE(WaitUntil([&] { return StoredRecord("Corp", p); })) << Log();
    ClickIn(wizard, kBtnToProfScr.x, kBtnToProfScr.y);
    EXPECT_TRUE(WaitUntil([&] { return !IsWindowVisible(wizard); }));
    // The RADIUS page leaves the cipher (1) and the authentication mode (2) as they were.
    EXPECT_EQ(
        Format("%.64s %.32s %d %d %d %d [%.259s|%.259s] [%.259s|%.259s] %.259s %.259s %.259s %d %d",
               p.ProfileName, p.Ssid1, p.NetworkMode, p.EncryptionMethod, p.MS8021xAuthMode,
               p.PeapEap, p.sCertificate, p.sCertificate_Issuer, p.sCertAuthority,
               p.sCertAuthority_Issuer, p.LoginName, p.LoginPassword, p.DomainName,
               p.WPAEncryptionType, p.AuthenticationMode),
        "Corp Corp 1 4 3 2 [|] [Corp CA|Corp CA] alice s3cret CORP 1 2");
    EXPECT_EQ(Log().find("s3cret"), std::string::npos) << "no password in the debug log";
}

}  // namespace
