// The profile page on the main window with the stand-in's store: the list and its details, the
// buttons, connecting, deleting, New and Edit through a wizard window that stands in for the
// real one, storing by code 6, importing and exporting, and modal runs that outlive the adapter.
#include <gtest/gtest.h>
#include <windows.h>

#include <deque>
#include <memory>
#include <string>
#include <vector>

#include "RegistryKeys.h"
#include "monitor/Uformaskinfo.h"
#include "monitor/Uframeprofile.h"
#include "test_formmain_fixture.h"

using namespace mainwin;

namespace {

// Answers the page's questions in order (then OK) and writes them down.
class TTestFrameProfile : public TFrameProfile {
public:
    using TFrameProfile::TFrameProfile;
    std::vector<std::string> Messages;
    std::deque<int> Answers;
    std::function<void()> DuringMessage;

protected:
    int ShowPageMessage(int flags, const AnsiString& text) override {
        Messages.push_back(std::to_string(flags) + " " + text);
        if (DuringMessage) DuringMessage();
        if (Answers.empty()) return mrOk;
        int answer = Answers.front();
        Answers.pop_front();
        return answer;
    }
};

// A file dialog chosen as the test says; what runs while it is "open" may take the adapter.
template <class Base>
class TFakeFileDialog : public Base {
public:
    using Base::Base;
    std::vector<std::string> Chosen;  // none: cancelled
    std::string Proposed;
    std::function<void()> During;
    bool Execute() override {
        Proposed = this->FileName;
        if (During) During();
        this->Files()->Clear();
        for (const std::string& f : Chosen) this->Files()->Add(f);
        if (!Chosen.empty()) this->FileName = Chosen.front();
        return !Chosen.empty();
    }
};

// Stands in for the profile wizard: notes its runs and notifications, may store what it was
// given through code 6 as the real one does, and ends with the result it is told.
class TFakeWizard : public TFormBase, public IProfileWizard {
public:
    explicit TFakeWizard(TComponent* owner) : TFormBase(owner) {
        SetClientWidth(580);
        SetClientHeight(436);
        OnShow = [this](TObject*) { PostMessageA(Handle(), kRun, 0, 0); };
    }
    bool PrepareForm(int mode) override {
        Modes.push_back(mode);
        return TFormBase::PrepareForm(mode);
    }
    void WndProc(TMessage& msg) override {
        if (msg.Msg != kRun) return TFormBase::WndProc(msg);
        EditedName = TextField(FAGlobalVar.EditProfile.ProfileName);
        MainShowing = FormMain->Visible();
        if (Edit) Edit(FAGlobalVar.EditProfile);
        if (SaveAs >= 0)
            Saved = SendMessageA(FormMain->Handle(), BroadcastMsgId, bmProfileSaved, SaveAs);
        SetModalResult(Result);
    }
    void NotifyPagesAdapterChanged(CAdapter* adapter, int kind, int) override {
        Notes.push_back("changed " + std::to_string(kind) + (adapter ? "" : " null"));
    }
    void NotifyPagesAdapterEvent(CAdapter*, int type, int value) override {
        Notes.push_back("event " + std::to_string(type) + " " + std::to_string(value));
    }

