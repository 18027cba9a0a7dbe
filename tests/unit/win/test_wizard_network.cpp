// The wizard's IP settings page on a shown window with the stand-in driver library: what it
// loads from EditProfile, what the user's clicks and keys do, what Next stores and Back does
// not, and the refusal of a static choice without a whole address or mask.
#include <array>
#include <cstring>
#include <string>
#include <vector>

#include "Screenshot.h"
#include "TempDir.h"
#include "UserInput.h"
#include "core/Uvyxwllib.h"
#include "monitor/Uformmessage.h"
#include "test_forms_fixture.h"
#include "wizard/Uframenetwork.h"

namespace formstest {
namespace {

using userinput::Click;
using userinput::ClickCentre;
using userinput::Type;

using Address = std::array<uint8_t, 4>;

// The five addresses of a NetworkInfo, in the page's order.
struct Addresses {
    Address Ip, Mask, Gateway, Dns1, Dns2;
    bool operator==(const Addresses& o) const {
        return Ip == o.Ip && Mask == o.Mask && Gateway == o.Gateway && Dns1 == o.Dns1 &&
               Dns2 == o.Dns2;
    }
};

void Put(uint8_t* field, const Address& a) {
    std::memcpy(field, a.data(), a.size());
}
Address Get(const uint8_t* field) {
    Address a;
    std::memcpy(a.data(), field, a.size());
    return a;
}

void PutAll(NetworkInfo& info, const Addresses& a) {
    Put(info.NI_IpAddr, a.Ip);
    Put(info.NI_IpMask, a.Mask);
    Put(info.NI_IpGate1, a.Gateway);
    Put(info.NI_IpDNS1, a.Dns1);
    Put(info.NI_IpDNS2, a.Dns2);
}
Addresses GetAll(const NetworkInfo& info) {
    return {Get(info.NI_IpAddr), Get(info.NI_IpMask), Get(info.NI_IpGate1), Get(info.NI_IpDNS1),
            Get(info.NI_IpDNS2)};
}

const Addresses kOffice = {
    {192, 168, 1, 20}, {255, 255, 255, 0}, {192, 168, 1, 1}, {192, 168, 1, 2}, {8, 8, 4, 4}};
const Addresses kNone = {};

class IPSettingsPage : public FormsTest {
protected:
    void SetUp() override {
        FormsTest::SetUp();
        userinput::ParkCursor();
        root_ = "IPPage" + std::to_string(GetCurrentProcessId());
        trace_ = dir_.File("calls.trace");
        scenario_ = dir_.File("VYXWL.scn");
        TempDir::WriteFile(scenario_, "[Trace]\r\nFile=" + trace_ + "\r\n");
        SetEnvironmentVariableA("VYXWL_SCENARIO", scenario_.c_str());
        ASSERT_TRUE(DriverLib.LoadDriverLib(BinDir() + "VYXWL.DLL", root_));
        ipToText_ = DriverLib.VYXWL_IPDataToStr;

        FAGlobalVar.EditProfile = WLProfile{};
        form_ = NewForm<TForm>(Application);
        form_->SetBounds(60, 60, 572, 219);
        page_ = new TFrameNetwork(form_);
        page_->Name = "FrameNetwork1";
        page_->SetParent(form_);
        page_->InitPage();
        page_->Show();
        form_->Show();
        SetForegroundWindow(form_->Handle());
        UpdateWindow(form_->Handle());
    }
    void TearDown() override {
        form_->Free();
        DriverLib.VYXWL_IPDataToStr = ipToText_;
        DriverLib.UnloadDriverLib();
        SetEnvironmentVariableA("VYXWL_SCENARIO", nullptr);
        DeleteRegistryTree(HKEY_CURRENT_USER, "SoftWare\\" + root_);
        FormsTest::TearDown();
    }

