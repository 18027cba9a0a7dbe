// The wizard's WPA and RADIUS pages with the stand-in adapter's certificates: the user's way
// through the checks to a stored PEAP profile, what a stored profile opens with and what Next
// then stores, and certificate lists that are empty, change or go.
#include <array>
#include <cstring>
#include <string>
#include <vector>

#include "core/Ucontrolhelpers.h"
#include "test_wizard_fixture.h"
#include "wizard/Uframeradius.h"
#include "wizard/Uframewpa.h"

namespace wizardtest {
namespace {

using mainwin::kAdapter;
using mainwin::kNetworks;
using mainwin::OneShot;
using mainwin::PumpUntil;

const char kCertificates[] =
    "[Certificates]\r\nClient1=Alice|Example Root CA\r\nClient2=Bob|Corp CA\r\n"
    "Authority1=Example Root CA|Example Root CA\r\nAuthority2=Corp CA|Corp CA\r\n";

const char kEmptyLogin[] = "The login name is empty.\nPlease enter a login name.";
const char kEmptyPassword[] = "The password is empty.\nPlease enter a password.";
const char kNoCertificate[] = "You must specify a certificate.";

std::string Selected(TComboBox* combo) {
    int i = combo->ItemIndex();
    return i < 0 ? std::string("-") : combo->Items()->Strings(i);
}

class EapPages : public Wizard {
protected:
    void StartWith(const std::string& certificates) {
        Scenario(std::string(kAdapter) + kNetworks + certificates);
        Start();
        wpa_ = dynamic_cast<TFrameWPA*>(wizard_->PageOf(TWizardPage::WPA));
        radius_ = dynamic_cast<TFrameRadius*>(wizard_->PageOf(TWizardPage::Radius));
        ASSERT_NE(wpa_, nullptr);
        ASSERT_NE(radius_, nullptr);
        // As the wizard prepares a run.
        wpa_->InitPage();
        radius_->InitPage();
    }
    // A forward leave; the message it showed (answered with OK), "" for none.
    std::string LeaveForward(TFrameEap* page, bool* left) {
        std::string shown;
        OneShot answer(30, [&] {
            HWND hwnd = FindWindowA("TFormMessage", nullptr);
            auto* dialog =
                hwnd ? dynamic_cast<TFormMessage*>(TWinControl::FromHandle(hwnd)) : nullptr;
            if (!dialog || !dialog->Visible()) return false;
            shown = dialog->LbMsg->Caption();
            dialog->BtnOk->Click();
            return true;
        });
        *left = page->LeavePage(nullptr, kPageForward, WizardModeEdit);
        return shown;
    }
    // The EAP type chosen as the list reports a user's pick.
    static void Choose(TFrameEap* page, int32_t type) {
        ASSERT_TRUE(SelectComboByValue(FAGlobalVar, page->CmbAuthen, type));
        page->CmbAuthenSelect(page->CmbAuthen);
    }
    // A combo box stepped by the keyboard, as a user picks with the arrow keys.
    static std::function<bool()> KeyDown(TWinControl* control) {
        return [control] {
            if (!IsWindowEnabled(GetParentForm(control)->Handle()) ||
                GetForegroundWindow() != GetParentForm(control)->Handle())
                return false;
            control->SetFocus();
            userinput::Key(VK_DOWN, false);
            userinput::Key(VK_DOWN, true);
            return true;
        };
    }
    // Clicked into and typed, once the message before has gone and the click has put the
    // focus there.
    static void TypeInto(Script& s, TEdit* edit, const std::string& text) {
        s.Then("message gone", [] { return !FindWindowA("TFormMessage", nullptr); })
            .Then("click", Click(edit))
            .Then("focused", [edit] { return edit->Focused(); })
            .Do("type", [text] { userinput::Type(text); })
            .Then("typed", [edit, text] { return edit->Text() == text; });
    }