    static constexpr UINT kRun = WM_APP + 7;
    std::vector<int> Modes;
    std::vector<std::string> Notes;
    std::function<void(WLProfile&)> Edit;
    LPARAM SaveAs = -1;  // none: nothing stored
    LRESULT Saved = -1;
    int Result = mrOk;
    std::string EditedName;
    bool MainShowing = true;
};

// Types the next text into the name prompt each time it runs and presses OK; "!" cancels.
class PromptTyping {
public:
    explicit PromptTyping(std::vector<std::string> inputs)
        : inputs_(std::move(inputs)), timer_(new TTimer(nullptr)) {
        timer_->SetInterval(20);
        timer_->OnTimer = [this](TObject*) {
            if (!FormAskInfo->InModalRun() || next_ >= inputs_.size()) return;
            const std::string& text = inputs_[next_++];
            if (text != "!") FormAskInfo->EdtInput->SetText(text);
            TButton* button = text == "!" ? FormAskInfo->BtnCancel : FormAskInfo->BtnOk;
            SendMessageA(button->Handle(), BM_CLICK, 0, 0);
        };
    }
    ~PromptTyping() { timer_->Free(); }
    PromptTyping(const PromptTyping&) = delete;
    PromptTyping& operator=(const PromptTyping&) = delete;
    size_t Typed() const { return next_; }

private:
    std::vector<std::string> inputs_;
    size_t next_ = 0;
    TTimer* timer_;
};

class ProfilePage : public MainWindow {
protected:
    void SetUp() override {
        MainWindow::SetUp();
        TMainPageFactory fakes = MainPageFactory;
        MainPageFactory = [this, fakes](TComponent* owner, TMainPageKind kind) {
            if (kind != TMainPageKind::Profile) return fakes(owner, kind);
            page_ = new TTestFrameProfile(owner);
            builtOpen_ = page_->OpenDlgProf;
            builtSave_ = page_->SaveDlgProf;
            open_ = new TFakeFileDialog<TOpenDialog>(page_);
            save_ = new TFakeFileDialog<TSaveDialog>(page_);
            page_->OpenDlgProf = open_;
            page_->SaveDlgProf = save_;
            return static_cast<TPropertyPageFrame*>(page_);
        };
        FormAskInfo = NewForm<TFormAskInfo>(Application);
        closeThreads_ = true;
    }
    void TearDown() override {
        if (form_) form_->ProfileWizardForm = nullptr;
        if (wizard_) wizard_->Free();
        FormAskInfo->Free();
        FormAskInfo = nullptr;
        MainWindow::TearDown();
    }

    // The store holds these when the window is made; the adapter is attached with them.
    void Start(const std::vector<WLProfile>& stored) {
        for (const WLProfile& p : stored) StoreInLibrary(p);
        MakeAndPrepare();
        ASSERT_TRUE(WaitAttached());
        form_->Adapter->ShowProgressHook = [this](TForm* owner, int ms) {
            progress_.push_back(ms);
            progressOwner_ = owner;
        };
        wizard_ = NewForm<TFakeWizard>(Application);
        form_->ProfileWizardForm = wizard_;
    }
    std::vector<std::string> Rows() const {
        std::vector<std::string> rows;
        TListItems* items = page_->LvProf->Items();
        for (int i = 0; i < items->Count(); ++i)
            rows.push_back(items->Item(i)->Caption() + "|" +
                           items->Item(i)->SubItems()->Strings(0));
        return rows;
    }
    std::string Selected() const {
        TListItem* item = page_->LvProf->Selected();
        return item ? item->Caption() : "(none)";
    }
    void Select(const std::string& name) {
        for (int i = 0; i < page_->LvProf->Items()->Count(); ++i)
            if (page_->LvProf->Items()->Item(i)->Caption() == name)
                page_->LvProf->Items()->Item(i)->SetSelected(true);
        ASSERT_EQ(Selected(), name);
    }
    // N new, I import, C connect, E edit, X export, D delete.
    std::string Enabled() const {
        std::string on;
        const std::pair<char, TControl*> buttons[] = {
            {'N', page_->BtnNew},  {'I', page_->BtnImport}, {'C', page_->BtnConnect},
            {'E', page_->BtnEdit}, {'X', page_->BtnExport}, {'D', page_->BtnDelete}};
        for (const auto& b : buttons)
            if (b.second->Enabled()) on += b.first;
        return on;
    }
    std::string Details() const {
        return page_->LbWlMode->Caption() + "|" + page_->LbTxRate->Caption() + "|" +
               page_->LbChannel->Caption() + "|" + page_->LbSecurity->Caption() + "|" +
               page_->LbAuthen->Caption();
    }
    static void Click(TWinControl* button) {
        ASSERT_TRUE(button->Enabled()) << button->Name;
        SendMessageA(button->Handle(), BM_CLICK, 0, 0);
    }
    // The names the store holds, in its order.
    std::vector<std::string> Store() const {
        return SubkeyNames(HKEY_CURRENT_USER, "SoftWare\\" + root_ + "\\WLProfile");
    }
    WLProfile Wep128(const std::string& name) {
        WLProfile p = Profile(name, "Cafe", 1);
        p.WEPEncryptionLevel = 2;
        p.AuthenticationMode = 1;
        return p;
    }
    WLProfile Psk(const std::string& name) {
        WLProfile p = Profile(name, "Office", 2);
        p.WPAEncryptionType = 2;
        return p;
    }
    // A profile file as the store's export writes it; the store keeps nothing of it.
    std::string ExportedFile(const std::string& name, const std::string& ssid) {
        std::string file = dir_.File(name + "_" + ssid + ".qjw");
        StoreInLibrary(Profile(name, ssid));
        DriverLibGuard lock(DriverLib, libStop_);
        EXPECT_EQ(DriverLib.VYXWL_RegExportProfile(file.c_str(), name.c_str()), 1);
        EXPECT_EQ(DriverLib.VYXWL_DeleteWLProfile(name.c_str()), 1);
        return file;
    }

