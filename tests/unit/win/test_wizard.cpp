// The profile wizard driven as a user drives it: real clicks on its buttons, its list and its
// labels, typing into its edits, answers to its messages; then what the profile page was asked
// to store, what the adapter was told, and what the window shows.
#include <cstring>

#include "test_wizard_fixture.h"
#include "tests/e2e/E2e.h"

namespace wizardtest {
namespace {

using mainwin::kAdapter;
using mainwin::kNetworks;
using mainwin::PumpUntil;

// An ad hoc WEP cell at -70 dBm (50 %) on channel 11.
constexpr char kZeta[] =
    "[Network3]\r\nSSID=Zeta\r\nMAC=00:A0:C5:00:00:01\r\nFrequency=2462000\r\nRSSI=-70\r\n"
    "Privacy=1\r\nMode=0\r\nBand=1\r\n";

const char kOffice[] = "Office|6|90%|WPA-PSK|00:A0:C5:11:22:33 #4";
const char kLobby[] = "Lobby|1|70%|Disabled|00:A0:C5:44:55:66 #1";
const char kZetaRow[] = "Zeta|11|50%|WEP|00:A0:C5:00:00:01 #10";

// Stands in for the quick connect dialog: offers itself for the kinds it is told, and answers
// as the test says.
class FakeConnectSet : public TFormBase {
public:
    explicit FakeConnectSet(TComponent* owner) : TFormBase(owner) {}
    bool PrepareForm(int method) override {
        Asked.push_back(method);
        return Offer;
    }
    std::vector<int> Asked;
    bool Offer = true;
};

bool SameProfile(const WLProfile& a, const WLProfile& b) {
    return std::memcmp(&a, &b, sizeof(a)) == 0;
}

}  // namespace

TEST_F(Wizard, NetworkListShowsRowsStrongestFirstAndSortsByEachHeader) {
    Scenario(std::string(kAdapter) + kNetworks + kZeta);
    Start();
    TFrameWlNetwork* list = wizard_->FrameWlNetwork1;
    using Order = std::vector<std::string>;
    std::vector<Order> orders;
    std::string strip;
    bool searching = false;
    Script s;
    s.Then("searching", [&] { return searching = list->PanelSearching->Visible(); })
        .Then(
            "list filled",
            [&] { return list->LvSite->Items()->Count() == 3 && !list->PanelSearching->Visible(); })
        .Do("read",
            [&] {
                orders.push_back(Rows());
                strip = Strip();
            })
        .Then("shot", Shot("wizard_network_list"));
    // Each header in turn; the same one twice turns the direction round. Every click lands
    // elsewhere, so two are never one double click.
    int x = 14;
    for (TQXImage* header : {list->ImgSignal, list->ImgSSID, list->ImgSecurity, list->ImgMAC,
                             list->ImgCh, list->ImgCh}) {
        s.Then("header", ClickAt(header, x = 18 - x))
            .Then("sorted again", [&] { return Rows() != orders.back(); })
            .Do("read", [&] { orders.push_back(Rows()); });
    }
    s.Then("exit", Press(wizard_->BtnExit));
    EXPECT_EQ(Run(WizardModeFirstRun, s), mrCancel);
    EXPECT_TRUE(searching) << "the scan of the first entry is awaited";
    EXPECT_EQ(orders, (std::vector<Order>{
                          {kOffice, kLobby, kZetaRow},  // strongest first
                          {kZetaRow, kLobby, kOffice},  // signal again: weakest first
                          {kLobby, kOffice, kZetaRow},  // SSID, the direction kept
                          {kLobby, kZetaRow, kOffice},  // security word
                          {kZetaRow, kOffice, kLobby},  // MAC bytes
                          {kLobby, kOffice, kZetaRow},  // channel
                          {kZetaRow, kOffice, kLobby},  // channel again: descending
                      }));
    EXPECT_EQ(strip, "BtnExit@414 BtnManual@471");
    EXPECT_TRUE(page_->Stored.empty());
}

TEST_F(Wizard, NewProfileForAnOpenNetworkIsSavedThenConnected) {
    Start();
    FAGlobalVar.EditProfile = FAGlobalVar.DefaultProfile;
    SetTextField(FAGlobalVar.EditProfile.ProfileName, "Hall");
    TFormProfSet* w = wizard_;
    std::vector<std::string> strips, securities;
    std::string ssid;
    bool infra = false;
    auto strip = [&] {
        strips.push_back(Strip());
        return true;
    };
    Script s;
    s.Then("list filled", [&] { return w->FrameWlNetwork1->LvSite->Items()->Count() == 2; })
        .Then("pick", ClickRow("Lobby"))
        .Then("picked", [&] { return w->FrameWlNetwork1->LvSite->Selected() != nullptr; })
        .Then("manual", Press(w->BtnManual))
        .Then("network type", OnPage(w->FrameNetType1))
        .Then("strip", strip)
        .Do("read",
            [&] {
                ssid = w->FrameNetType1->EdtSSID->Text();
                infra = w->FrameNetType1->RBtnInfra->Checked();
            })
        .Then("shot", Shot("wizard_network_type"))
        .Then("next", Press(w->BtnNext))
        .Then("security type", OnPage(w->FrameSecurity1))
        .Then("strip", strip)
        .Do("read", [&] { securities = Captions(w->FrameSecurity1->CmbSecurity); })
        .Then("shot", Shot("wizard_security_type"))
        // Back goes to the page it came from, the channel page skipped.
        .Then("back", Press(w->BtnBack))
        .Then("network type again", OnPage(w->FrameNetType1))
        .Then("next", Press(w->BtnNext))
        .Then("security type again", OnPage(w->FrameSecurity1))
        .Then("next", Press(w->BtnNext))
        .Then("summary", OnPage(w->FrameConfirm1))
        .Then("strip", strip)
        .Then("shot", Shot("wizard_summary"))
        .Then("save", Press(w->BtnSave))
        .Then("finish page", [&] { return w->FinishShown(); })
        .Then("strip", strip)
        .Then("shot", Shot("wizard_finish"))
        .Then("connect", Press(w->BtnConnectNet));
    EXPECT_EQ(Run(WizardModeNew, s), mrOk);

    EXPECT_EQ(ssid, "Lobby");
    EXPECT_TRUE(infra);
    EXPECT_EQ(securities,
              (std::vector<std::string>{"Disabled", "WEP", "WPA-PSK", "WPA", "RADIUS"}));
    EXPECT_EQ(strips, (std::vector<std::string>{
                          "BtnBack@461 BtnNext@518",
                          "BtnBack@461 BtnNext@518",
                          "BtnExit@404 BtnBack@461 BtnSave@518",
                          "BtnToProfScr@389 BtnConnectNet@482",
                      }));
    // Stored once, as new, with the network's settings under the name the caller gave.
    ASSERT_EQ(page_->Stored.size(), 1u);
    EXPECT_EQ(journal_.Count(mainwin::StoredLine(WizardModeNew)), 1u);
    const WLProfile& p = page_->Stored[0];
    EXPECT_EQ(TextField(p.ProfileName), "Hall");
    EXPECT_EQ(TextField(p.Ssid1), "Lobby");
    EXPECT_EQ(p.NetworkMode, 1);
    EXPECT_EQ(p.EncryptionMethod, 0);
    EXPECT_EQ(p.ApplyNetwork, 0) << "no IP settings page on this Windows";
    // Connect: the link information page asked for, the profile applied by name over the
    // wizard with the progress dialog.
    ASSERT_TRUE(PumpUntil([&] { return journal_.Count("info back") == 1; }));
    ASSERT_EQ(progress_.size(), 1u);
    EXPECT_EQ(progress_[0].first, wizard_);
    EXPECT_EQ(progress_[0].second, 20000);
    EXPECT_TRUE(PumpUntil(
        [&] { return Trace().find("VYXWL_SetWLANStatus(\"Lobby\"") != std::string::npos; }));
}

TEST_F(Wizard, AdHocProfileOnWindowsSixPassesTheIpAndChannelPagesAndRetracesBack) {
    Configure("", 6);
    Scenario(std::string(kAdapter) + kNetworks + "[Channels.FCC]\r\nBand1=1-11\r\nBand4=1-13\r\n");
    Start();
    FAGlobalVar.EditProfile = FAGlobalVar.DefaultProfile;
    SetTextField(FAGlobalVar.EditProfile.ProfileName, "Cell");
    TFormProfSet* w = wizard_;
    TFrameNetType* type = w->FrameNetType1;
    TFrameChannel* channel = w->FrameChannel1;
    std::string message;
    bool ssidFocused = false;
    std::vector<std::string> modes, bandOne, bandFour, backs, strips;
    std::vector<std::string> summary;
    Script s;
    s.Then("list filled", [&] { return w->FrameWlNetwork1->LvSite->Items()->Count() == 2; })
        // no network picked: the caller's profile goes on
        .Then("manual", Press(w->BtnManual))
        .Then("ip settings", OnPage(w->FrameNetwork1))
        .Do("strip", [&] { strips.push_back(Strip()); })
        // a static address, typed; the mask proposed as the mask frame takes the focus
        .Then("static", Click(w->FrameNetwork1->LbIP))
        .Then("checked", [&] { return w->FrameNetwork1->RBtnIP->Checked(); })
        .Then("into the address", Click(w->FrameNetwork1->FmIPIP->EditIP1))
        .Do("type", [&] { userinput::Type("192.168.5.9"); })
        .Then("typed", [&] { return w->FrameNetwork1->FmIPIP->GetIPText() == "192.168.5.9"; })
        .Then("into the mask", Click(w->FrameNetwork1->FmIPMask->EditIP1))
        .Then("proposed",
              [&] { return w->FrameNetwork1->FmIPMask->GetIPText() == "255.255.255.0"; })
        .Then("shot", Shot("wizard_ip_settings"))
        .Then("next", Press(w->BtnNext))
        .Then("network type", OnPage(type))
        .Then("ad hoc", Click(type->LbAdHoc))
        .Then("checked", [&] { return type->RBtnAdHoc->Checked() && !type->RBtnInfra->Checked(); })
        .Then("into the SSID", Click(type->EdtSSID))
        .Do("empty it",
            [&] {
                userinput::Key(VK_END, false);
                userinput::Key(VK_END, true);
                for (int i = 0; i < 3; ++i) {
                    userinput::Key(VK_BACK, false);
                    userinput::Key(VK_BACK, true);
                }
            })
        .Then("emptied", [&] { return type->EdtSSID->Text().empty(); })
        .Then("next", Press(w->BtnNext))
        .Then("message", AnswerMessage(&message))
        .Then("kept", [&] { return !FindWindowA("TFormMessage", nullptr); })
        .Do("focus", [&] { ssidFocused = type->EdtSSID->Focused(); })
        .Then("into the SSID again", Click(type->EdtSSID))
        .Do("type", [&] { userinput::Type("  Cell "); })
        .Then("typed", [&] { return type->EdtSSID->Text() == "  Cell "; })
        .Then("next", Press(w->BtnNext))
        .Then("channel", OnPage(channel))
        .Do("read",
            [&] {
                modes = Captions(channel->CmbMode);
                bandOne = Captions(channel->CmbChannel);
                bandOne.push_back("selected " + channel->CmbChannel->Items()->Strings(
                                                    channel->CmbChannel->ItemIndex()));
                strips.push_back(Strip());
            })
        .Then("shot", Shot("wizard_channel"))
        // G-Only, as the keyboard picks it
        .Do("mode",
            [&] {
                channel->CmbMode->SetFocus();
                userinput::Key(VK_DOWN, false);
                userinput::Key(VK_DOWN, true);
            })
        .Then("band 4 listed", [&] { return channel->CmbChannel->Items()->Count() == 13; })
        .Do("read",
            [&] {
                bandFour.push_back("selected " + channel->CmbChannel->Items()->Strings(
                                                     channel->CmbChannel->ItemIndex()));
                channel->CmbChannel->SetFocus();
                userinput::Key(VK_END, false);
                userinput::Key(VK_END, true);
            })
        .Then("channel 13", [&] { return channel->CmbChannel->ItemIndex() == 12; })
        .Then("next", Press(w->BtnNext))
        .Then("security", OnPage(w->FrameSecurity1))
        .Then("shot", Shot("wizard_security_adhoc"))
        .Do("wep",
            [&] {
                modes.push_back("security " +
                                std::to_string(w->FrameSecurity1->CmbSecurity->Items()->Count()));
                w->FrameSecurity1->CmbSecurity->SetFocus();
                userinput::Key(VK_DOWN, false);
                userinput::Key(VK_DOWN, true);
            })
        .Then("wep chosen", [&] { return w->FrameSecurity1->CmbSecurity->ItemIndex() == 1; })
        .Then("next", Press(w->BtnNext))
        .Then("wep page", OnPage(w->FrameWEP1))
        .Do("key",
            [&] {
                w->FrameWEP1->EdtKey1->SetFocus();
                userinput::Type("0123456789");
            })
        .Then("typed", [&] { return w->FrameWEP1->EdtKey1->Text() == "0123456789"; })
        .Then("next", Press(w->BtnNext))
        .Then("summary", OnPage(w->FrameConfirm1))
        .Do("read", [&] { summary = Summary(); })
        .Then("shot", Shot("wizard_summary_adhoc"));
    // Back retraces every page visited, the IP settings page included.
    for (TPropertyPageFrame* page :
         {static_cast<TPropertyPageFrame*>(w->FrameWEP1),
          static_cast<TPropertyPageFrame*>(w->FrameSecurity1),
          static_cast<TPropertyPageFrame*>(channel), static_cast<TPropertyPageFrame*>(type),
          static_cast<TPropertyPageFrame*>(w->FrameNetwork1),
          static_cast<TPropertyPageFrame*>(w->FrameWlNetwork1)}) {
        s.Then("back", Press(w->BtnBack)).Then("page", OnPage(page)).Do("note", [&, page] {
            backs.push_back(page->Name);
        });
    }
    s.Then("exit", Press(w->BtnExit));
    EXPECT_EQ(Run(WizardModeNew, s), mrCancel);

    EXPECT_NE(message.find("In order to select an Ad-Hoc network,"), std::string::npos) << message;
    EXPECT_NE(message.find("you must enter SSID."), std::string::npos) << message;
    EXPECT_TRUE(ssidFocused);
    EXPECT_EQ(modes, (std::vector<std::string>{"Mixed Mode", "G-Only", "security 2"}));
    ASSERT_EQ(bandOne.size(), 12u);  // 1 to 11, then the one selected: the template's
    EXPECT_EQ(bandOne.back(), "selected 6");
    EXPECT_EQ(bandFour, (std::vector<std::string>{"selected 6"}));
    EXPECT_EQ(summary,
              (std::vector<std::string>{"Cell", "Ad-Hoc", "13", "G-Only", "WEP(64-bit)",
                                        "Auto Switch", "192.168.5.9", "255.255.255.0", "", ""}));
    EXPECT_EQ(strips,
              (std::vector<std::string>{"BtnBack@461 BtnNext@518", "BtnBack@461 BtnNext@518"}));
    EXPECT_EQ(backs,
              (std::vector<std::string>{"FrameWEP1", "FrameSecurity1", "FrameChannel1",
                                        "FrameNetType1", "FrameNetwork1", "FrameWlNetwork1"}));
    // What the pages stored on the way; Back stores nothing, Exit stores nothing.
    const WLProfile& p = FAGlobalVar.EditProfile;
    EXPECT_EQ(TextField(p.Ssid1), "Cell");
    EXPECT_EQ(p.NetworkMode, 0);
    EXPECT_EQ(p.Channel, 13);
    EXPECT_EQ(p.ABGMode, kModeGOnly);
    EXPECT_EQ(p.EncryptionMethod, 1);
    EXPECT_EQ(TextField(p.WEPKey1), "0123456789");
    EXPECT_EQ(p.NetworkInfo.NI_wNetFlags & 1, 1);
    EXPECT_EQ(p.ApplyNetwork, 1);
    EXPECT_TRUE(page_->Stored.empty());
}

TEST_F(Wizard, SaveThatTheStoreRefusesStaysOnTheSummaryWithAMessage) {
    Configure("", 7, "[ErMsg]\r\nErSaveProfile=Not stored here\r\n");
    Start();
    FAGlobalVar.EditProfile = FAGlobalVar.DefaultProfile;
    page_->StoreAnswer = false;
    TFormProfSet* w = wizard_;
    std::string message;
    bool stayed = false;
    Script s;
    ToSummary(s);
    s.Then("save", Press(w->BtnSave))
        .Then("message", AnswerMessage(&message))
        .Then("answered", [&] { return !FindWindowA("TFormMessage", nullptr); })
        .Do("read",
            [&] {
                stayed = w->CurrentPage() == w->FrameConfirm1 && !w->FinishShown() &&
                         w->BtnSave->Visible();
                page_->StoreAnswer = true;
            })
        .Then("save again", Press(w->BtnSave))
        .Then("finish", [&] { return w->FinishShown(); })
        .Then("to profiles", Press(w->BtnToProfScr));
    EXPECT_EQ(Run(WizardModeEdit, s), mrOk);
    EXPECT_EQ(message, "Not stored here");
    EXPECT_TRUE(stayed);
    EXPECT_EQ(journal_.Count(mainwin::StoredLine(WizardModeEdit)), 2u);
    // To profiles: the profile page asked for, nothing applied.
    EXPECT_TRUE(PumpUntil([&] { return journal_.Count("profile enter 0 0") == 1; }));
    EXPECT_TRUE(progress_.empty());
}

// An edited profile keeps what no page shows: a band the system start would refuse is stored,
// but Connect tells the user and applies nothing, and the finish page stays.
TEST_F(Wizard, ConnectWithAProfileThatCannotBeUsedTellsTheUserAndAppliesNothing) {
    Configure("", 7, "[ErMsg]\r\nErUseProfile=\"%s\" cannot be used\r\n");
    Start();
    FAGlobalVar.EditProfile = mainwin::Profile("Home", "Home");
    FAGlobalVar.EditProfile.AdHocBand = 5;
    TFormProfSet* w = wizard_;
    std::string message;
    bool stayed = false;
    Script s;
    ToSummary(s, true);
    s.Then("connect", Press(w->BtnConnectNet))
        .Then("message", AnswerMessage(&message))
        .Then("answered", [&] { return !FindWindowA("TFormMessage", nullptr); })
        .Do("read", [&] { stayed = w->FinishShown() && w->BtnConnectNet->Visible(); })
        .Then("to profiles", Press(w->BtnToProfScr));
    EXPECT_EQ(Run(WizardModeEdit, s), mrOk);
    EXPECT_EQ(message, "\"Home\" cannot be used");
    EXPECT_TRUE(stayed);
    ASSERT_EQ(page_->Stored.size(), 1u);
    EXPECT_EQ(page_->Stored[0].AdHocBand, 5);
    EXPECT_TRUE(progress_.empty());
    EXPECT_TRUE(PumpUntil([&] { return journal_.Count("profile enter 0 0") == 1; }));
    EXPECT_EQ(journal_.Count("info back"), 0u);
    EXPECT_EQ(Trace().find("VYXWL_SetWLANStatus("), std::string::npos) << Trace();
}

TEST_F(Wizard, EditedProfileKeepsItsSettingsUnlessConnectGoesOn) {
    WLProfile home = mainwin::Profile("Home", "Home");
    StoreInLibrary(home);
    Start();
    TAutoFree<FakeConnectSet> dialog(NewForm<FakeConnectSet>(Application));
    form_->ConnectSetForm = dialog.get();
    FAGlobalVar.EditProfile = home;
    TFormProfSet* w = wizard_;
    TFrameWlNetwork* list = w->FrameWlNetwork1;
    std::string nextSsid;
    bool keptAfterCancel = false, networkInDialog = false, wizardHidden = false;
    auto answer = [&](int result) {
        return [&, result] {
            if (!dialog->Visible()) return false;
            networkInDialog = TextField(FAGlobalVar.EditProfile.Ssid1) == "Office";
            wizardHidden = !w->Visible();
            dialog->SetModalResult(result);
            return true;
        };
    };
    Script s;
    s.Then("list filled", [&] { return list->LvSite->Items()->Count() == 2; })
        .Then("pick", ClickRow("Office"))
        .Then("picked", [&] { return list->BtnConnect->Enabled(); })
        // Next in the edit mode takes nothing of the network.
        .Then("next", Press(w->BtnManual))
        .Then("network type", OnPage(w->FrameNetType1))
        .Do("read", [&] { nextSsid = w->FrameNetType1->EdtSSID->Text(); })
        .Then("back", Press(w->BtnBack))
        .Then("list", OnPage(list))
        .Then("still picked", [&] { return list->LvSite->Selected() != nullptr; })
        .Then("connect", Click(list->BtnConnect))
        .Then("cancel", answer(mrCancel))
        .Then("shown again", [&] { return w->Visible() && !dialog->Visible(); })
        .Do("read", [&] { keptAfterCancel = SameProfile(FAGlobalVar.EditProfile, home); })
        .Then("connect", Click(list->BtnConnect))
        .Then("connect in the dialog", answer(mrOk));
    EXPECT_EQ(Run(WizardModeEdit, s), mrOk);
    EXPECT_EQ(nextSsid, "Home");
    EXPECT_TRUE(networkInDialog);
    EXPECT_TRUE(wizardHidden) << "the dialog runs in the wizard's place";
    EXPECT_TRUE(keptAfterCancel) << "Cancel leaves the edited profile as it was";
    EXPECT_EQ(dialog->Asked, (std::vector<int>{2, 2}));
    // The network's settings under the edited profile's name, replacing it, then applied.
    ASSERT_EQ(page_->Stored.size(), 1u);
    EXPECT_EQ(journal_.Count(mainwin::StoredLine(WizardModeEdit)), 1u);
    EXPECT_EQ(TextField(page_->Stored[0].ProfileName), "Home");
    EXPECT_EQ(TextField(page_->Stored[0].Ssid1), "Office");
    EXPECT_EQ(page_->Stored[0].EncryptionMethod, 2);
    ASSERT_EQ(progress_.size(), 1u);
    EXPECT_EQ(progress_[0].first, wizard_);
    EXPECT_TRUE(PumpUntil([&] { return journal_.Count("info back") == 1; }));
}

TEST_F(Wizard, ConnectOnTheListStoresAndAppliesOnlyWhatWasStored) {
    Start();
    FAGlobalVar.EditProfile = FAGlobalVar.DefaultProfile;
    WLProfile before = FAGlobalVar.EditProfile;
    page_->StoreAnswer = false;
    TFormProfSet* w = wizard_;
    std::string message;
    bool restored = false, stayed = false;
    Script s;
    s.Then("list filled", [&] { return w->FrameWlNetwork1->LvSite->Items()->Count() == 2; })
        // a double click connects; no quick connect dialog: the network as it is
        .Then("double click", ClickRow("Lobby", true))
        .Then("message", AnswerMessage(&message))
        .Then("answered", [&] { return !FindWindowA("TFormMessage", nullptr); })
        .Do("read",
            [&] {
                restored = SameProfile(FAGlobalVar.EditProfile, before);
                stayed = w->Visible() && w->CurrentPage() == w->FrameWlNetwork1;
                page_->StoreAnswer = true;
            })
        .Pause(GetDoubleClickTime() + 50)
        .Then("connect", Click(w->FrameWlNetwork1->BtnConnect));
    EXPECT_EQ(Run(WizardModeFirstRun, s), mrOk);
    EXPECT_EQ(message, "The profile could not be stored.");
    EXPECT_TRUE(restored) << "a pick the store refused is not kept";
    EXPECT_TRUE(stayed);
    EXPECT_EQ(journal_.Count(mainwin::StoredLine(WizardModeFirstRun)), 2u);
    ASSERT_EQ(progress_.size(), 1u) << "applied once: after the store took it";
    EXPECT_EQ(TextField(FAGlobalVar.EditProfile.Ssid1), "Lobby");
    EXPECT_TRUE(PumpUntil([&] { return journal_.Count("info back") == 1; }));
    EXPECT_TRUE(PumpUntil(
        [&] { return Trace().find("VYXWL_SetWLANStatus(\"Lobby\"") != std::string::npos; }));
}

TEST_F(Wizard, APickedNetworkCountsOnlyFromTheListOfARunningWizard) {
    Start();
    FAGlobalVar.EditProfile = FAGlobalVar.DefaultProfile;
    TFormProfSet* w = wizard_;
    auto post = [&] { PostMessageA(w->Handle(), BroadcastMsgId, bmApplyPickedNetwork, 0); };
    // no run
    post();
    PumpUntil([] { return false; }, 100);
    Script s;
    s.Then("list filled", [&] { return w->FrameWlNetwork1->LvSite->Items()->Count() == 2; })
        // on the list, but nothing picked with Connect
        .Do("post", post)
        .Pause(100)
        .Then("manual", Press(w->BtnManual))
        .Then("network type", OnPage(w->FrameNetType1))
        .Do("post", post)
        .Pause(100)
        .Then("back", Press(w->BtnBack))
        .Then("list", OnPage(w->FrameWlNetwork1))
        .Then("exit", Press(w->BtnExit));
    EXPECT_EQ(Run(WizardModeNew, s), mrCancel);
    EXPECT_TRUE(page_->Stored.empty());
    EXPECT_TRUE(progress_.empty());
}

TEST_F(Wizard, APickedNetworkWhoseAdapterWentMeanwhileIsNeitherStoredNorKept) {
    Start();
    FAGlobalVar.EditProfile = FAGlobalVar.DefaultProfile;
    const WLProfile before = FAGlobalVar.EditProfile;
    TFormProfSet* w = wizard_;
    TFrameWlNetwork* list = w->FrameWlNetwork1;
    bool restored = false;
    Script s;
    s.Then("list filled", [&] { return list->LvSite->Items()->Count() == 2; })
        .Then("pick", ClickRow("Lobby"))
        .Then("picked", [&] { return list->BtnConnect->Enabled(); })
        // The pick is posted; the adapter is gone before the wizard reads it.
        .Do("connect, then the detach",
            [&] {
                list->BtnConnectClick(list->BtnConnect);
                w->NotifyPagesAdapterChanged(nullptr, acDetached, 0);
            })
        .Pause(150)
        .Do("read", [&] { restored = SameProfile(FAGlobalVar.EditProfile, before); })
        .Then("exit", Press(w->BtnExit));
    EXPECT_EQ(Run(WizardModeNew, s), mrCancel);
    EXPECT_TRUE(page_->Stored.empty());
    EXPECT_TRUE(progress_.empty());
    EXPECT_TRUE(restored) << "the network's settings left the profile being edited";
}

TEST_F(Wizard, UnplugOrControlOffDuringTheProgressDialogEndsTheRunCancelled) {
    for (bool unplug : {true, false}) {
        SCOPED_TRACE(unplug ? "unplug" : "control off");
        Start();
        closeThreads_ = true;
        progressMs_ = 5000;
        FAGlobalVar.EditProfile = FAGlobalVar.DefaultProfile;
        TFormProfSet* w = wizard_;
        bool duringProgress = false;
        Script s;
        ToSummary(s, true);
        s.Then("connect", Press(w->BtnConnectNet))
            // both start the close-dialogs thread, which sends its code to every window
            .Then("while applying", [&, unplug] {
                if (!FindWindowA("TFormProgress", nullptr)) return false;
                duringProgress = true;
                if (unplug) {
                    form_->DetachDevice();
                } else {
                    form_->SetUtilityEnabled(false);
                }
                return true;
            });
        EXPECT_EQ(Run(WizardModeNew, s), mrCancel);
        EXPECT_TRUE(duringProgress);
        EXPECT_EQ(progress_.size(), 1u);
        WaitForCloseThreads();
        wizard_->Free();
        wizard_ = nullptr;
        form_->Free();
        form_ = nullptr;
        progress_.clear();
        journal_.Lines.clear();
    }
}

TEST_F(Wizard, DetachOnTheFirstRunFinishPageDisablesConnectAndEndsTheRun) {
    Start();
    closeThreads_ = true;
    FAGlobalVar.EditProfile = FAGlobalVar.DefaultProfile;
    TFormProfSet* w = wizard_;
    std::string strip;
    bool disabled = false;
    Script s;
    ToSummary(s, true);
    s.Do("unplug", [&] {
        strip = Strip();
        form_->DetachDevice();
        disabled = !w->BtnConnectNet->Enabled() && !w->BtnManual->Enabled() &&
                   !w->BtnNext->Enabled() && !w->BtnSave->Enabled();
    });
    EXPECT_EQ(Run(WizardModeFirstRun, s), mrCancel);
    EXPECT_EQ(strip, "BtnConnectNet@482") << "no way to the profile page on the first run";
    EXPECT_TRUE(disabled);
    EXPECT_EQ(w->FrameWlNetwork1->LvSite->Items()->Count(), 0);
}

TEST_F(Wizard, AttachWhileTheListShowsSearchesWithoutRefresh) {
    Start(false);
    TFormProfSet* w = wizard_;
    bool searching = false, refreshBefore = true;
    Script s;
    s.Do("read", [&] { refreshBefore = w->FrameWlNetwork1->BtnRefresh->Enabled(); })
        .Then("attached", [&] { return form_->CurDevice != nullptr; })
        .Then("searching",
              [&] { return searching = w->FrameWlNetwork1->PanelSearching->Visible(); })
        .Then("list filled", [&] { return w->FrameWlNetwork1->LvSite->Items()->Count() == 2; })
        .Then("refresh", [&] { return w->FrameWlNetwork1->BtnRefresh->Enabled(); })
        .Then("exit", Press(w->BtnExit));
    EXPECT_EQ(Run(WizardModeNew, s), mrCancel);
    EXPECT_FALSE(refreshBefore);
    EXPECT_TRUE(searching);
}

TEST_F(Wizard, ShowingClosesTheInstallerFrontEndButNoWindowOfOurOwn) {
    const std::string caption = "Front End " + root_;
    struct Case {
        std::string settings;  // [Setting] lines
        std::string frontEnd;  // the title of the other program's application window
        bool closed;
    } cases[] = {
        {"WizardCaption=" + caption + "\r\n", caption, true},
        {"", "Tervalo Setup Wizard", true},  // the default title
        {"WizardCaption=" + caption + "\r\n", caption + " 2", false},
    };
    const std::string title = Application->Title();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.frontEnd);
        Configure(c.settings, 7);
        // Our own application window carries the same class and, here, the same title.
        Application->SetTitle(c.frontEnd);
        e2e::Program frontEnd(BinDir() + "test_frontend_window.exe", c.frontEnd, BinDir());
        ASSERT_TRUE(frontEnd.Started());
        ASSERT_TRUE(e2e::WaitUntil([&] {
            HWND found = nullptr;
            while ((found = FindWindowExA(nullptr, found, "TApplication", c.frontEnd.c_str()))) {
                DWORD process = 0;
                GetWindowThreadProcessId(found, &process);
                if (process == frontEnd.Id()) return true;
            }
            return false;
        }));
        // Ours first in the search.
        SetWindowPos(Application->Handle(), HWND_TOP, 0, 0, 0, 0,
                     SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
        if (!wizard_) Start();
        Script s;
        s.Then("list", OnPage(wizard_->FrameWlNetwork1))
            .Then("closed", [&] { return !c.closed || frontEnd.WaitEnd(0); })
            .Pause(c.closed ? 0 : 300)
            .Then("exit", Press(wizard_->BtnExit));
        EXPECT_EQ(Run(WizardModeNew, s), mrCancel);
        EXPECT_EQ(frontEnd.WaitEnd(0), c.closed);
        EXPECT_TRUE(IsWindow(Application->Handle()));
        EXPECT_FALSE(Application->Terminated()) << "our own window was told to close";
    }
    Application->SetTitle(title);
}