    TFrameWPA* wpa_ = nullptr;
    TFrameRadius* radius_ = nullptr;
};

}  // namespace

TEST_F(EapPages, NewWpaProfileThroughEveryCheckToAPeapLoginWithACertificateAuthority) {
    StartWith(kCertificates);
    WLProfile& edit = FAGlobalVar.EditProfile;
    edit = mainwin::Profile("Lab", "Lab", 3);
    TFormProfSet* w = wizard_;
    TFrameWPA* p = wpa_;
    std::vector<std::string> tlsCerts, peapCerts, authens;
    std::array<std::string, 3> messages;
    std::string tlsShown, peapShown, focusAfter[2];
    std::string tlsTops, peapTops;
    auto places = [p] {
        std::string out;
        for (TControl* c :
             std::initializer_list<TControl*>{p->CmbAuthen, p->EdtName, p->EdtPasswd, p->EdtServer,
                                              p->CmbCert, p->CmbInner, p->CmbEncry})
            out += (out.empty() ? "" : " ") + c->Name + (c->Visible() ? "@" : "(hidden)@") +
                   std::to_string(c->Left()) + "," + std::to_string(c->Top());
        return out;
    };
    size_t answered = 0;
    auto message = [&] { return AnswerMessage(&messages[answered++]); };
    Script s;
    s.Then("manual", Press(w->BtnManual))
        .Then("network type", OnPage(w->FrameNetType1))
        .Then("next", Press(w->BtnNext))
        .Then("security", OnPage(w->FrameSecurity1))
        .Then("next", Press(w->BtnNext))
        .Then("wpa page", OnPage(p))
        .Do("read TLS",
            [&] {
                authens = Captions(p->CmbAuthen);
                tlsCerts = Captions(p->CmbCert);
                tlsShown = Selected(p->CmbAuthen) + "/" + Selected(p->CmbCert);
                tlsTops = places();
            })
        .Then("shot", Shot("wizard_wpa_tls"))
        // No login name.
        .Then("next", Press(w->BtnNext))
        .Then("message", message())
        .Then("message gone", [] { return !FindWindowA("TFormMessage", nullptr); })
        .Do("focus", [&] { focusAfter[0] = p->EdtName->Focused() ? "name" : "elsewhere"; });
    TypeInto(s, p->EdtName, "  alice  ");
    s
        // TLS without a client certificate.
        .Then("next", Press(w->BtnNext))
        .Then("message", message())
        // PEAP: the authorities after "Trust Any", the password asked for.
        .Then("message gone", [] { return !FindWindowA("TFormMessage", nullptr); })
        // Nothing was focused after the message: the user clicks the page first.
        .Then("activate", ClickAt(p->ImgBG, 420))
        .Then("peap", KeyDown(p->CmbAuthen))
        .Then("peap shown", [&] { return p->EdtPasswd->Visible(); })
        .Do("read PEAP",
            [&] {
                peapCerts = Captions(p->CmbCert);
                peapShown = Selected(p->CmbAuthen) + "/" + Selected(p->CmbCert);
                peapTops = places();
            })
        .Then("shot", Shot("wizard_wpa_peap"))
        .Then("next", Press(w->BtnNext))
        .Then("message", message())
        .Then("message gone", [] { return !FindWindowA("TFormMessage", nullptr); })
        .Do("focus", [&] { focusAfter[1] = p->EdtPasswd->Focused() ? "password" : "elsewhere"; });
    TypeInto(s, p->EdtPasswd, "s3cret");
    s.Then("authority", KeyDown(p->CmbCert))
        .Then("picked", [&] { return p->CmbCert->ItemIndex() == 1; })
        .Then("cipher", KeyDown(p->CmbEncry))
        .Then("picked", [&] { return p->CmbEncry->ItemIndex() == 1; })
        .Then("next", Press(w->BtnNext))
        .Then("summary", OnPage(w->FrameConfirm1))
        .Then("save", Press(w->BtnSave))
        .Then("finish", [w] { return w->FinishShown(); })
        .Then("to profiles", Press(w->BtnToProfScr));
    EXPECT_EQ(Run(WizardModeNew, s), mrOk);

    EXPECT_EQ(authens, (std::vector<std::string>{"TLS", "PEAP"}));
    EXPECT_EQ(tlsShown, "TLS/-") << "a new profile chooses no client certificate";
    EXPECT_EQ(tlsCerts, (std::vector<std::string>{"Alice [Example Root CA]", "Bob [Corp CA]"}));
    EXPECT_EQ(tlsTops,
              "CmbAuthen@119,49 EdtName@119,82 EdtPasswd(hidden)@119,95 EdtServer@119,113 "
              "CmbCert@119,145 CmbInner(hidden)@119,163 CmbEncry@119,177");
    EXPECT_EQ(peapShown, "PEAP/Trust Any");
    EXPECT_EQ(peapCerts, (std::vector<std::string>{"Trust Any", "Example Root CA", "Corp CA"}));
    EXPECT_EQ(peapTops,
              "CmbAuthen@119,49 EdtName@119,72 EdtPasswd@119,95 EdtServer@119,118 "
              "CmbCert@119,141 CmbInner@119,163 CmbEncry@119,186");
    EXPECT_EQ(messages, (std::array<std::string, 3>{kEmptyLogin, kNoCertificate, kEmptyPassword}));
    EXPECT_EQ(focusAfter[0], "name");
    EXPECT_EQ(focusAfter[1], "password");

    ASSERT_EQ(page_->Stored.size(), 1u);
    const WLProfile& stored = page_->Stored[0];
    EXPECT_EQ(stored.EncryptionMethod, 3);
    EXPECT_EQ(stored.MS8021xAuthMode, 3);
    EXPECT_EQ(TextField(stored.sCertAuthority), "Example Root CA");
    EXPECT_EQ(TextField(stored.sCertAuthority_Issuer), "Example Root CA");
    EXPECT_EQ(TextField(stored.sCertificate), "");
    EXPECT_EQ(stored.PeapEap, 2);
    EXPECT_EQ(stored.WPAEncryptionType, 2);
    EXPECT_EQ(stored.AuthenticationMode, 3);
    EXPECT_EQ(TextField(stored.LoginName), "alice");
    EXPECT_EQ(TextField(stored.LoginPassword), "s3cret");
    EXPECT_EQ(Log().find("s3cret"), std::string::npos) << "no password in the debug log";
}

TEST_F(EapPages, AStoredProfileOpensWithItsTypeAndCertificateAndNextStoresOnlyWhatIsShown) {
    StartWith(kCertificates);
    WLProfile& edit = FAGlobalVar.EditProfile;
    struct Case {
        const char* what;
        int32_t mode;
        const char* client[2];
        const char* authority[2];
        const char* shown;  // type / certificate
        const char* message;
        const char* storedClient;     // name|issuer after Next
        const char* storedAuthority;  // name|issuer after Next
    } cases[] = {
        {"TLS, installed",
         1,
         {"Bob", "Corp CA"},
         {"x", "y"},
         "TLS/Bob [Corp CA]",
         "",
         "Bob|Corp CA",
         "|"},
        {"TLS, gone", 1, {"Carol", "Gone CA"}, {"", ""}, "TLS/-", kNoCertificate, "", ""},
        {"TLS, issuer differs", 1, {"Bob", "corp ca"}, {"", ""}, "TLS/-", kNoCertificate, "", ""},
        {"PEAP, trust any",
         3,
         {"Alice", "Example Root CA"},
         {"", ""},
         "PEAP/Trust Any",
         "",
         "|",
         "|"},
        {"PEAP, installed",
         3,
         {"", ""},
         {"Corp CA", "Corp CA"},
         "PEAP/Corp CA",
         "",
         "|",
         "Corp CA|Corp CA"},
        {"PEAP, gone", 3, {"", ""}, {"Old CA", "Old CA"}, "PEAP/Trust Any", "", "|", "|"},
        // A type the list lacks opens as TLS: no certificate through the other type's fields.
        {"TTLS",
         2,
         {"", ""},
         {"Example Root CA", "Example Root CA"},
         "TLS/-",
         kNoCertificate,
         "",
         ""},
        {"none", 0, {"", ""}, {"Corp CA", "Corp CA"}, "TLS/-", kNoCertificate, "", ""},
        {"LEAP", 4, {"", ""}, {"Corp CA", "Corp CA"}, "TLS/-", kNoCertificate, "", ""},
    };
    for (TFrameEap* page : {static_cast<TFrameEap*>(wpa_), static_cast<TFrameEap*>(radius_)}) {
        bool onWpa = page == wpa_;
        for (const Case& c : cases) {
            std::string what = std::string(c.what) + (onWpa ? " (WPA)" : " (RADIUS)");
            edit = mainwin::Profile("Stored", "Lab", onWpa ? 3 : 4);
            edit.MS8021xAuthMode = c.mode;
            edit.WPAEncryptionType = 2;
            edit.AuthenticationMode = 0;
            SetTextField(edit.sCertificate, c.client[0]);
            SetTextField(edit.sCertificate_Issuer, c.client[1]);
            SetTextField(edit.sCertAuthority, c.authority[0]);
            SetTextField(edit.sCertAuthority_Issuer, c.authority[1]);
            SetTextField(edit.LoginName, " bob ");
            SetTextField(edit.LoginPassword, "pw");
            SetTextField(edit.DomainName, "LAB");
            ASSERT_TRUE(page->EnterPage(nullptr, kPageForward, WizardModeEdit)) << what;
            EXPECT_EQ(Selected(page->CmbAuthen) + "/" + Selected(page->CmbCert), c.shown) << what;
            // The stored password shows, after the type's choice emptied the edit.
            EXPECT_EQ(page->EdtPasswd->Text(), "pw") << what;
            EXPECT_EQ(page->EdtServer->Text(), "LAB") << what;
            if (onWpa) EXPECT_EQ(Selected(wpa_->CmbEncry), "AES") << what;

            WLProfile before = edit;
            bool left = false;
            EXPECT_EQ(LeaveForward(page, &left), c.message) << what;
            EXPECT_EQ(left, *c.message == '\0') << what;
            if (!left) {
                EXPECT_EQ(std::memcmp(&before, &edit, sizeof(edit)), 0) << what << ": unchanged";
                continue;
            }
            EXPECT_EQ(TextField(edit.sCertificate) + "|" + TextField(edit.sCertificate_Issuer),
                      c.storedClient)
                << what;
            EXPECT_EQ(TextField(edit.sCertAuthority) + "|" + TextField(edit.sCertAuthority_Issuer),
                      c.storedAuthority)
                << what;
            EXPECT_EQ(TextField(edit.LoginName), "bob") << what;
            // The RADIUS page keeps the cipher and the authentication mode.
            EXPECT_EQ(edit.WPAEncryptionType, 2) << what;
            EXPECT_EQ(edit.AuthenticationMode, onWpa ? 3 : 0) << what;
        }
    }
    // Back stores nothing and keeps the page it came from.
    radius_->PrevPage = wizard_->FrameSecurity1;
    SetTextField(edit.LoginName, "kept");
    radius_->EdtName->SetText("typed");
    EXPECT_TRUE(radius_->LeavePage(nullptr, kPageBack, WizardModeEdit));
    EXPECT_EQ(TextField(edit.LoginName), "kept");
    EXPECT_EQ(radius_->PrevPage, wizard_->FrameSecurity1);
}

TEST_F(EapPages, CertificateListsThatAreEmptyChangeOrGoLeaveNoItemBehind) {
    StartWith("");
    WLProfile& edit = FAGlobalVar.EditProfile;
    edit = mainwin::Profile("Empty", "Lab", 3);
    SetTextField(edit.LoginName, "carol");
    // No certificates: TLS cannot pass, PEAP offers "Trust Any" alone.
    ASSERT_TRUE(wpa_->EnterPage(nullptr, kPageForward, WizardModeEdit));
    EXPECT_EQ(wpa_->CmbCert->Items()->Count(), 0);
    bool left = true;
    EXPECT_EQ(LeaveForward(wpa_, &left), kNoCertificate);
    EXPECT_FALSE(left);
    Choose(wpa_, kEapPEAP);
    EXPECT_EQ(Captions(wpa_->CmbCert), (std::vector<std::string>{"Trust Any"}));
    EXPECT_EQ(Selected(wpa_->CmbCert), "Trust Any");

    // Installed later, then replaced: every entry shows the list just read, its items pointing
    // at the page's own copies.
    const std::string lists[] = {
        kCertificates, "[Certificates]\r\nClient1=Dave|New CA\r\nAuthority1=New CA|New CA\r\n"};
    const std::vector<std::string> shown[] = {{"Alice [Example Root CA]", "Bob [Corp CA]"},
                                              {"Dave [New CA]"}};
    for (int i = 0; i < 2; ++i) {
        Scenario(std::string(kAdapter) + kNetworks + lists[i]);
        edit.MS8021xAuthMode = 1;
        ASSERT_TRUE(radius_->EnterPage(nullptr, kPageForward, WizardModeEdit));
        EXPECT_EQ(Captions(radius_->CmbCert), shown[i]) << i;
        for (int item = 0; item < radius_->CmbCert->Items()->Count(); ++item) {
            auto* entry =
                static_cast<const CertificateEntry*>(radius_->CmbCert->Items()->Objects(item));
            ASSERT_TRUE(entry >= radius_->ClientCertificates.data() &&
                        entry <
                            radius_->ClientCertificates.data() + radius_->ClientCertificates.size())
                << i << ": item " << item << " points outside the page's list";
        }
    }
    // Closing the wizard lets the lists go and the list's items with them.
    radius_->ClosePage();
    EXPECT_EQ(radius_->CmbCert->Items()->Count(), 0);
    EXPECT_TRUE(radius_->ClientCertificates.empty());
    EXPECT_TRUE(radius_->CACertificates.empty());

    // Detached: entered without an adapter, the lists stay empty.
    wizard_->NotifyPagesAdapterChanged(nullptr, acDetached, 0);
    edit.MS8021xAuthMode = 3;
    ASSERT_TRUE(radius_->EnterPage(nullptr, kPageForward, WizardModeEdit));
    EXPECT_EQ(Captions(radius_->CmbCert), (std::vector<std::string>{"Trust Any"}));
    EXPECT_TRUE(radius_->ClientCertificates.empty());
    // A change of type empties the password.
    radius_->EdtPasswd->SetText("typed");
    Choose(radius_, kEapTLS);
    EXPECT_EQ(radius_->EdtPasswd->Text(), "");
    EXPECT_FALSE(radius_->EdtPasswd->Visible());
    EXPECT_EQ(radius_->CmbCert->Items()->Count(), 0);
}

}  // namespace wizardtest
