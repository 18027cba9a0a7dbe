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

}  // namespace

TEST(EapRules, CertificateItemsOfEachTypeReadTheFieldsNoFurtherThanTheirWidth) {
    CCommonString words;
    words.TrustAny = "Alle";
    CertificateEntry full;  // filled to the end by the library, without a NUL
    std::memset(full.Name, 'n', sizeof(full.Name));
    std::memset(full.Issuer, 'i', sizeof(full.Issuer));
    std::vector<CertificateEntry> clients = {Entry("Alice", "Root CA"), Entry("%s", ""), full};
    std::vector<CertificateEntry> authorities = {Entry("Root CA", "Root CA"), full};
    const std::string n(256, 'n'), i(256, 'i');
    struct Case {
        int32_t type;
        std::vector<std::string> texts;
        std::vector<const CertificateEntry*> entries;
    } cases[] = {
        {kEapTLS,
         {"Alice [Root CA]", "%s []", n + " [" + i + "]"},
         {&clients[0], &clients[1], &clients[2]}},
        {kEapPEAP, {"Alle", "Root CA", n}, {nullptr, &authorities[0], &authorities[1]}},
        {kEapTTLS, {"Alle", "Root CA", n}, {nullptr, &authorities[0], &authorities[1]}},
        {0, {}, {}},
        {4, {}, {}},
    };
    for (const Case& c : cases) {
        std::vector<std::string> texts;
        std::vector<const CertificateEntry*> entries;
        for (const CertificateItem& item : CertificateItems(words, c.type, clients, authorities)) {
            texts.push_back(item.Text);
            entries.push_back(item.Entry);
        }
        EXPECT_EQ(texts, c.texts) << c.type;
        EXPECT_EQ(entries, c.entries) << c.type;
    }
    EXPECT_TRUE(CertificateItems(words, kEapTLS, {}, {}).empty());
    EXPECT_EQ(CertificateItems(words, kEapPEAP, {}, {}).size(), 1u) << "Trust Any alone";
}

TEST(EapRules, PlacesOfEachTypeOnBothPages) {
    struct Case {
        bool wpa;
        int32_t type;
        std::array<int32_t, kEapControlCount> tops;  // -1: hidden
    } cases[] = {
        {true, kEapTLS, {49, 82, -1, 113, 145, -1, 177}},
        {true, kEapPEAP, {49, 72, 95, 118, 141, 163, 186}},
        {true, kEapTTLS, {49, 82, -1, 113, 145, -1, 177}},
        {false, kEapTLS, {49, 81, -1, 113, 145, -1, -1}},
        {false, kEapPEAP, {49, 76, 103, 130, 158, 185, -1}},
    };
    for (const Case& c : cases) {
        EapLayout layout = EapPageLayout(c.wpa, c.type);
        for (int i = 0; i < kEapControlCount; ++i)
            EXPECT_EQ(layout.Shown[i] ? layout.Top[i] : -1, c.tops[i])
                << c.wpa << " " << c.type << " control " << i;
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
        {kEapTLS, "", "", false, EapCheck::EmptyLoginName},
        {kEapPEAP, " \t\r\n", "", false, EapCheck::EmptyLoginName},
        {kEapPEAP, "bob", "  ", false, EapCheck::EmptyPassword},
        {kEapTTLS, "bob", "", true, EapCheck::EmptyPassword},
        {kEapTLS, "bob", "", false, EapCheck::NoCertificate},
        {kEapTLS, "bob", "", true, EapCheck::Passed},
        {kEapPEAP, "bob", "pw", false, EapCheck::Passed},  // "Trust Any"
        {0, "", "", false, EapCheck::Passed},
    };
    for (const Case& c : cases) {
        EapEntries entries;
        entries.Name = c.name;
        entries.Password = c.password;
        entries.CertificateSelected = c.certificate;
        EXPECT_EQ(CheckEapLogin(c.type, entries), c.result) << c.type << " '" << c.name << "'";
    }
    EXPECT_EQ(EapCheckMessageOf(EapCheck::EmptyLoginName).Focus, kEapName);
    EXPECT_EQ(EapCheckMessageOf(EapCheck::EmptyPassword).Focus, kEapPasswd);
    EXPECT_EQ(EapCheckMessageOf(EapCheck::NoCertificate).Focus, kEapControlCount);
    EXPECT_STREQ(EapCheckMessageOf(EapCheck::NoCertificate).Key, "ErSelCert");
}

TEST(EapRules, ForwardLeaveStoresTheCertificateByTypeAndTheTrimmedTextsCutToTheirFields) {
    CertificateEntry cert = Entry("Corp CA", "Corp Root");
    for (int32_t type : {kEapTLS, kEapTTLS, kEapPEAP}) {
        WLProfile p;
        SetTextField(p.sCertificate, "old");
        SetTextField(p.sCertAuthority_Issuer, "old");
        EapChoice choice;
        choice.Type = type;
        choice.Certificate = &cert;
        choice.Entries = {" \tbob ", " pass word\r\n", std::string(300, 'd'), true};
        StoreEapChoice(p, choice, false);
        bool tls = type == kEapTLS;
        EXPECT_EQ(TextField(p.sCertificate) + "|" + TextField(p.sCertificate_Issuer) + "/" +
                      TextField(p.sCertAuthority) + "|" + TextField(p.sCertAuthority_Issuer),
                  tls ? "Corp CA|Corp Root/|" : "|/Corp CA|Corp Root")
            << type;
        EXPECT_EQ(TextField(p.LoginName) + "|" + TextField(p.LoginPassword), "bob|pass word");
        EXPECT_EQ(TextField(p.DomainName), std::string(259, 'd')) << "cut to the field";
    }
}
