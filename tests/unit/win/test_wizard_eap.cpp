// The wizard's WPA and RADIUS pages over the stand-in adapter's certificates: what a stored
// profile opens with, which check refuses Next and what Next stores; lists that are empty,
// change or go.
#include <cstring>
#include <string>
#include <vector>

#include "core/Ucontrolhelpers.h"
#include "test_wizard_fixture.h"
#include "wizard/Uframeradius.h"
#include "wizard/Uframewpa.h"

namespace wizardtest {
namespace {

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
        Scenario(std::string(mainwin::kAdapter) + mainwin::kNetworks + certificates);
        Start();
        wpa_ = dynamic_cast<TFrameWPA*>(wizard_->PageOf(TWizardPage::WPA));
        radius_ = dynamic_cast<TFrameRadius*>(wizard_->PageOf(TWizardPage::Radius));
        ASSERT_TRUE(wpa_ && radius_);
        wpa_->InitPage();  // as a run prepares the pages
        radius_->InitPage();
    }
    // Next; the message it showed (answered with OK), "" for none.
    std::string Next(TFrameEap* page, bool* left) {
        std::string shown;
        mainwin::OneShot answer(30, [&] {
            HWND hwnd = FindWindowA("TFormMessage", nullptr);
            auto* dialog = dynamic_cast<TFormMessage*>(TWinControl::FromHandle(hwnd));
            if (!dialog || !dialog->Visible()) return false;
            shown = dialog->LbMsg->Caption();
            dialog->BtnOk->Click();
            return true;
        });
        *left = page->LeavePage(nullptr, kPageForward, WizardModeEdit);
        return shown;
    }
    TFrameWPA* wpa_ = nullptr;
    TFrameRadius* radius_ = nullptr;
};

}  // namespace

TEST_F(EapPages, AStoredProfileOpensWithItsTypeAndCertificateAndNextChecksAndStores) {
    StartWith(kCertificates);
    WLProfile& edit = FAGlobalVar.EditProfile;
    // Certificates as "name|issuer".
    struct Case {
        int32_t mode;
        const char *login, *password, *client, *authority;
        const char* shown;    // type / certificate on entry
        const char* message;  // of Next, "" when it goes on
        const char* stored;   // client / authority after Next
    } cases[] = {
        {1, " bob ", "", "Bob|Corp CA", "x|y", "TLS/Bob [Corp CA]", "", "Bob|Corp CA/|"},
        {1, "bob", "", "Carol|Gone CA", "|", "TLS/-", kNoCertificate, ""},
        {1, "bob", "", "Bob|corp ca", "|", "TLS/-", kNoCertificate, ""},
        {1, " \t", "pw", "Bob|Corp CA", "|", "TLS/Bob [Corp CA]", kEmptyLogin, ""},
        {3, "", "", "|", "|", "PEAP/Trust Any", kEmptyLogin, ""},
        {3, "bob", " ", "|", "|", "PEAP/Trust Any", kEmptyPassword, ""},
        {3, "bob", "pw", "Alice|Example Root CA", "|", "PEAP/Trust Any", "", "|/|"},
        {3, "bob", "pw", "|", "Corp CA|Corp CA", "PEAP/Corp CA", "", "|/Corp CA|Corp CA"},
        {3, "bob", "pw", "|", "Old CA|Old CA", "PEAP/Trust Any", "", "|/|"},
        // A type the list lacks opens as TLS and picks no certificate by another type's fields.
        {2, "bob", "pw", "|", "Example Root CA|Example Root CA", "TLS/-", kNoCertificate, ""},
        {0, "bob", "pw", "|", "Corp CA|Corp CA", "TLS/-", kNoCertificate, ""},
        {4, "bob", "pw", "|", "Corp CA|Corp CA", "TLS/-", kNoCertificate, ""},
    };
    auto put = [](char(&name)[260], char(&issuer)[260], const std::string& pair) {
        SetTextField(name, pair.substr(0, pair.find('|')));
        SetTextField(issuer, pair.substr(pair.find('|') + 1));
    };
    for (TFrameEap* page : {static_cast<TFrameEap*>(wpa_), static_cast<TFrameEap*>(radius_)}) {
        bool onWpa = page == wpa_;
        for (const Case& c : cases) {
            std::string what = std::to_string(&c - cases) + (onWpa ? " (WPA)" : " (RADIUS)");
            edit = mainwin::Profile("Stored", "Lab", onWpa ? 3 : 4);
            edit.MS8021xAuthMode = c.mode;
            edit.WPAEncryptionType = 2;
            edit.AuthenticationMode = 0;
            put(edit.sCertificate, edit.sCertificate_Issuer, c.client);
            put(edit.sCertAuthority, edit.sCertAuthority_Issuer, c.authority);
            SetTextField(edit.LoginName, c.login);
            SetTextField(edit.LoginPassword, c.password);
            ASSERT_TRUE(page->EnterPage(nullptr, kPageForward, WizardModeEdit)) << what;
            EXPECT_EQ(Selected(page->CmbAuthen) + "/" + Selected(page->CmbCert), c.shown) << what;
            // The stored password shows, though the type's choice empties the edit.
            EXPECT_EQ(page->EdtPasswd->Text(), c.password) << what;
            if (onWpa) {
                EXPECT_EQ(Selected(wpa_->CmbEncry), "AES") << what;
            }

            WLProfile before = edit;
            bool left = false;
            EXPECT_EQ(Next(page, &left), c.message) << what;
            ASSERT_EQ(left, *c.message == '\0') << what;
            if (!left) {
                EXPECT_EQ(std::memcmp(&before, &edit, sizeof(edit)), 0) << what << ": unchanged";
                if (c.message == kEmptyLogin) {
                    EXPECT_EQ(page->EdtName->Text(), "") << what;
                }
                continue;
            }
            EXPECT_EQ(TextField(edit.sCertificate) + "|" + TextField(edit.sCertificate_Issuer) +
                          "/" + TextField(edit.sCertAuthority) + "|" +
                          TextField(edit.sCertAuthority_Issuer),
                      c.stored)
                << what;
            EXPECT_EQ(TextField(edit.LoginName), "bob") << what;
            // The RADIUS page keeps the cipher and the authentication mode.
            EXPECT_EQ(edit.WPAEncryptionType, 2) << what;
            EXPECT_EQ(edit.AuthenticationMode, onWpa ? 3 : 0) << what;
        }
    }
    // Back stores nothing and keeps the page it came from.
    radius_->PrevPage = wizard_->FrameSecurity1;
    radius_->EdtName->SetText("typed");
    EXPECT_TRUE(radius_->LeavePage(nullptr, kPageBack, WizardModeEdit));
    EXPECT_EQ(TextField(edit.LoginName), "bob");
    EXPECT_EQ(radius_->PrevPage, wizard_->FrameSecurity1);
}