    TTestFrameProfile* page_ = nullptr;
    TOpenDialog* builtOpen_ = nullptr;  // the page's own, replaced by fakes
    TSaveDialog* builtSave_ = nullptr;
    TFakeFileDialog<TOpenDialog>* open_ = nullptr;
    TFakeFileDialog<TSaveDialog>* save_ = nullptr;
    TFakeWizard* wizard_ = nullptr;
    std::vector<int> progress_;
    TForm* progressOwner_ = nullptr;
};

}  // namespace

TEST_F(ProfilePage, AttachListsTheStoreDefaultFirstAndControlAndDetachFollow) {
    Configure("DefProfName=Default\r\n", 7);
    Start({Psk("Office"), Wep128("Default"), Profile("attic", "Zeta", 0, 0)});
    EXPECT_EQ(Rows(), (std::vector<std::string>{"Default|Cafe", "attic|Zeta", "Office|Office"}));
    EXPECT_EQ(Selected(), "Default");
    EXPECT_EQ(Details(), "Infrastructure|Auto|Auto|WEP(128-bit)|Shared");
    EXPECT_EQ(Enabled(), "NICEX") << "the default profile is never deleted";
    Select("Office");
    EXPECT_EQ(Details(), "Infrastructure|Auto|Auto|WPA-PSK|AES");
    EXPECT_EQ(Enabled(), "NICEXD");

    // Sorting by SSID, then by name backwards: the default profile stays on top.
    page_->ImgSSID->Click();
    EXPECT_EQ(Rows(), (std::vector<std::string>{"Default|Cafe", "Office|Office", "attic|Zeta"}));
    page_->ImgProfName->Click();
    page_->ImgProfName->Click();
    EXPECT_EQ(Rows(), (std::vector<std::string>{"Default|Cafe", "Office|Office", "attic|Zeta"}));
    page_->ImgSSID->Click();
    EXPECT_EQ(Rows(), (std::vector<std::string>{"Default|Cafe", "attic|Zeta", "Office|Office"}));

    form_->SetUtilityEnabled(false);
    EXPECT_EQ(Enabled(), "");
    form_->SetUtilityEnabled(true);
    EXPECT_EQ(Enabled(), "NICEXD");
    page_->LvProf->SetSelected(nullptr);
    EXPECT_EQ(Details(), "||||");
    EXPECT_EQ(Enabled(), "NI");

    form_->OnAdapterEvent(aeStatusUpdated, 0);
    form_->DetachDevice();
    EXPECT_TRUE(Rows().empty());
    EXPECT_EQ(Enabled(), "");
    EXPECT_EQ(page_->Adapter, nullptr);
    // The wizard heard everything the page heard.
    EXPECT_EQ(wizard_->Notes,
              (std::vector<std::string>{"event 4 0", "event 4 1", "event 3 0", "changed 2"}));
}

