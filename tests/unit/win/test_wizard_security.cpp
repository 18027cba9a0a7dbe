// The WEP and WPA-PSK pages in the wizard and the quick connect dialog, worked with the keyboard
// and the mouse: the key filter, keys from a passphrase, masking, the checks on Next and on
// Connect, and what ends up in EditProfile.
#include <cstring>

#include "core/Uprofile.h"
#include "monitor/Uskinwindow.h"
#include "test_wizard_fixture.h"
#include "wizard/Uformconnectset.h"

namespace wizardtest {
namespace {

const char kWrongKey[] = "You have entered an incorrect WEP key.\nPlease try again.";
const char kWrongPassphrase[] = "Passphrase should be between 8 to 63 charachers.";

bool SameProfile(const WLProfile& a, const WLProfile& b) {
    return std::memcmp(&a, &b, sizeof(a)) == 0;
}

std::string Clipboard() {
    std::string text = "(none)";
    if (!OpenClipboard(nullptr)) return text;
    if (HANDLE data = GetClipboardData(CF_TEXT)) {
        text = static_cast<const char*>(GlobalLock(data));
        GlobalUnlock(data);
    }
    CloseClipboard();
    return text;
}

void SetClipboard(const std::string& text) {
    ASSERT_TRUE(OpenClipboard(nullptr));
    EmptyClipboard();
    HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, text.size() + 1);
    std::memcpy(GlobalLock(memory), text.c_str(), text.size() + 1);
    GlobalUnlock(memory);
    SetClipboardData(CF_TEXT, memory);
    CloseClipboard();
}

// A key held with Ctrl, as the keyboard sends it.
void CtrlKey(WORD vk) {
    userinput::Key(VK_CONTROL, false);
    userinput::Key(vk, false);
    userinput::Key(vk, true);
    userinput::Key(VK_CONTROL, true);
}

void KeyOnce(WORD vk) {
    userinput::Key(vk, false);
    userinput::Key(vk, true);
}

// The keys VYXWL_PassphraseToWEPKey makes of a passphrase.
std::array<AnsiString, kWepKeyCount> LibraryKeys(const char* passphrase, int32_t level) {
    WEPKeyOutput out;
    EXPECT_EQ(DriverLib.VYXWL_PassphraseToWEPKey(passphrase, level, &out), 1);
    return WepKeysFromOutput(out);
}

class Security : public Wizard {
protected:
    // When a message dialog goes, the system may hand the foreground to another window of the
    // program (under Wine the tray's); the user's keys go where the user brought the window back.
    static std::function<bool()> Foreground(TForm* form) {
        return [form] {
            SetForegroundWindow(form->Handle());
            return GetForegroundWindow() == form->Handle();
        };
    }
    std::function<bool()> ShotOf(TForm* form, const std::string& name) {
        return [form, name] {
            UpdateWindow(form->Handle());
            SaveScreenshot(form->Handle(), name);
            return true;
        };
    }
};

TEST_F(Security, WepPageFiltersMakesKeysMasksAndRefusesAShortKey) {
    Start();
    WLProfile& edit = FAGlobalVar.EditProfile;
    edit = FAGlobalVar.DefaultProfile;
    SetTextField(edit.ProfileName, "Cafe");
    SetTextField(edit.Ssid1, "Cafe");
    edit.NetworkMode = 1;
    edit.EncryptionMethod = 1;
    edit.WEPEncryptionLevel = 3;  // no such item: 64-bit and 10 digits
    edit.DefaultKey = 0;
    edit.AuthenticationMode = 1;
    SetTextField(edit.WEPKey1, "0123456789abcdef0123456789");
    const WLProfile stored = edit;
    TFormProfSet* w = wizard_;
    TFrameWEP* wep = w->FrameWEP1;
    std::string opened, cut, message, afterCopy, typed, pasted;
    bool maskedOnEntry = false, maskedAfterCopy = false, plainAfterTyping = false;
    bool unchangedAfterRefusal = false, focusedAfterRefusal = false, emptiedBySize = false;
    bool keysFromPassphrase = false, plainKeys = false, emptiedByClearing = false;
    bool unchangedAfterBack = false, reloaded = false;
    int sizeAfterChoice = 0;
    Script s;
    PastSecurityType(s, wep);
    s.Do("read",
         [&] {
             opened = wep->CmbWEP->Items()->Strings(wep->CmbWEP->ItemIndex()) + " " +
                      wep->CmbAuthen->Items()->Strings(wep->CmbAuthen->ItemIndex());
             cut = wep->EdtKey1->Text();
             maskedOnEntry = wep->EdtKey1->PasswordChar() == '*' &&
                             wep->EdtPassphrase->PasswordChar() == 0 && wep->EdtKey1->Visible() &&
                             !wep->EdtKey2->Visible();
         })
        .Then("shot", Shot("wizard_wep"))
        // Ctrl+C over the whole masked key copies nothing and shows nothing.
        .Do("copy",
            [&] {
                SetClipboard("before");
                wep->EdtKey1->SetFocus();
                wep->EdtKey1->SelectAll();
                CtrlKey('C');
            })
        .Pause(200)
        .Do("read",
            [&] {
                afterCopy = Clipboard();
                maskedAfterCopy =
                    wep->EdtKey1->PasswordChar() == '*' && wep->EdtKey1->Text() == cut;
                wep->EdtKey1->SelectAll();
                userinput::Type("ab12");
            })
        .Then("typed", [&] { return wep->EdtKey1->Text().size() == 4; })
        .Do("read",
            [&] {
                typed = wep->EdtKey1->Text();
                plainAfterTyping = wep->EdtKey1->PasswordChar() == 0;
                wep->EdtKey1->SelectAll();
                userinput::Paste(wep->EdtKey1->Handle(), "12g4");
                pasted = wep->EdtKey1->Text();
            })
        // Four digits of ten: refused, the page stays, nothing stored.
        .Then("next", Press(w->BtnNext))
        .Then("message", AnswerMessage(&message))
        .Then("answered", [&] { return !FindWindowA("TFormMessage", nullptr); })
        .Do("read", [&] { focusedAfterRefusal = wep->EdtKey1->Focused(); })
        .Then("back to the wizard", Foreground(w))
        .Do("read",
            [&] {
                unchangedAfterRefusal = SameProfile(edit, stored) && w->CurrentPage() == wep;
                wep->CmbWEP->SetFocus();
                KeyOnce(VK_DOWN);
            })
        .Then("128-bit", [&] { return wep->CmbWEP->ItemIndex() == 1; })
        .Do("read",
            [&] {
                emptiedBySize = wep->EdtKey1->Text().empty() && wep->EdtPassphrase->Text().empty();
                sizeAfterChoice = wep->EdtKey1->MaxLength();
                wep->EdtPassphrase->SetFocus();
                userinput::Type("secret");
            })
        .Then("keys made", [&] { return wep->EdtPassphrase->Text() == "secret"; })
        .Do("read",
            [&] {
                std::array<AnsiString, kWepKeyCount> keys = LibraryKeys("secret", kWepLevel128);
                keysFromPassphrase = true;
                for (int i = 0; i < kWepKeyCount; ++i)
                    keysFromPassphrase = keysFromPassphrase && keys[i].size() == 26 &&
                                         wep->KeyEdit(i)->Text() == keys[i];
                plainKeys = wep->EdtKey1->PasswordChar() == 0;
                wep->EdtPassphrase->SelectAll();
                KeyOnce(VK_BACK);
            })
        .Then("cleared", [&] { return wep->EdtPassphrase->Text().empty(); })
        .Do("read",
            [&] {
                emptiedByClearing = true;
                for (int i = 0; i < kWepKeyCount; ++i)
                    emptiedByClearing = emptiedByClearing && wep->KeyEdit(i)->Text().empty();
            })
        // Back stores nothing; coming again shows the profile's values, masked.
        .Then("back", Press(w->BtnBack))
        .Then("security", OnPage(w->FrameSecurity1))
        .Do("read", [&] { unchangedAfterBack = SameProfile(edit, stored); })
        .Then("next", Press(w->BtnNext))
        .Then("wep again", OnPage(wep))
        .Do("read",
            [&] {
                reloaded = wep->CmbWEP->ItemIndex() == 0 && wep->EdtKey1->Text() == cut &&
                           wep->EdtKey1->PasswordChar() == '*';
                // Transmit key 3 with a full key: the empty keys 1, 2 and 4 do not matter.
                wep->CmbTXKey->SetFocus();
                KeyOnce(VK_DOWN);
                KeyOnce(VK_DOWN);
            })
        .Then("key 3", [&] { return wep->EdtKey3->Visible() && !wep->EdtKey1->Visible(); })
        .Do("type",
            [&] {
                wep->EdtKey3->SetFocus();
                userinput::Type("fedcba9876");
            })
        .Then("typed", [&] { return wep->EdtKey3->Text() == "FEDCBA9876"; })
        .Then("next", Press(w->BtnNext))
        .Then("summary", OnPage(w->FrameConfirm1))
        .Then("exit", Press(w->BtnExit));
    EXPECT_EQ(Run(WizardModeEdit, s), mrCancel);

    EXPECT_EQ(opened, "64-bit Shared");
    EXPECT_EQ(cut, "0123456789") << "a stored key longer than the size is cut";
    EXPECT_TRUE(maskedOnEntry);
    EXPECT_EQ(afterCopy, "before") << "the masked key went to the clipboard";
    EXPECT_TRUE(maskedAfterCopy);
    EXPECT_EQ(typed, "AB12");
    EXPECT_TRUE(plainAfterTyping);
    EXPECT_EQ(pasted, "12");
    EXPECT_EQ(message, kWrongKey);
    EXPECT_TRUE(unchangedAfterRefusal);
    EXPECT_TRUE(focusedAfterRefusal);
    EXPECT_TRUE(emptiedBySize);
    EXPECT_EQ(sizeAfterChoice, 26);
    EXPECT_TRUE(keysFromPassphrase);
    EXPECT_TRUE(plainKeys);
    EXPECT_TRUE(emptiedByClearing);
    EXPECT_TRUE(unchangedAfterBack);
    EXPECT_TRUE(reloaded);
    // What Next stored: level 1 for the unknown size, the shown keys as they stand.
    EXPECT_EQ(edit.WEPEncryptionLevel, kWepLevel64);
    EXPECT_EQ(edit.WEPKeyFormat, 1);
    EXPECT_EQ(edit.DefaultKey, 2);
    EXPECT_EQ(edit.AuthenticationMode, 1);
    EXPECT_EQ(TextField(edit.WEPKey1), "0123456789");
    EXPECT_EQ(TextField(edit.WEPKey2), "");
    EXPECT_EQ(TextField(edit.WEPKey3), "FEDCBA9876");
    EXPECT_EQ(Log().find("FEDCBA9876"), std::string::npos) << "a key in the debug log";
}

TEST_F(Security, WpaPskPageTellsOfAFullEntryAndStoresTheTrimmedPassphrase) {
    Start();
    WLProfile& edit = FAGlobalVar.EditProfile;
    edit = FAGlobalVar.DefaultProfile;
    SetTextField(edit.Ssid1, "Office");
    edit.NetworkMode = 1;
    edit.EncryptionMethod = 2;
    edit.WPAEncryptionType = 7;  // no such item: TKIP
    const WLProfile before = edit;
    TFormProfSet* w = wizard_;
    TFrameWPAPSK* psk = w->FrameWPAPSK1;
    std::string cipher, full, shortOne;
    bool unchanged = false, plain = false;
    Script s;
    PastSecurityType(s, psk);
    s.Do("read",
         [&] {
             cipher = psk->CmbEncry->Items()->Strings(psk->CmbEncry->ItemIndex());
             plain = psk->EdtPassphrase->PasswordChar() == 0;
             psk->EdtPassphrase->SetFocus();
             userinput::Type(std::string(63, 'k') + "x");
         })
        .Then("message", AnswerMessage(&full))
        .Then("answered", [&] { return !FindWindowA("TFormMessage", nullptr); })
        .Then("back to the wizard", Foreground(w))
        .Do("short",
            [&] {
                psk->EdtPassphrase->SetText("  1234567  ");
                psk->CmbEncry->SetFocus();
                KeyOnce(VK_DOWN);
            })
        .Then("aes", [&] { return psk->CmbEncry->ItemIndex() == 1; })
        .Then("shot", Shot("wizard_wpapsk"))
        .Then("next", Press(w->BtnNext))
        .Then("message", AnswerMessage(&shortOne))
        .Then("answered", [&] { return !FindWindowA("TFormMessage", nullptr); })
        .Do("eight",
            [&] {
                unchanged = SameProfile(edit, before) && psk->EdtPassphrase->Focused();
                psk->EdtPassphrase->SetText("  12345678 ");
            })
        .Then("next", Press(w->BtnNext))
        .Then("summary", OnPage(w->FrameConfirm1))
        .Then("exit", Press(w->BtnExit));
    EXPECT_EQ(Run(WizardModeEdit, s), mrCancel);
    EXPECT_EQ(cipher, "TKIP");
    EXPECT_TRUE(plain) << "an empty passphrase is not masked";
    EXPECT_EQ(full, kWrongPassphrase) << "typing past 63 characters";
    EXPECT_EQ(shortOne, kWrongPassphrase);
    EXPECT_TRUE(unchanged);
    EXPECT_EQ(psk->EdtPassphrase->Text(), "  12345678 ") << "the edit keeps what was typed";
    EXPECT_EQ(TextField(edit.WPAPassphrase), "12345678");
    EXPECT_EQ(edit.WPAEncryptionType, 2);
    EXPECT_EQ(edit.AuthenticationMode, 4);
    EXPECT_EQ(Log().find("12345678"), std::string::npos) << "a passphrase in the debug log";
}

TEST_F(Security, QuickConnectOffersTheNetworksKindsAndWritesOnlyAnAcceptedEntry) {
    Start();
    TAutoFree<TFormConnectSet> dialog(NewForm<TFormConnectSet>(Application));
    WLProfile& edit = FAGlobalVar.EditProfile;

    // Which kinds it takes, by the network's type.
    struct Offer {
        int32_t networkMode;
        int32_t method;
        bool offered;
    } offers[] = {{1, 2, true},  {1, 1, true},  {0, 1, true},  {0, 2, false},
                  {1, 0, false}, {1, 3, false}, {1, 4, false}, {1, 6, false}};
    for (const Offer& o : offers) {
        edit = FAGlobalVar.DefaultProfile;
        edit.NetworkMode = o.networkMode;
        edit.EncryptionMethod = o.method;
        EXPECT_EQ(dialog->PrepareForm(o.method), o.offered) << o.networkMode << " " << o.method;
    }

    // A WPA-PSK network in range, its security fields filled with leftovers.
    edit = FAGlobalVar.DefaultProfile;
    SetTextField(edit.ProfileName, "(EditingProfile)");
    SetTextField(edit.Ssid1, "Office");
    edit.NetworkMode = 1;
    edit.EncryptionMethod = 2;
    edit.WPAEncryptionType = 2;
    SetTextField(edit.LoginName, "left over");
    SetTextField(edit.WEPKey2, "1111111111");
    edit.MS8021xAuthMode = 3;
    edit.AuthenticationMode = 4;  // not a WEP mode: Auto Switch
    ASSERT_TRUE(dialog->PrepareForm(edit.EncryptionMethod));
    EXPECT_EQ(Captions(dialog->CmbSecurity), (std::vector<std::string>{"WEP", "WPA-PSK"}));
    WLProfile before{};
    std::vector<std::string> shown;
    std::string message;
    bool restored = false, stayed = false;
    auto note = [&] {
        shown.push_back(std::string(dialog->ActiveFrame == dialog->FrameWEP1      ? "WEP"
                                    : dialog->ActiveFrame == dialog->FrameWPAPSK1 ? "PSK"
                                                                                  : "none") +
                        (dialog->FrameWEP1->Visible() ? " wep" : "") +
                        (dialog->FrameWPAPSK1->Visible() ? " psk" : "") +
                        (dialog->FrameWEP1->CmbTXKey->Visible() ? " txkey" : ""));
    };
    Script s;
    s.Then("shown", [&] { return dialog->Visible(); })
        .Do("read", note)
        .Then("shot", ShotOf(dialog.get(), "quick_connect_wpapsk"))
        .Do("wep",
            [&] {
                dialog->CmbSecurity->SetFocus();
                KeyOnce(VK_UP);
            })
        .Then("wep shown", [&] { return dialog->ActiveFrame == dialog->FrameWEP1; })
        .Do("read", note)
        .Do("type",
            [&] {
                dialog->FrameWEP1->EdtKey1->SetFocus();
                userinput::Type("012345678");
            })
        .Then("typed", [&] { return dialog->FrameWEP1->EdtKey1->Text() == "012345678"; })
        .Then("shot", ShotOf(dialog.get(), "quick_connect_wep"))
        .Do("before", [&] { before = edit; })
        .Then("connect", Click(dialog->BtnConnect))
        .Then("message", AnswerMessage(&message))
        .Then("answered", [&] { return !FindWindowA("TFormMessage", nullptr); })
        .Do("read",
            [&] {
                restored = SameProfile(edit, before);
                stayed = dialog->Visible();
            })
        .Then("back to the dialog", Foreground(dialog.get()))
        .Do("type",
            [&] {
                dialog->FrameWEP1->EdtKey1->SetFocus();
                KeyOnce(VK_END);
                userinput::Type("9");
            })
        .Then("full", [&] { return dialog->FrameWEP1->EdtKey1->Text() == "0123456789"; })
        .Then("connect", Click(dialog->BtnConnect));
    mainwin::OneShot guard(20000, [&] {
        PostMessageA(dialog->Handle(), BroadcastMsgId, bmCloseDialogs, 0);
        return true;
    });
    EXPECT_EQ(RunModalInPlaceOf(dialog.get(), nullptr), mrOk);
    EXPECT_TRUE(s.Finished()) << "waiting at: " << s.Waiting();
    EXPECT_EQ(shown, (std::vector<std::string>{"PSK psk", "WEP wep"}));
    EXPECT_EQ(message, kWrongKey);
    EXPECT_TRUE(restored) << "a refused Connect leaves EditProfile byte for byte";
    EXPECT_TRUE(stayed);

    // Accepted: the security fields at their reset values, but those the WEP page wrote.
    WLProfile expected = before;
    ResetProfileSecurity(FAGlobalVar, expected);
    expected.EncryptionMethod = 1;
    expected.WEPEncryptionLevel = kWepLevel64;
    expected.WEPKeyFormat = 1;
    expected.DefaultKey = 0;
    expected.AuthenticationMode = 2;
    SetTextField(expected.WEPKey1, "0123456789");
    // The page stores the four key edits as they stand, loaded from the profile.
    SetTextField(expected.WEPKey2, "1111111111");
    EXPECT_TRUE(SameProfile(edit, expected));
    EXPECT_EQ(TextField(edit.LoginName), "");
    EXPECT_EQ(edit.MS8021xAuthMode, 0);
    EXPECT_EQ(TextField(edit.Ssid1), "Office");
}

}  // namespace
}  // namespace wizardtest
