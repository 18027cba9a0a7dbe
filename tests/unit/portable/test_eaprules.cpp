#include <gtest/gtest.h>

#include <array>
#include <cstring>
#include <string>
#include <vector>

#include "core/Ucommonstring.h"
#include "wizard/Ueaprules.h"

namespace {

CertificateEntry Entry(const char* name, const char* issuer) {
    CertificateEntry e;
    SetTextField(e.Name, name);
    SetTextField(e.Issuer, issuer);
    return e;
}

std::vector<std::string> Texts(const std::vector<CertificateItem>& items) {
    std::vector<std::string> out;
    for (const CertificateItem& item : items) out.push_back(item.Text);
    return out;
}

}  // namespace

TEST(EapRules, ListsAndTheCertificateListOfEachType) {
    CCommonString words;
    words.TrustAny = "Alle";
    std::vector<CertificateEntry> clients = {Entry("Alice", "Root CA"), Entry("Bob", "")};
    std::vector<CertificateEntry> authorities = {Entry("Root CA", "Root CA")};
    struct Case {
        int32_t type;
        int32_t kind;
        std::vector<std::string> texts;
    } cases[] = {
        {kEapTLS, kCertClient, {"Alice [Root CA]", "Bob []"}},
        {kEapTTLS, kCertAuthority, {"Alle", "Root CA"}},
        {kEapPEAP, kCertAuthority, {"Alle", "Root CA"}},
        {0, 0, {}},
        {4, 0, {}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(CertificateKindFor(c.type), c.kind) << c.type;
        std::vector<CertificateItem> items = CertificateItems(words, c.type, clients, authorities);
        EXPECT_EQ(Texts(items), c.texts) << c.type;
        // Items refer to the entries they show; "Trust Any" to none.
        for (size_t i = 0; i < items.size(); ++i) {
            const CertificateEntry* want = nullptr;
            if (c.kind == kCertClient) want = &clients[i];
            if (c.kind == kCertAuthority && i > 0) want = &authorities[i - 1];
            EXPECT_EQ(items[i].Entry, want) << c.type << " item " << i;
        }
    }
    // No certificates: TLS has no item, PEAP "Trust Any" alone.
    EXPECT_TRUE(CertificateItems(words, kEapTLS, {}, {}).empty());
    EXPECT_EQ(Texts(CertificateItems(words, kEapPEAP, {}, {})), std::vector<std::string>{"Alle"});

    // Fields the library filled to the end, without their NUL, are read no further; a "%s" in a
    // name is text.
    CertificateEntry full;
    std::memset(full.Name, 'n', sizeof(full.Name));
    std::memset(full.Issuer, 'i', sizeof(full.Issuer));
    std::vector<CertificateEntry> unterminated = {full, Entry("%s%n", "%d")};
    std::vector<CertificateItem> items = CertificateItems(words, kEapTLS, unterminated, {});
    ASSERT_EQ(items.size(), 2u);
    EXPECT_EQ(items[0].Text, std::string(256, 'n') + " [" + std::string(256, 'i') + "]");
    EXPECT_EQ(items[1].Text, "%s%n [%d]");
    EXPECT_EQ(Texts(CertificateItems(words, kEapPEAP, {}, unterminated)),
              (std::vector<std::string>{"Alle", std::string(256, 'n'), "%s%n"}));

    CCommonString english;
    auto texts = [](const std::vector<WizardChoice>& choices) {
        std::vector<std::string> out;
        for (const WizardChoice& c : choices) out.push_back(c.Text + "=" + std::to_string(c.Value));
        return out;
    };
    EXPECT_EQ(texts(EapTypeChoices(english)), (std::vector<std::string>{"TLS=1", "PEAP=3"}));
    EXPECT_EQ(texts(EapInnerChoices(english)), std::vector<std::string>{"EAP-MSCHAP V2=2"});
    EXPECT_EQ(texts(EapCipherChoices(english)), (std::vector<std::string>{"TKIP=1", "AES=2"}));
}

TEST(EapRules, PlacesOfEachTypeOnBothPages) {
    using Tops = std::array<int32_t, kEapControlCount>;
    using Shown = std::array<bool, kEapControlCount>;
    struct Case {
        bool wpa;
        int32_t type;
        Tops tops;  // authen, name, password, domain, certificate, inner, cipher
        Shown shown;
    } cases[] = {
        {true, kEapTLS, {49, 82, 95, 113, 145, 163, 177}, {1, 1, 0, 1, 1, 0, 1}},
        {true, kEapPEAP, {49, 72, 95, 118, 141, 163, 186}, {1, 1, 1, 1, 1, 1, 1}},
        {false, kEapTLS, {49, 81, 103, 113, 145, 185, 0}, {1, 1, 0, 1, 1, 0, 0}},
        {false, kEapPEAP, {49, 76, 103, 130, 158, 185, 0}, {1, 1, 1, 1, 1, 1, 0}},
    };
    for (const Case& c : cases) {
        EapLayout layout = EapPageLayout(c.wpa, c.type);
        for (int i = 0; i < kEapControlCount; ++i) {
            EXPECT_EQ(layout.Shown[i], c.shown[i]) << c.wpa << " " << c.type << " control " << i;
            if (!c.shown[i]) continue;
            EXPECT_EQ(layout.Top[i], c.tops[i]) << c.wpa << " " << c.type << " control " << i;
        }
    }
    // Shown controls never overlap, top to bottom (the edits and lists are 21 high).
    for (const Case& c : cases) {
        EapLayout layout = EapPageLayout(c.wpa, c.type);
        int32_t bottom = 0;
        for (int i = 0; i < kEapControlCount; ++i) {
            if (!layout.Shown[i]) continue;
            EXPECT_GE(layout.Top[i], bottom) << c.wpa << " " << c.type << " control " << i;
            bottom = layout.Top[i] + 21;
        }
        EXPECT_LE(bottom, 219) << "within the page";
    }
}

TEST(EapRules, ChecksInTheirOrder) {
    struct Case {
        int32_t type;
        const char* name;
        const char* password;
        bool certificate;
        EapCheck result;
    } cases[] = {
        // the login name first, whatever else is missing
        {kEapTLS, "", "", false, EapCheck::EmptyLoginName},
        {kEapPEAP, " \t\r\n", "", false, EapCheck::EmptyLoginName},
        {kEapTTLS, "", "pw", true, EapCheck::EmptyLoginName},
        // then the password, for the types that have one
        {kEapPEAP, "bob", "  ", false, EapCheck::EmptyPassword},
        {kEapTTLS, "bob", "", true, EapCheck::EmptyPassword},
        {kEapTLS, "bob", "", true, EapCheck::Passed},
        // then TLS's certificate; "Trust Any" is enough for PEAP
        {kEapTLS, "bob", "", false, EapCheck::NoCertificate},
        {kEapPEAP, "bob", "pw", false, EapCheck::Passed},
        // other types are not checked
        {0, "", "", false, EapCheck::Passed},
        {4, "", "", false, EapCheck::Passed},
    };
    for (const Case& c : cases) {
        EapEntries entries;
        entries.Name = c.name;
        entries.Password = c.password;
        entries.CertificateSelected = c.certificate;
        EXPECT_EQ(CheckEapLogin(c.type, entries), c.result)
            << c.type << " '" << c.name << "' '" << c.password << "' " << c.certificate;
    }
    struct Message {
        EapCheck check;
        std::string key, english;
        EapControl focus;
    } messages[] = {
        {EapCheck::EmptyLoginName, "ErEmptyLoginName",
         "The login name is empty.\\nPlease enter a login name.", kEapName},
        {EapCheck::EmptyPassword, "ErEmptyPw", "The password is empty.\\nPlease enter a password.",
         kEapPasswd},
        {EapCheck::NoCertificate, "ErSelCert", "You must specify a certificate.", kEapControlCount},
    };
    for (const Message& m : messages) {
        EapCheckMessage got = EapCheckMessageOf(m.check);
        EXPECT_EQ(got.Key, m.key);
        EXPECT_EQ(got.English, m.english);
        EXPECT_EQ(got.Focus, m.focus) << m.key;
    }
}

TEST(EapRules, StoredCertificateIsLookedUpByTheTypeSelected) {
    WLProfile p;
    SetTextField(p.sCertificate, "Alice");
    SetTextField(p.sCertificate_Issuer, "Root CA");
    SetTextField(p.sCertAuthority, "Corp CA");
    SetTextField(p.sCertAuthority_Issuer, "Corp Root");
    for (int32_t stored : {0, 1, 2, 3, 4}) {
        p.MS8021xAuthMode = stored;
        StoredCertificate tls = StoredCertificateFor(p, kEapTLS);
        EXPECT_TRUE(tls.Look);
        EXPECT_EQ(tls.Name + "|" + tls.Issuer, "Alice|Root CA") << stored;
        EXPECT_FALSE(tls.FirstWhenMissing);
        StoredCertificate peap = StoredCertificateFor(p, kEapPEAP);
        EXPECT_EQ(peap.Name + "|" + peap.Issuer, "Corp CA|Corp Root") << stored;
        EXPECT_TRUE(peap.FirstWhenMissing);
    }
    EXPECT_FALSE(StoredCertificateFor(p, 0).Look);
}

TEST(EapRules, ForwardLeaveStoresTheFieldsOfTheTypeAndEmptiesTheOthers) {
    CertificateEntry cert = Entry("Corp CA", "Corp Root");
    struct Case {
        bool wpa;
        int32_t type;
        const CertificateEntry* cert;
        std::string client, authority;  // name|issuer stored
    } cases[] = {
        {true, kEapTLS, &cert, "Corp CA|Corp Root", "|"},
        {false, kEapTLS, &cert, "Corp CA|Corp Root", "|"},
        {true, kEapPEAP, &cert, "|", "Corp CA|Corp Root"},
        {false, kEapTTLS, &cert, "|", "Corp CA|Corp Root"},
        {true, kEapPEAP, nullptr, "|", "|"},  // Trust Any
        {false, kEapTLS, nullptr, "|", "|"},
    };
    for (const Case& c : cases) {
        WLProfile p;
        SetTextField(p.sCertificate, "old");
        SetTextField(p.sCertificate_Issuer, "old");
        SetTextField(p.sCertAuthority, "old");
        SetTextField(p.sCertAuthority_Issuer, "old");
        p.WPAEncryptionType = 1;
        p.AuthenticationMode = 2;
        p.EncryptionMethod = c.wpa ? 3 : 4;
        EapChoice choice;
        choice.Type = c.type;
        choice.Certificate = c.cert;
        choice.Inner = 2;
        choice.Cipher = 2;
        choice.Entries.Name = " \tbob ";
        choice.Entries.Password = " pass word\r\n";
        choice.Entries.Domain = "  ";
        StoreEapChoice(p, choice, c.wpa);
        std::string what = std::to_string(c.wpa) + " " + std::to_string(c.type);
        EXPECT_EQ(p.MS8021xAuthMode, c.type) << what;
        EXPECT_EQ(TextField(p.sCertificate) + "|" + TextField(p.sCertificate_Issuer), c.client)
            << what;
        EXPECT_EQ(TextField(p.sCertAuthority) + "|" + TextField(p.sCertAuthority_Issuer),
                  c.authority)
            << what;
        EXPECT_EQ(p.PeapEap, 2) << what;
        EXPECT_EQ(TextField(p.LoginName), "bob") << what;
        EXPECT_EQ(TextField(p.LoginPassword), "pass word") << what;
        EXPECT_EQ(TextField(p.DomainName), "") << what;
        // The RADIUS page keeps the cipher and the authentication mode.
        EXPECT_EQ(p.WPAEncryptionType, c.wpa ? 2 : 1) << what;
        EXPECT_EQ(p.AuthenticationMode, c.wpa ? kAuthModeWPA : 2) << what;
        EXPECT_EQ(p.EncryptionMethod, c.wpa ? 3 : 4) << what;
    }
    // A typed text longer than the field is cut to it.
    WLProfile p;
    EapChoice choice;
    choice.Entries.Name = std::string(300, 'a');
    StoreEapChoice(p, choice, true);
    EXPECT_EQ(TextField(p.LoginName), std::string(sizeof(p.LoginName) - 1, 'a'));
}