TEST_F(ProfilePage, ConnectAndDoubleClickApplyByNameAndShowTheLinkPage) {
    Start({Psk("Office"), Wep128("Cafe")});
    Select("Office");
    Click(page_->BtnConnect);
    EXPECT_EQ(progress_, std::vector<int>{20000});
    EXPECT_EQ(progressOwner_, form_);
    ASSERT_TRUE(PumpUntil([&] { return journal_.Count("info back") == 1; }));
    ASSERT_TRUE(PumpUntil([&] {
        return Trace().find("VYXWL_SetWLANStatus(\"Office\", mode 1, security 2) -> 1") !=
               std::string::npos;
    })) << Trace();

    // A double click connects also while control is off and Connect shows disabled.
    form_->SetUtilityEnabled(false);
    Select("Cafe");
    page_->LvProf->DblClick();
    EXPECT_EQ(progress_.size(), 2u);
    ASSERT_TRUE(PumpUntil([&] { return journal_.Count("info back") == 2; }));
}

TEST_F(ProfilePage, DeleteSelectsTheNextRowAndKeepsOneTheWorkerDoesNotHave) {
    Start({Psk("Office"), Wep128("Cafe"), Profile("Home", "Home")});
    Select("Office");
    Click(page_->BtnDelete);
    EXPECT_EQ(Rows(), (std::vector<std::string>{"Cafe|Cafe", "Home|Home"}));
    EXPECT_EQ(Selected(), "Home") << "the last row went: the new last one is selected";
    EXPECT_EQ(Store(), (std::vector<std::string>{"Cafe", "Home"}));

    // The worker no longer knows Home: the page keeps the row and says so.
    ASSERT_TRUE(form_->Adapter->DeleteProfile("Home"));
    Click(page_->BtnDelete);
    EXPECT_EQ(Rows(), (std::vector<std::string>{"Cafe|Cafe", "Home|Home"}));
    EXPECT_EQ(page_->Messages,
              std::vector<std::string>{"16 The profile \"Home\" could not be deleted."});
}

TEST_F(ProfilePage, NewAsksANameAndTheWizardStoresItUnderThatName) {
    Start({Psk("Office")});
    form_->Show();
    wizard_->SaveAs = WizardModeNew;
    wizard_->Edit = [](WLProfile& p) { SetTextField(p.Ssid1, "Lobby"); };
    // The reserved name is refused; an existing one in other letters is asked about (Yes).
    page_->Answers = {mrOk, mrYes};
    PromptTyping typing({"(EditingProfile)", "office"});
    Click(page_->BtnNew);
    EXPECT_EQ(typing.Typed(), 2u);
    EXPECT_EQ(page_->Messages, (std::vector<std::string>{
                                   "48 Enter a name for the new profile:",
                                   "36 A profile with given name already exists.\nReplace it?"}));
    EXPECT_EQ(FormAskInfo->Caption(), "Create connection profile");
    EXPECT_EQ(FormAskInfo->LbPrompt->Caption(), "Enter a name for the new profile:");
    EXPECT_EQ(wizard_->Modes, std::vector<int>{WizardModeNew});
    EXPECT_EQ(wizard_->EditedName, "office");
    EXPECT_EQ(TextField(FAGlobalVar.EditProfile.NetworkInfo.NI_sz_CurProfile), "office");
    EXPECT_FALSE(wizard_->MainShowing) << "the window hides while the wizard runs";
    EXPECT_TRUE(form_->Visible());
    EXPECT_EQ(wizard_->Saved, 1);
    // One profile of that name, in the list, the worker and the store alike.
    EXPECT_EQ(Rows(), std::vector<std::string>{"office|Lobby"});
    EXPECT_EQ(Store(), std::vector<std::string>{"office"});
    std::vector<WLProfile> cached;
    ASSERT_TRUE(form_->Adapter->GetProfiles(cached));
    ASSERT_EQ(cached.size(), 1u);
    EXPECT_EQ(TextField(cached[0].Ssid1), "Lobby");

    // Cancelled prompt: no wizard.
    PromptTyping cancel({"!"});
    Click(page_->BtnNew);
    EXPECT_EQ(wizard_->Modes.size(), 1u);
}