    NetworkInfo& Info() { return FAGlobalVar.EditProfile.NetworkInfo; }
    // EditProfile with these addresses and flags, the page entered forward.
    void Enter(const Addresses& a, uint16_t flags) {
        PutAll(Info(), a);
        Info().NI_wNetFlags = flags;
        ASSERT_TRUE(page_->EnterPage(nullptr, kPageForward, WizardModeNew));
    }
    std::vector<std::string> Texts() const {
        std::vector<std::string> texts;
        for (TFrameIP* f : Frames()) texts.push_back(f->GetIPText());
        return texts;
    }
    std::vector<TFrameIP*> Frames() const {
        return {page_->FmIPIP, page_->FmIPMask, page_->FmIPGateway, page_->FmIPDNS1,
                page_->FmIPDNS2};
    }
    bool AllEnabled(bool enabled) const {
        for (TFrameIP* f : Frames())
            if (f->Enabled() != enabled || f->EditIP1->Enabled() != enabled ||
                f->ImgBG->Visible() != enabled)
                return false;
        return true;
    }
    bool Next() { return page_->LeavePage(nullptr, kPageForward, WizardModeNew); }
    // The focus put into an octet by a click, the caret after its text.
    void ClickInto(TEdit* edit) {
        Click(edit, edit->Width() - 1, edit->Height() / 2);
        ASSERT_TRUE(PumpUntil([edit] { return edit->Focused(); }));
        edit->SetSelStart(static_cast<int>(edit->Text().size()));
    }
    // Next refused: the message the dialog showed (answered with its OK button), or "" when
    // none showed.
    std::string RefusedNext() {
        std::string shown;
        OneShot answer(30, [&] {
            auto* dialog = dynamic_cast<TFormMessage*>(TWinControl::FromHandle(GetActiveWindow()));
            if (!dialog) return;
            shown = dialog->LbMsg->Caption();
            dialog->BtnOk->Click();
        });
        EXPECT_FALSE(Next());
        return shown;
    }
    std::string Trace() const { return TempDir::ReadFile(trace_); }

