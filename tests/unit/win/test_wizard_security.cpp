// The WEP page in the wizard and the quick connect dialog, worked with the keyboard and the
// mouse: the key filter, masking, the checks on Next and on Connect, and what ends up in
// EditProfile.
#include <cstring>

#include "core/Uprofile.h"
#include "monitor/Uskinwindow.h"
#include "test_wizard_fixture.h"
#include "wizard/Uformconnectset.h"

namespace wizardtest {
namespace {

const char kWrongKey[] = "You have entered an incorrect WEP key.\nPlease try again.";

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

// Nothing on the clipboard, text or otherwise.
void ClearClipboard() {
    ASSERT_TRUE(OpenClipboard(nullptr));
    EmptyClipboard();
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

class Security : public Wizard {
protected:
    // When a message dialog goes, the window under it has the foreground again, so the user's
    // keys go on where they went (not to some other window of the system's).
    static std::function<bool()> InFront(TForm* form) {
        return [form] { return GetForegroundWindow() == form->Handle(); };
    }
    // The dialog run modally while the script plays; closed if the script stalls.
    static int RunDialog(TForm* dialog, const Script& s) {
        mainwin::OneShot guard(20000, [dialog] {
            PostMessageA(dialog->Handle(), BroadcastMsgId, bmCloseDialogs, 0);
            return true;
        });
        int result = RunModalInPlaceOf(dialog, nullptr);
        EXPECT_TRUE(s.Finished()) << "waiting at: " << s.Waiting();
        return result;
    }
    std::function<bool()> ShotOf(TForm* form, const std::string& name) {
        return [form, name] {
            UpdateWindow(form->Handle());
            SaveScreenshot(form->Handle(), name);
            return true;
        };
    }
};

TEST_F(Security, WepPageFiltersMasksAndRefusesAShortKey) {
    Start();
    WLProfile& edit = FAGlobalVar.EditProfile;
    edit = FAGlobalVar.DefaultProfile;
    SetTextField(edit.Ssid1, "Cafe");
    edit.NetworkMode = 1;
    edit.EncryptionMethod = 1;
    edit.WEPEncryptionLevel = 3;  // no such item: 64-bit and 10 digits
    edit.AuthenticationMode = 1;
    SetTextField(edit.WEPKey1, "0123456789abcdef0123456789");
    const WLProfile stored = edit;
    TFormProfSet* w = wizard_;
    TFrameWEP* wep = w->FrameWEP1;
    std::vector<std::string> seen;  // what the page showed, step by step
    auto note = [&](const char* what) {
        TEdit* key = wep->EdtKey1;
        seen.push_back(std::string(what) + ": " + key->Text() + (key->PasswordChar() ? " *" : "") +
                       (SameProfile(edit, stored) ? "" : " (stored)"));
    };
    std::string message, clipboard;
    Script s;
    PastSecurityType(s, wep);
    s.Do("entered",
         [&] {
             note(wep->CmbWEP->Items()->Strings(wep->CmbWEP->ItemIndex()).c_str());
             // Ctrl+C over the whole masked key copies nothing and shows nothing.
             SetClipboard("before");
             wep->EdtKey1->SetFocus();
             wep->EdtKey1->SelectAll();
             CtrlKey('C');
         })
        .Then("shot", Shot("wizard_wep"))
        .Do("copied",
            [&] {
                clipboard = Clipboard();
                note("Ctrl+C");
                wep->EdtKey1->SelectAll();
                userinput::Type("ab12");
            })
        .Then("typed", [&] { return wep->EdtKey1->Text().size() == 4; })
        .Do("pasted",
            [&] {
                note("typed");
                wep->EdtKey1->SelectAll();
                userinput::Paste(wep->EdtKey1->Handle(), "12g4");
                note("pasted");
            })
        // Two digits of ten: refused, the page stays, nothing stored.
        .Then("next", Press(w->BtnNext))
        .Then("message", AnswerMessage(&message))
        .Then("wizard in front", InFront(w))
        .Do("size",
            [&] {
                note(wep->EdtKey1->Focused() ? "refused, focused" : "refused");
                wep->CmbWEP->SetFocus();
                KeyOnce(VK_DOWN);
            })
        .Then("128-bit", [&] { return wep->CmbWEP->ItemIndex() == 1; })
        .Do("read", [&] { note(("size " + std::to_string(wep->EdtKey1->MaxLength())).c_str()); })
        // Back stores nothing; coming again shows the profile's values.
        .Then("back", Press(w->BtnBack))
        .Then("security", OnPage(w->FrameSecurity1))
        .Then("next", Press(w->BtnNext))
        .Then("wep again", OnPage(wep))
        .Do("read", [&] { note("again"); })
        .Do("close", [&] { PostMessageA(w->Handle(), BroadcastMsgId, bmCloseDialogs, 0); });
    EXPECT_EQ(Run(WizardModeEdit, s), mrCancel);
    EXPECT_EQ(seen, (std::vector<std::string>{
                        "64-bit: 0123456789 *",  // a stored key longer than the size is cut
                        "Ctrl+C: 0123456789 *", "typed: AB12", "pasted: 12", "refused, focused: 12",
                        "size 26: ", "again: 0123456789 *"}));
    EXPECT_EQ(clipboard, "before") << "the masked key went to the clipboard";
    EXPECT_EQ(message, kWrongKey);
    EXPECT_EQ(Log().find("0123456789"), std::string::npos) << "a key in the debug log";
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
        shown.push_back(std::string(dialog->ActiveFrame == dialog->FrameWEP1 ? "WEP" : "PSK") +
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
        .Then("dialog in front", InFront(dialog.get()))
        .Do("type",
            [&] {
                restored = SameProfile(edit, before);
                stayed = dialog->Visible();
                dialog->FrameWEP1->EdtKey1->SetFocus();
                KeyOnce(VK_END);
                userinput::Type("9");
            })
        .Then("full", [&] { return dialog->FrameWEP1->EdtKey1->Text() == "0123456789"; })
        .Then("connect", Click(dialog->BtnConnect));
    EXPECT_EQ(RunDialog(dialog.get(), s), mrOk);
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
}

TEST_F(Security, CtrlVWithNoTextOnTheClipboardNeverShowsAStoredSecret) {
    Start();
    TAutoFree<TFormConnectSet> dialog(NewForm<TFormConnectSet>(Application));
    WLProfile& edit = FAGlobalVar.EditProfile;
    edit = FAGlobalVar.DefaultProfile;
    SetTextField(edit.Ssid1, "Office");
    edit.NetworkMode = 1;
    edit.EncryptionMethod = 2;
    SetTextField(edit.WPAPassphrase, "stored passphrase");
    edit.WEPEncryptionLevel = kWepLevel64;
    SetTextField(edit.WEPKey1, "0123456789");
    ASSERT_TRUE(dialog->PrepareForm(edit.EncryptionMethod));
    TEdit* passphrase = dialog->FrameWPAPSK1->EdtPassphrase;
    TEdit* key = dialog->FrameWEP1->EdtKey1;
    std::vector<std::string> seen;
    auto note = [&](const char* what, TEdit* e) {
        seen.push_back(std::string(what) + ": " + e->Text() + (e->PasswordChar() ? " *" : ""));
    };
    // Ctrl and each letter over the whole masked text, then Home, which says they all arrived.
    bool home = false;
    for (TEdit* e : {passphrase, key})
        e->OnKeyDown = [&home](TObject*, WORD& k, TShiftState) { home = home || k == VK_HOME; };
    auto keysOver = [&home](TEdit* e, std::vector<char> letters) {
        home = false;
        e->SetFocus();
        e->SelectAll();
        for (char letter : letters) CtrlKey(static_cast<WORD>(letter));
        KeyOnce(VK_HOME);
    };
    auto arrived = [&home] { return home; };
    auto choose = [&](WORD arrow) {
        dialog->CmbSecurity->SetFocus();
        KeyOnce(arrow);
    };
    std::string clipboard;
    Script s;
    s.Then("shown", [&] { return dialog->Visible(); })
        .Do("paste nothing",
            [&] {
                ClearClipboard();
                keysOver(passphrase, {'V', 'C'});
            })
        .Then("arrived", arrived)
        .Do("read",
            [&] {
                clipboard = Clipboard();
                note("PSK", passphrase);
            })
        .Do("wep", [&] { choose(VK_UP); })
        .Then("wep shown", [&] { return dialog->ActiveFrame == dialog->FrameWEP1; })
        .Do("paste nothing", [&] { keysOver(key, {'V'}); })
        .Then("arrived", arrived)
        .Do("read", [&] { note("WEP", key); })
        // Shown again, the page masks the stored passphrase again.
        .Do("psk", [&] { choose(VK_DOWN); })
        .Then("psk shown", [&] { return dialog->ActiveFrame == dialog->FrameWPAPSK1; })
        .Do("paste text",
            [&] {
                note("PSK again", passphrase);
                SetClipboard("pasted passphrase");
                keysOver(passphrase, {'V'});
            })
        .Then("arrived", arrived)
        .Do("read", [&] { note("PSK pasted", passphrase); })
        .Then("cancel", Click(dialog->BtnCancel));
    EXPECT_EQ(RunDialog(dialog.get(), s), mrCancel);
    // A password edit drops its selection on a paste with nothing to paste: the stored secret
    // goes, never shown and never copied. A paste of text shows what was pasted.
    EXPECT_EQ(seen, (std::vector<std::string>{"PSK: ", "WEP: ", "PSK again: stored passphrase *",
                                              "PSK pasted: pasted passphrase"}));
    EXPECT_EQ(clipboard, "(none)") << "the stored passphrase went to the clipboard";
}

}  // namespace
}  // namespace wizardtest