TEST_F(EapPages, CertificateListsThatAreEmptyChangeOrGoLeaveNoItemBehind) {
    StartWith("");
    WLProfile& edit = FAGlobalVar.EditProfile;
    edit = mainwin::Profile("Empty", "Lab", 3);
    edit.MS8021xAuthMode = 3;
    // No certificates: PEAP offers "Trust Any" alone, TLS nothing.
    ASSERT_TRUE(wpa_->EnterPage(nullptr, kPageForward, WizardModeEdit));
    EXPECT_EQ(Captions(wpa_->CmbCert), (std::vector<std::string>{"Trust Any"}));
    wpa_->EdtPasswd->SetText("typed");
    wpa_->CmbAuthen->SetItemIndex(0);
    wpa_->CmbAuthenSelect(wpa_->CmbAuthen);
    EXPECT_EQ(wpa_->CmbCert->Items()->Count(), 0);
    EXPECT_EQ(wpa_->EdtPasswd->Text(), "") << "a change of type empties the password";

    // Installed later, then replaced: each entry shows the list just read, its items pointing
    // into the page's own copies.
    edit.MS8021xAuthMode = 1;
    const std::string lists[] = {kCertificates, "[Certificates]\r\nClient1=Dave|New CA\r\n"};
    const std::vector<std::string> shown[] = {{"Alice [Example Root CA]", "Bob [Corp CA]"},
                                              {"Dave [New CA]"}};
    for (int i = 0; i < 2; ++i) {
        Scenario(std::string(mainwin::kAdapter) + mainwin::kNetworks + lists[i]);
        ASSERT_TRUE(radius_->EnterPage(nullptr, kPageForward, WizardModeEdit));
        EXPECT_EQ(Captions(radius_->CmbCert), shown[i]) << i;
        const std::vector<CertificateEntry>& own = radius_->ClientCertificates;
        for (int item = 0; item < radius_->CmbCert->Items()->Count(); ++item) {
            auto* entry =
                static_cast<const CertificateEntry*>(radius_->CmbCert->Items()->Objects(item));
            EXPECT_TRUE(entry >= own.data() && entry < own.data() + own.size()) << i << " " << item;
        }
    }
    // The wizard's close lets the lists go, and the list's items first.
    radius_->ClosePage();
    EXPECT_EQ(radius_->CmbCert->Items()->Count(), 0);
    EXPECT_TRUE(radius_->ClientCertificates.empty() && radius_->CACertificates.empty());

    // Detached: the lists stay empty and TLS cannot pass.
    wizard_->NotifyPagesAdapterChanged(nullptr, acDetached, 0);
    SetTextField(edit.LoginName, "carol");
    ASSERT_TRUE(radius_->EnterPage(nullptr, kPageForward, WizardModeEdit));
    EXPECT_TRUE(radius_->ClientCertificates.empty());
    bool left = true;
    EXPECT_EQ(Next(radius_, &left), kNoCertificate);
    EXPECT_FALSE(left);
}

}  // namespace wizardtest