TEST_F(ProfilePage, EditReplacesTheEditedRowAndForgetsItWhenTheRowGoes) {
    Start({Psk("Office"), Wep128("Cafe")});
    Select("Office");
    wizard_->SaveAs = WizardModeEdit;
    wizard_->Edit = [](WLProfile& p) { SetTextField(p.Ssid1, "Office5G"); };
    Click(page_->BtnEdit);
    EXPECT_EQ(wizard_->Modes, std::vector<int>{WizardModeEdit});
    EXPECT_EQ(wizard_->EditedName, "Office");
    EXPECT_EQ(wizard_->Saved, 1);
    EXPECT_EQ(Rows(), (std::vector<std::string>{"Cafe|Cafe", "Office|Office5G"}));
    EXPECT_EQ(Selected(), "Office");

    // The adapter goes and comes back while the wizard runs: the rows are new, the edited one
    // is forgotten, and the store says it took nothing.
    Select("Cafe");
    wizard_->Edit = [this](WLProfile& p) {
        form_->DetachDevice();
        form_->OnDeviceListChanged();
        SetTextField(p.Ssid1, "Lost");
    };
    Click(page_->BtnEdit);
    EXPECT_EQ(page_->EditedItem, nullptr);
    EXPECT_EQ(wizard_->Saved, 0);
    EXPECT_EQ(Rows(), (std::vector<std::string>{"Cafe|Cafe", "Office|Office5G"}));
}

TEST_F(ProfilePage, CodeSixAddsOrReplacesAndAnswersWhetherTheStoreTookIt) {
    Start({Psk("Office")});
    struct Case {
        const char* name;
        const char* ssid;
        LPARAM lParam;
        LRESULT answer;
        std::vector<std::string> rows;
    } cases[] = {
        {"Office", "Moved", WizardModeNew, 1, {"Office|Moved"}},
        {"Home", "Home", WizardModeFirstRun, 1, {"Office|Moved", "Home|Home"}},
        {"HOME", "Upper", 0x101, 1, {"Office|Moved", "HOME|Upper"}},
        {"Cafe", "Cafe", WizardModeEdit, 0, {"Office|Moved", "HOME|Upper"}},  // nothing edited
        {"(EditingProfile)", "X", WizardModeNew, 0, {"Office|Moved", "HOME|Upper"}},
    };
    for (const Case& c : cases) {
        FAGlobalVar.EditProfile = Profile(c.name, c.ssid);
        EXPECT_EQ(SendMessageA(form_->Handle(), BroadcastMsgId, bmProfileSaved, c.lParam), c.answer)
            << c.name;
        EXPECT_EQ(Rows(), c.rows) << c.name;
    }
    EXPECT_EQ(Store(), (std::vector<std::string>{"HOME", "Office"}));
}

TEST_F(ProfilePage, TheWizardRunsOnlyWhenThereIsOneAndItIsNotShowing) {
    Start({Psk("Office")});
    form_->ProfileWizardForm = nullptr;
    EXPECT_FALSE(page_->RunProfileWizard(WizardModeNew));
    EXPECT_EQ(LogCount("RunProfileWizard(1): no profile wizard"), 1u) << Log();

    // While it shows, neither New nor the first-run call touches what it edits.
    form_->ProfileWizardForm = wizard_;
    FAGlobalVar.EditProfile = Profile("Editing", "Elsewhere");
    wizard_->OnShow = nullptr;
    wizard_->Show();
    PromptTyping typing({"Home"});
    Click(page_->BtnNew);
    form_->RunFirstProfileWizard();
    EXPECT_FALSE(page_->RunProfileWizard(WizardModeEdit));
    EXPECT_EQ(typing.Typed(), 0u);
    EXPECT_TRUE(wizard_->Modes.empty());
    EXPECT_EQ(TextField(FAGlobalVar.EditProfile.ProfileName), "Editing");
    wizard_->Hide();
}