    TempDir dir_;
    std::string root_, trace_, scenario_;
    vyxwl::IPDataToStr ipToText_ = nullptr;
    TForm* form_ = nullptr;
    TFrameNetwork* page_ = nullptr;
};

}  // namespace

TEST_F(IPSettingsPage, StaticProfileLoadsEnabledAndNextWritesItBack) {
    EXPECT_FALSE(page_->RBtnDHCP->Checked());
    EXPECT_FALSE(page_->RBtnIP->Checked());
    Enter(kOffice, 0x1 | 0x8 | 0x100);
    EXPECT_TRUE(page_->RBtnIP->Checked());
    EXPECT_FALSE(page_->RBtnDHCP->Checked());
    EXPECT_EQ(Texts(), (std::vector<std::string>{"192.168.1.20", "255.255.255.0", "192.168.1.1",
                                                 "192.168.1.2", "8.8.4.4"}));
    EXPECT_TRUE(AllEnabled(true));
    UpdateWindow(form_->Handle());
    SaveScreenshot(form_->Handle(), "wizard_ip_static");

    PutAll(Info(), kNone);
    ASSERT_TRUE(Next());
    EXPECT_EQ(GetAll(Info()), kOffice);
    EXPECT_EQ(FAGlobalVar.EditProfile.ApplyNetwork, 1);
    EXPECT_EQ(Info().NI_wNetFlags, 0x1 | 0x2 | 0x4 | 0x8 | 0x100);  // the other bits kept
    // Both conversions went to the library as pure calls, with the dotted texts.
    std::string trace = Trace();
    EXPECT_NE(trace.find("VYXWL_IPDataToStr(192.168.1.20)"), std::string::npos) << trace;
    EXPECT_NE(trace.find("VYXWL_StrToIPData(\"8.8.4.4\")"), std::string::npos) << trace;
}

TEST_F(IPSettingsPage, DHCPProfileEmptiesTheFramesOnceAndKeepsTheStoredOnesLater) {
    // First entry: the button changes state, so the frames just loaded are emptied.
    Enter(kOffice, 0x8);
    EXPECT_TRUE(page_->RBtnDHCP->Checked());
    EXPECT_EQ(Texts(), std::vector<std::string>(5, ""));
    EXPECT_TRUE(AllEnabled(false));
    UpdateWindow(form_->Handle());
    SaveScreenshot(form_->Handle(), "wizard_ip_dhcp");
    ASSERT_TRUE(Next());
    EXPECT_EQ(GetAll(Info()), kNone);  // empty frames are empty texts: 0.0.0.0
    EXPECT_EQ(Info().NI_wNetFlags, 0x8);
    EXPECT_EQ(FAGlobalVar.EditProfile.ApplyNetwork, 1);

    // A later entry with DHCP still chosen shows the stored addresses, disabled, and Next
    // stores them back as they were.
    Enter(kOffice, 0x7 & ~0x1);
    EXPECT_EQ(Texts()[0], "192.168.1.20");
    EXPECT_EQ(Texts()[4], "8.8.4.4");
    EXPECT_TRUE(AllEnabled(false));
    UpdateWindow(form_->Handle());
    SaveScreenshot(form_->Handle(), "wizard_ip_dhcp_stored");
    ASSERT_TRUE(Next());
    EXPECT_EQ(GetAll(Info()), kOffice);
    EXPECT_EQ(Info().NI_wNetFlags, 0);  // bits 1 and 2 go with bit 0
}

TEST_F(IPSettingsPage, ClicksSwitchBetweenDHCPAndStatic) {
    Enter(kOffice, 0x1);
    // DHCP by its label: all five frames empty at once, disabled.
    ClickCentre(page_->LbDHCP);
    ASSERT_TRUE(PumpUntil([&] { return page_->RBtnDHCP->Checked(); }));
    EXPECT_FALSE(page_->RBtnIP->Checked());
    EXPECT_EQ(Texts(), std::vector<std::string>(5, ""));
    EXPECT_TRUE(AllEnabled(false));
    // Static again by its radio button: still empty, now enabled.
    ClickCentre(page_->RBtnIP);
    ASSERT_TRUE(PumpUntil([&] { return page_->RBtnIP->Checked(); }));
    EXPECT_FALSE(page_->RBtnDHCP->Checked());
    EXPECT_EQ(Texts(), std::vector<std::string>(5, ""));
    EXPECT_TRUE(AllEnabled(true));
    // A click on the checked button changes nothing.
    page_->FmIPDNS2->SetIPText("1.1.1.1");
    ClickCentre(page_->LbIP);
    ClickCentre(page_->ImgBG);  // gives the page the focus
    ASSERT_TRUE(PumpUntil([&] { return page_->Focused(); }));
    EXPECT_EQ(page_->FmIPDNS2->GetIPText(), "1.1.1.1");
    EXPECT_TRUE(AllEnabled(true));
}

TEST_F(IPSettingsPage, TypedAddressAndTheMaskItProposes) {
    struct Case {
        const char* typed;
        const char* mask;
    };
    // The first octet's boundaries are the rules' tests; here the page and its frames.
    const std::vector<Case> cases = {{"127.0.0.1", "255.0.0.0"}, {"192.168.1.20", "255.255.255.0"}};
    Enter(kNone, 0x1);
    // Cleared with the focus outside the frames: leaving a frame makes its empty octets 0.
    auto clear = [&] {
        page_->RBtnIP->SetFocus();
        for (TFrameIP* f : Frames()) f->SetIPText("");
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.typed);
        clear();
        ClickInto(page_->FmIPIP->EditIP1);
        Type(c.typed);
        ASSERT_TRUE(PumpUntil([&] { return page_->FmIPIP->GetIPText() == c.typed; }));
        // Entering the mask frame fills it from the first octet.
        ClickInto(page_->FmIPMask->EditIP2);
        EXPECT_EQ(page_->FmIPMask->GetIPText(), c.mask);
    }
    // A mask already there is never replaced; without an address nothing is proposed.
    page_->FmIPMask->SetIPText("255.255.255.252");
    ClickInto(page_->FmIPGateway->EditIP1);
    ClickInto(page_->FmIPMask->EditIP1);
    EXPECT_EQ(page_->FmIPMask->GetIPText(), "255.255.255.252");
    clear();
    ClickInto(page_->FmIPMask->EditIP3);  // not where the last click was: no double click
    EXPECT_EQ(page_->FmIPMask->GetIPText(), "");