TEST_F(Wizard, ConnectOnTheListFollowsTheSelectionAndTheControlSwitch) {
    Start();
    TFrameWlNetwork* list = wizard_->FrameWlNetwork1;
    std::vector<bool> enabled;
    auto note = [&] { enabled.push_back(list->BtnConnect->Enabled()); };
    auto control = [&](bool on) {
        form_->UtilityEnabled = on;
        wizard_->NotifyPagesAdapterEvent(form_->Adapter.get(), aeControlSwitched, on ? 1 : 0);
        note();
    };
    Script s;
    s.Then("list filled", [&] { return list->LvSite->Items()->Count() == 2; })
        .Do("none picked", note)
        .Then("pick", ClickRow("Lobby"))
        .Then("picked", [&] { return list->LvSite->Selected() != nullptr; })
        .Do("read", note)
        .Do("control off", [&] { control(false); })
        .Do("control on", [&] { control(true); })
        // a click on the background lets go of the network
        .Then("background",
              [&] {
                  userinput::Click(list->ImgBG, 500, 15);
                  return true;
              })
        .Then("let go", [&] { return list->LvSite->Selected() == nullptr; })
        .Do("read", note)
        .Then("exit", Press(wizard_->BtnExit));
    EXPECT_EQ(Run(WizardModeNew, s), mrCancel);
    EXPECT_EQ(enabled, (std::vector<bool>{false, true, false, true, false}));
}