TEST_F(ProfilePage, ImportReplacesAProfileOnlyOnceTheNewOneIsIn) {
    Configure("DefProfName=Default\r\n", 7);
    std::string office = ExportedFile("Office", "Moved");
    std::string home = ExportedFile("Home", "Home");
    std::string lower = ExportedFile("default", "Lower");
    std::string lobby = ExportedFile("Lobby", "Lobby");
    std::string bad = dir_.File("bad.qjw");
    TempDir::WriteFile(bad,
                       "[WLANProfile]\r\nCount=1\r\nItemName1=ProfileName\r\n"
                       "ItemData1=Bad\\Name\r\n");
    std::string reserved = dir_.File("reserved.qjw");
    TempDir::WriteFile(reserved,
                       "[WLANProfile]\r\nCount=1\r\nItemName1=ProfileName\r\n"
                       "ItemData1=(EditingProfile)\r\n");
    Start({Wep128("Default"), Psk("Office")});

    // Office: Cancel keeps it; then the new Home, two unusable names and a missing file.
    page_->Answers = {mrCancel};
    open_->Chosen = {office, home, bad, reserved, dir_.File("gone.qjw")};
    Click(page_->BtnImport);
    EXPECT_EQ(open_->Proposed, "*.qjw");
    EXPECT_EQ(page_->Messages,
              std::vector<std::string>{
                  "33 A profile with the name \"Office\" already exists. Replace it?"});
    EXPECT_EQ(Rows(), (std::vector<std::string>{"Default|Cafe", "Office|Office", "Home|Home"}));
    EXPECT_EQ(Selected(), "Home");
    EXPECT_EQ(LogCount("import skipped " + bad + ": a backslash in the profile name \"Bad\\Name\""),
              1u)
        << Log();
    EXPECT_EQ(
        LogCount("import skipped " + reserved + ": a reserved profile name \"(EditingProfile)\""),
        1u);
    EXPECT_EQ(Trace().find("VYXWL_RegImportProfile(\"" + bad), std::string::npos);

    // OK replaces Office in its place in the worker's list; the row goes to the end.
    page_->Messages.clear();
    open_->Chosen = {office};
    Click(page_->BtnImport);
    EXPECT_EQ(Rows(), (std::vector<std::string>{"Default|Cafe", "Home|Home", "Office|Moved"}));
    std::vector<WLProfile> cached;
    ASSERT_TRUE(form_->Adapter->GetProfiles(cached));
    ASSERT_EQ(cached.size(), 3u);
    EXPECT_EQ(TextField(cached[1].Ssid1), "Moved");

    // The library refuses imports: a new profile and a replacing one are both told to have
    // failed, though the old default profile, asked for in other letters, still reads back.
    Scenario(std::string(kAdapter) + kNetworks + "[Fail]\r\nVYXWL_RegImportProfile=0\r\n");
    page_->Messages.clear();
    open_->Chosen = {lobby, lower};
    size_t calls = Trace().size();
    Click(page_->BtnImport);
    EXPECT_EQ(page_->Messages,
              (std::vector<std::string>{
                  "16 The profile \"Lobby\" could not be imported.",
                  "33 A profile with the name \"Default\" already exists. Replace it?",
                  "16 The profile \"Default\" could not be imported."}));
    EXPECT_EQ(Rows(), (std::vector<std::string>{"Default|Cafe", "Home|Home", "Office|Moved"}));
    EXPECT_EQ(Store(), (std::vector<std::string>{"Default", "Home", "Office"}));
    std::string refused = Trace().substr(calls);
    EXPECT_EQ(refused.find("VYXWL_SetWLProfile"), std::string::npos) << refused;
    EXPECT_EQ(refused.find("VYXWL_DeleteWLProfile"), std::string::npos) << refused;
    cached.clear();
    ASSERT_TRUE(form_->Adapter->GetProfiles(cached));
    ASSERT_EQ(cached.size(), 3u);
    EXPECT_EQ(TextField(cached[0].Ssid1), "Cafe");

    // Taken under the stored spelling once the library takes it again; the worker keeps one.
    Scenario(std::string(kAdapter) + kNetworks);
    open_->Chosen = {lower};
    Click(page_->BtnImport);
    EXPECT_EQ(Rows(), (std::vector<std::string>{"Home|Home", "Office|Moved", "Default|Lower"}));
    EXPECT_EQ(Store(), (std::vector<std::string>{"Default", "Home", "Office"}));
    cached.clear();
    ASSERT_TRUE(form_->Adapter->GetProfiles(cached));
    ASSERT_EQ(cached.size(), 3u);
    EXPECT_EQ(TextField(cached[0].ProfileName), "Default");
    EXPECT_EQ(TextField(cached[0].Ssid1), "Lower");
}