    // What was typed is what Next stores.
    page_->FmIPIP->SetIPText("10.1.2.3");
    page_->FmIPMask->SetIPText("255.0.0.0");
    ASSERT_TRUE(Next());
    EXPECT_EQ(Get(Info().NI_IpAddr), (Address{10, 1, 2, 3}));
    EXPECT_EQ(Get(Info().NI_IpMask), (Address{255, 0, 0, 0}));
    EXPECT_EQ(Get(Info().NI_IpGate1), (Address{0, 0, 0, 0}));
}

TEST_F(IPSettingsPage, BackStoresNothing) {
    Enter(kOffice, 0x1);
    WLProfile before = FAGlobalVar.EditProfile;
    page_->RBtnDHCP->SetChecked(true);
    page_->PrevPage = page_;
    EXPECT_TRUE(page_->LeavePage(nullptr, kPageBack, WizardModeNew));
    EXPECT_EQ(std::memcmp(&before, &FAGlobalVar.EditProfile, sizeof(WLProfile)), 0);
    EXPECT_EQ(page_->PrevPage, nullptr);
}

TEST_F(IPSettingsPage, StaticChoiceNeedsAWholeAddressAndMask) {
    Enter(kNone, 0x1);
    WLProfile before = FAGlobalVar.EditProfile;

    // Three octets typed and Next: refused, the missing octet focused, nothing stored.
    ClickInto(page_->FmIPIP->EditIP1);
    Type("192.168.1.");
    ASSERT_TRUE(PumpUntil([&] { return page_->FmIPIP->EditIP4->Focused(); }));
    page_->FmIPMask->SetIPText("255.255.255.0");
    EXPECT_EQ(RefusedNext(), "The IP address is incomplete. Please enter all four numbers.");
    EXPECT_TRUE(page_->FmIPIP->EditIP4->Focused());
    EXPECT_EQ(std::memcmp(&before, &FAGlobalVar.EditProfile, sizeof(WLProfile)), 0);

    // A whole address, no mask: the string file's text; focusing the mask proposes one, and
    // Next then goes on with it.
    SetText("ErMsg", "ErSubnetMask", "Mask, please.");
    page_->FmIPMask->SetIPText("");
    Type("20");
    ASSERT_TRUE(PumpUntil([&] { return page_->FmIPIP->EditIP4->Text() == "20"; }));
    EXPECT_EQ(RefusedNext(), "Mask, please.");
    EXPECT_TRUE(page_->FmIPMask->EditIP1->Focused());
    EXPECT_EQ(page_->FmIPMask->GetIPText(), "255.255.255.0");
    ASSERT_TRUE(Next());
    EXPECT_EQ(Get(Info().NI_IpAddr), (Address{192, 168, 1, 20}));
    EXPECT_EQ(Get(Info().NI_IpMask), (Address{255, 255, 255, 0}));

    // An octet not left yet counts as leaving would make it: a pasted "-5" is 0, not a reason
    // to store 0.0.0.0; 300 is 255.
    page_->FmIPIP->SetIPText("10.1.1.300");
    page_->FmIPIP->EditIP2->SelectAll();
    ASSERT_TRUE(userinput::Paste(page_->FmIPIP->EditIP2->Handle(), "-5"));
    ASSERT_TRUE(Next());
    EXPECT_EQ(page_->FmIPIP->GetIPText(), "10.0.1.255");
    EXPECT_EQ(Get(Info().NI_IpAddr), (Address{10, 0, 1, 255}));

    // DHCP is never refused.
    page_->RBtnDHCP->SetChecked(true);
    EXPECT_TRUE(Next());
}

// A library that writes an address only for some calls: the frames of the others stay empty
// rather than showing the address converted before them.
int32_t VYXWL_API FirstOnlyToText(const uint8_t* address, char* text) {
    if (address != FAGlobalVar.EditProfile.NetworkInfo.NI_IpAddr) return 0;
    std::strcpy(text, "192.168.1.20");
    return 1;
}

TEST_F(IPSettingsPage, AFailedConversionShowsNothing) {
    DriverLib.VYXWL_IPDataToStr = &FirstOnlyToText;
    Enter(kOffice, 0x1);
    EXPECT_EQ(Texts(), (std::vector<std::string>{"192.168.1.20", "", "", "", ""}));
}

}  // namespace formstest