TEST_F(Wizard, ChannelAndSecurityPagesSelectTheProfilesValueOrTheirDefault) {
    Start();
    TFrameChannel* channel = wizard_->FrameChannel1;
    TFrameSecurity* security = wizard_->FrameSecurity1;
    WLProfile& edit = FAGlobalVar.EditProfile;
    auto selected = [](TComboBox* combo) {
        return combo->ItemIndex() < 0 ? std::string("-")
                                      : combo->Items()->Strings(combo->ItemIndex());
    };
    // An edited ad hoc profile: its channel when listed, else the template's.
    struct ChannelCase {
        int32_t channel;
        const char* shown;
    } channels[] = {{3, "3"}, {11, "11"}, {40, "6"}, {0, "6"}};
    for (const ChannelCase& c : channels) {
        edit = FAGlobalVar.DefaultProfile;
        edit.NetworkMode = 0;
        edit.Channel = c.channel;
        edit.ABGMode = kModeGOnly;  // the mode list starts from the template's, not this
        ASSERT_TRUE(channel->EnterPage(nullptr, kPageForward, WizardModeEdit));
        EXPECT_EQ(selected(channel->CmbMode), "Mixed Mode") << c.channel;
        EXPECT_EQ(selected(channel->CmbChannel), c.shown) << c.channel;
        ASSERT_TRUE(channel->LeavePage(nullptr, kPageForward, WizardModeEdit));
        EXPECT_EQ(edit.Channel, std::stoi(c.shown));
        EXPECT_EQ(edit.ABGMode, kModeMixed);
    }
    // No adapter: no channels; Next stores the template's channel.
    channel->AdapterChanged(nullptr, acDetached, 0);
    edit.Channel = 3;
    ASSERT_TRUE(channel->EnterPage(nullptr, kPageForward, WizardModeEdit));
    EXPECT_EQ(channel->CmbChannel->Items()->Count(), 0);
    ASSERT_TRUE(channel->LeavePage(nullptr, kPageForward, WizardModeEdit));
    EXPECT_EQ(edit.Channel, FAGlobalVar.DefaultProfile.Channel);
    // Back stores nothing.
    edit.Channel = 3;
    ASSERT_TRUE(channel->LeavePage(nullptr, kPageBack, WizardModeEdit));
    EXPECT_EQ(edit.Channel, 3);

    // Kinds the page does not offer show "Disabled", and Next with it resets the security.
    struct SecurityCase {
        int32_t networkMode;
        int32_t method;
        const char* shown;
        int32_t stored;
    } kinds[] = {{1, 3, "WPA", 3},
                 {1, 6, "Disabled", 0},
                 {0, 2, "Disabled", 0},
                 {0, 1, "WEP", 1},
                 {1, 4, "RADIUS", 4}};
    for (const SecurityCase& k : kinds) {
        edit = FAGlobalVar.DefaultProfile;
        edit.NetworkMode = k.networkMode;
        edit.EncryptionMethod = k.method;
        SetTextField(edit.WPAPassphrase, "kept-unless-reset");
        ASSERT_TRUE(security->EnterPage(nullptr, kPageForward, WizardModeEdit));
        EXPECT_EQ(selected(security->CmbSecurity), k.shown) << k.method;
        ASSERT_TRUE(security->LeavePage(nullptr, kPageForward, WizardModeEdit));
        EXPECT_EQ(edit.EncryptionMethod, k.stored) << k.method;
        EXPECT_EQ(TextField(edit.WPAPassphrase), k.method == k.stored ? "kept-unless-reset" : "");
    }
}

}  // namespace wizardtest