// The name read from a file is exactly the name checked and passed on: "Default", NUL, "x" is a
// damaged name, skipped as one, and the stored Default is not overwritten.
TEST_F(ProfilePage, ImportSkipsANameWithAControlByteAndKeepsTheStoredProfile) {
    Configure("DefProfName=Default\r\n", 7);
    std::string file = ExportedFile("Default", "Evil");
    std::string text = TempDir::ReadFile(file);
    size_t replaced = 0;
    for (size_t pos = text.find("=Default\r\n"); pos != std::string::npos;
         pos = text.find("=Default\r\n", pos), ++replaced)
        text.replace(pos, 8, "=hex:44656661756C740078");
    ASSERT_GT(replaced, 0u);
    TempDir::WriteFile(file, text);
    std::string first = dir_.File("nul-first.qjw");
    TempDir::WriteFile(first,
                       "[WLANProfile]\r\nCount=1\r\nItemName1=ProfileName\r\n"
                       "ItemData1=hex:0044656661756C74\r\n");
    Start({Wep128("Default"), Psk("Office")});

    open_->Chosen = {file, first};
    Click(page_->BtnImport);
    EXPECT_TRUE(page_->Messages.empty()) << page_->Messages.front();
    EXPECT_EQ(Rows(), (std::vector<std::string>{"Default|Cafe", "Office|Office"}));
    EXPECT_EQ(Trace().find("VYXWL_RegImportProfile"), std::string::npos);
    EXPECT_EQ(LogCount("import skipped " + file +
                       ": a control character in the profile name \"Default\\x00x\""),
              1u)
        << Log();
    EXPECT_EQ(LogCount("import skipped " + first +
                       ": a control character in the profile name \"\\x00Default\""),
              1u);
    EXPECT_EQ(Store(), (std::vector<std::string>{"Default", "Office"}));
    WLProfile stored{};
    {
        DriverLibGuard lock(DriverLib, libStop_);
        ASSERT_TRUE(lock);
        ASSERT_EQ(DriverLib.VYXWL_GetWLProfile("Default", &stored), 1);
    }
    EXPECT_STREQ(stored.Ssid1, "Cafe");
    EXPECT_EQ(stored.WEPEncryptionLevel, 2);
}

TEST_F(ProfilePage, ExportProposesTheNameAndModalRunsMayOutliveTheAdapter) {
    Start({Psk("Office"), Wep128("Cafe")});
    Select("Office");
    std::string file = dir_.File("office-copy.qjw");
    save_->Chosen = {file};
    Click(page_->BtnExport);
    EXPECT_EQ(save_->Proposed, "Office.qjw");
    EXPECT_NE(TempDir::ReadFile(file).find("ItemData"), std::string::npos);
    EXPECT_EQ(save_->Title, "Wavelorn Message");
    for (TOpenDialog* dialog : {builtOpen_, static_cast<TOpenDialog*>(builtSave_)}) {
        EXPECT_EQ(dialog->Filter, "Wireless Profile (*.qjw)|*.qjw");
        EXPECT_EQ(dialog->DefaultExt, ".qjw");
    }
    EXPECT_EQ(builtSave_->Options,
              ofOverwritePrompt | ofPathMustExist | ofHideReadOnly | ofEnableSizing);
    EXPECT_EQ(builtOpen_->Options, ofAllowMultiSelect | ofPathMustExist | ofFileMustExist |
                                       ofHideReadOnly | ofEnableSizing);

    // The adapter goes while the save dialog or the replace question is open: nothing more.
    std::string late = dir_.File("late.qjw");
    save_->Chosen = {late};
    save_->During = [this] { form_->DetachDevice(); };
    Click(page_->BtnExport);
    EXPECT_FALSE(TempDir::Exists(late));
    EXPECT_EQ(Trace().find("VYXWL_RegExportProfile(\"" + late), std::string::npos);

    form_->OnDeviceListChanged();  // the adapter is back
    ASSERT_EQ(Rows().size(), 2u);
    page_->DuringMessage = [this] { form_->DetachDevice(); };
    open_->Chosen = {file};
    Click(page_->BtnImport);
    EXPECT_EQ(page_->Messages.size(), 1u);
    EXPECT_EQ(Trace().find("VYXWL_RegImportProfile"), std::string::npos);
    EXPECT_TRUE(Rows().empty());
}
