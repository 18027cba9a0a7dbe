// The profile wizard driven as a user drives it: real clicks on its buttons, its list and its
// labels, typing into its edits, answers to its messages; then what the profile page was asked
// to store, what the adapter was told, and what the window shows.
#include "test_wizard_fixture.h"

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
        .Then("list filled",
              [&] { return list->LvSite->Items()->Count() == 3 && !list->PanelSearching->Visible(); })
        .Do("read", [&] {
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
        .Do("read", [&] {
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
    EXPECT_TRUE(PumpUntil([&] { return Trace().find("VYXWL_SetWLANStatus(\"Lobby\"") !=
                                       std::string::npos; }));
}

}  // namespace wizardtest
