#include "Uframeprofile.h"

#include <memory>
#include <vector>

#include "../classlib/Application.h"
#include "../core/Uadapter.h"
#include "../core/Udebug.h"
#include "../core/Udefine.h"
#include "../core/UdefineWin.h"
#include "../core/Uforeground.h"
#include "Uformaskinfo.h"
#include "Uformlayout.h"
#include "Uformmessage.h"
#include "Uformres.h"
#include "Umainlogic.h"
#include "Uskinwindow.h"

namespace {

const ControlSpec kLayout[] = {
    {"ImgBG", 0, 0, 447, 268},        {"ImgClient", 0, 0, 447, 218},
    {"ImgProfName", 36, 71, 41, 17},  {"ImgSSID", 125, 71, 30, 17},
    {"LvProf", 35, 94, 178, 111},     {"LbWlMode", 313, 100, 99, 14},
    {"LbTxRate", 313, 116, 99, 14},   {"LbChannel", 313, 132, 99, 14},
    {"LbSecurity", 313, 148, 99, 14}, {"LbAuthen", 313, 164, 99, 14},
    {"BtnConnect", 275, 188, 76, 21}, {"BtnNew", 160, 234, 57, 20},
    {"BtnEdit", 217, 234, 57, 20},    {"BtnImport", 274, 234, 57, 20},
    {"BtnExport", 331, 234, 57, 20},  {"BtnDelete", 388, 234, 57, 20},
};

const char kProfileFilter[] = "Wireless Profile (*.qjw)|*.qjw";
const char kProfileExt[] = ".qjw";

TBitmap* Face(TImage* image) {
    return image->Picture()->Bitmap();
}

// The hourglass over the program's windows while the driver library works; back afterwards,
// also when the work throws.
class THourglass {
public:
    THourglass() : saved_(Screen->Cursor()) { Screen->SetCursor(crHourGlass); }
    ~THourglass() { Screen->SetCursor(saved_); }
    THourglass(const THourglass&) = delete;
    THourglass& operator=(const THourglass&) = delete;

private:
    TCursor saved_;
};

bool FileThere(const AnsiString& path) {
    DWORD attributes = GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

ProfileRowKey RowKey(TListItem* item) {
    TStrings* sub = item->SubItems();
    return {item->Caption(), sub->Count() > 0 ? sub->Strings(0) : AnsiString()};
}

// Row texts from the profile its record holds.
void ShowRow(TListItem* item, const WLProfile& profile) {
    *item->Record<WLProfile>() = profile;
    item->SetCaption(TextField(profile.ProfileName));
    TStrings* sub = item->SubItems();
    if (sub->Count() == 0) {
        sub->Add(TextField(profile.Ssid1));
    } else {
        sub->Put(0, TextField(profile.Ssid1));
    }
}

}  // namespace

TFrameProfile::TFrameProfile(TComponent* owner) : TPropertyPageFrame(owner) {
    SetBounds(0, 0, 447, 268);
    Font()->SetName("Arial");

    ImgBG = NewControl<TImage>(this, this, kLayout, "ImgBG");
    ImgClient = NewControl<TImage>(this, this, kLayout, "ImgClient");
    // The headers are drawn on the client picture: the image buttons are only where to click.
    auto header = [this](const char* name, void (TFrameProfile::*handler)(TObject*)) {
        auto* image = NewControl<TQXImage>(this, this, kLayout, name);
        image->SetCursor(crHandPoint);
        image->OnClick = Bind(this, handler);
        return image;
    };
    ImgProfName = header("ImgProfName", &TFrameProfile::ImgProfNameClick);
    ImgSSID = header("ImgSSID", &TFrameProfile::ImgSSIDClick);

    LvProf = NewControl<TListView>(this, this, kLayout, "LvProf");
    LvProf->SetShowColumnHeaders(false);
    LvProf->SetGridLines(true);
    LvProf->SetRowSelect(true);
    LvProf->SetHideSelection(false);
    LvProf->AddColumn("Profile", 87);
    LvProf->AddColumn("SSID", 70);
    LvProf->Tag = kSortAscending;
    LvProf->OnCompare = Bind(this, &TFrameProfile::LvProfCompare);
    LvProf->OnSelectItem = Bind(this, &TFrameProfile::LvProfSelectItem);
    LvProf->OnDblClick = Bind(this, &TFrameProfile::BtnConnectClick);

    auto detail = [this](const char* name) {
        auto* label = NewControl<TLabel>(this, this, kLayout, name);
        label->SetTransparent(true);
        return label;
    };
    LbWlMode = detail("LbWlMode");
    LbTxRate = detail("LbTxRate");
    LbChannel = detail("LbChannel");
    LbSecurity = detail("LbSecurity");
    LbAuthen = detail("LbAuthen");

    auto button = [this](const char* name, void (TFrameProfile::*handler)(TObject*)) {
        auto* btn = NewControl<TTrifaceBtn>(this, this, kLayout, name);
        btn->SetCursor(crHandPoint);
        btn->SetTabStop(false);
        btn->SetNoFocusRect(true);
        btn->OnClick = Bind(this, handler);
        return btn;
    };
    BtnConnect = button("BtnConnect", &TFrameProfile::BtnConnectClick);
    BtnNew = button("BtnNew", &TFrameProfile::BtnNewClick);
    BtnEdit = button("BtnEdit", &TFrameProfile::BtnEditClick);
    BtnImport = button("BtnImport", &TFrameProfile::BtnImportClick);
    BtnExport = button("BtnExport", &TFrameProfile::BtnExportClick);
    BtnDelete = button("BtnDelete", &TFrameProfile::BtnDeleteClick);

    OpenDlgProf = NewComponent<TOpenDialog>(this, "OpenDlgProf");
    OpenDlgProf->DefaultExt = kProfileExt;
    OpenDlgProf->Filter = kProfileFilter;
    OpenDlgProf->Options =
        ofAllowMultiSelect | ofPathMustExist | ofFileMustExist | ofHideReadOnly | ofEnableSizing;
    SaveDlgProf = NewComponent<TSaveDialog>(this, "SaveDlgProf");
    SaveDlgProf->DefaultExt = kProfileExt;
    SaveDlgProf->Filter = kProfileFilter;
    SaveDlgProf->Options = ofOverwritePrompt | ofPathMustExist | ofHideReadOnly | ofEnableSizing;
}

// ---- page operations ----

void TFrameProfile::InitPage() {
    if (FormRes) {
        ImgBG->Picture()->Assign(FormRes->ImgFrameBG->Picture());
        ImgClient->Picture()->Assign(FormRes->ImgProfClient->Picture());
        BtnConnect->SetFaces(Face(FormRes->ImgBtnConnectN));
        BtnConnect->SetFacesDown(Face(FormRes->ImgBtnConnectD));
        BtnConnect->SetFacesOver(Face(FormRes->ImgBtnConnectH));
        const std::pair<TTrifaceBtn*, std::pair<TImage*, TImage*>> commands[] = {
            {BtnNew, {FormRes->ImgBtnNewN, FormRes->ImgBtnNewH}},
            {BtnEdit, {FormRes->ImgBtnEditN, FormRes->ImgBtnEditH}},
            {BtnImport, {FormRes->ImgBtnImportN, FormRes->ImgBtnImportH}},
            {BtnExport, {FormRes->ImgBtnExportN, FormRes->ImgBtnExportH}},
            {BtnDelete, {FormRes->ImgBtnDeleteN, FormRes->ImgBtnDeleteH}},
        };
        for (const auto& c : commands) {
            c.first->SetFaces(Face(c.second.first));
            c.first->SetFacesDown(Face(c.second.second));
            c.first->SetFacesOver(Face(c.second.second));
        }
    }
    Texts = LoadProfilePageTexts(FAGlobalVar.TextSection("FrameProfile"),
                                 FAGlobalVar.TextSection("ErMsg"));
    ResetPage();
    TPropertyPageFrame::InitPage();
}

void TFrameProfile::ClosePage() {
    ClearProfileList();
    TPropertyPageFrame::ClosePage();
}

void TFrameProfile::ResetPage() {
    ClearProfileList();
    ClearProfileDetails();
    BtnNew->SetEnabled(false);
    BtnImport->SetEnabled(false);
    TPropertyPageFrame::ResetPage();
}

void TFrameProfile::AdapterChanged(CAdapter* adapter, int kind, int reserved) {
    if (kind == acAttached) {
        Adapter = adapter;
        LoadProfileList();
        UpdateProfileButtons();
    } else if (kind == acDetached) {
        Adapter = nullptr;
        ResetPage();
    }
    if (auto* wizard = dynamic_cast<IProfileWizard*>(WizardForm()))
        wizard->NotifyPagesAdapterChanged(adapter, kind, reserved);
    TPropertyPageFrame::AdapterChanged(adapter, kind, reserved);
}

void TFrameProfile::AdapterEvent(CAdapter* adapter, int type, int value) {
    if (type == aeControlSwitched) UpdateProfileButtons();
    if (auto* wizard = dynamic_cast<IProfileWizard*>(WizardForm()))
        wizard->NotifyPagesAdapterEvent(adapter, type, value);
    TPropertyPageFrame::AdapterEvent(adapter, type, value);
}

// ---- the list ----

void TFrameProfile::LoadProfileList() {
    if (!Adapter) return;
    // The worker's list is the whole truth: nothing of an earlier one stays.
    ClearProfileList();
    std::vector<WLProfile> profiles;
    if (Adapter->GetProfiles(profiles))
        for (const WLProfile& profile : profiles) AddProfileItem(profile);
    LvProf->AlphaSort();
    if (LvProf->Items()->Count() > 0) SelectProfileItem(LvProf->Items()->Item(0));
}

void TFrameProfile::ClearProfileList() {
    EditedItem = nullptr;
    LvProf->Items()->Clear();
}

TListItem* TFrameProfile::AddProfileItem(const WLProfile& profile) {
    TListItem* item = LvProf->Items()->Add();
    item->SetRecord(std::make_unique<WLProfile>(profile));
    ShowRow(item, profile);
    return item;
}

void TFrameProfile::RemoveProfileItem(TListItem* item) {
    if (item == EditedItem) EditedItem = nullptr;
    item->Delete();
}

void TFrameProfile::SelectProfileItem(TListItem* item) {
    item->SetSelected(true);
    item->SetFocused(true);
    item->MakeVisible();
}

TListItem* TFrameProfile::FindProfileItem(const AnsiString& name) const {
    TListItems* items = LvProf->Items();
    for (int i = 0; i < items->Count(); ++i)
        if (SameProfileName(items->Item(i)->Caption(), name)) return items->Item(i);
    return nullptr;
}

void TFrameProfile::FocusList() {
    if (LvProf->CanFocus()) LvProf->SetFocus();
}

void TFrameProfile::LvProfCompare(TObject*, TListItem* item1, TListItem* item2, int& compare) {
    compare = CompareProfileRows(RowKey(item1), RowKey(item2), SortColumn,
                                 static_cast<int>(LvProf->Tag), FAGlobalVar.DefProfName);
}

void TFrameProfile::SortProfileList(int column) {
    int direction = static_cast<int>(LvProf->Tag);
    SortHeaderClicked(column, SortColumn, direction);
    LvProf->Tag = direction;
    LvProf->AlphaSort();
}

void TFrameProfile::ImgProfNameClick(TObject*) {
    SortProfileList(kSortByName);
}

void TFrameProfile::ImgSSIDClick(TObject*) {
    SortProfileList(kSortBySsid);
}

// ---- details and buttons ----

void TFrameProfile::LvProfSelectItem(TObject*, TListItem* item, bool selected) {
    if (selected) {
        ShowProfileDetails(item);
    } else {
        ClearProfileDetails();
    }
}

void TFrameProfile::ShowProfileDetails(TListItem* item) {
    const WLProfile* profile = item->Record<WLProfile>();
    if (!profile) return;
    ProfileDetails d = DescribeProfile(*profile, FAGlobalVar.Words);
    LbWlMode->SetCaption(d.WlMode);
    LbTxRate->SetCaption(d.TxRate);
    LbChannel->SetCaption(d.Channel);
    LbSecurity->SetCaption(d.Security);
    LbAuthen->SetCaption(d.Authen);
    EnableButtons(item);
}

void TFrameProfile::ClearProfileDetails() {
    for (TLabel* label : {LbWlMode, LbTxRate, LbChannel, LbSecurity, LbAuthen})
        label->SetCaption("");
    EnableButtons(nullptr);
}

void TFrameProfile::UpdateProfileButtons() {
    if (!Adapter) return;
    EnableButtons(LvProf->Selected());
}

void TFrameProfile::EnableButtons(TListItem* selected) {
    bool isDefault = selected && SameProfileName(selected->Caption(), FAGlobalVar.DefProfName);
    ProfileButtons b = ProfileButtonsFor(Adapter != nullptr, ControlOn(), selected, isDefault);
    BtnNew->SetEnabled(b.New);
    BtnImport->SetEnabled(b.Import);
    BtnConnect->SetEnabled(b.Connect);
    BtnEdit->SetEnabled(b.Edit);
    BtnExport->SetEnabled(b.Export);
    BtnDelete->SetEnabled(b.Delete);
}

bool TFrameProfile::ControlOn() const {
    return dynamic_cast<TFormBase*>(Owner()) && FormMain && FormMain->UtilityEnabled;
}

TForm* TFrameProfile::OwnerForm() const {
    return dynamic_cast<TForm*>(Owner());
}

TFormBase* TFrameProfile::WizardForm() const {
    return FormMain ? FormMain->ProfileWizardForm : nullptr;
}

int TFrameProfile::ShowPageMessage(int flags, const AnsiString& text) {
    TAutoFree<TFormMessage> dialog(NewForm<TFormMessage>(Application));
    return ShowMessageBox(dialog.get(), OwnerForm(), flags, text);
}

// ---- storing ----

bool TFrameProfile::OnProfileStored(LPARAM lParam) {
    if (!Adapter) return false;
    const WLProfile& edited = FAGlobalVar.EditProfile;
    AnsiString name = TextField(edited.ProfileName);
    if (CheckProfileName(name, nullptr) != ProfileNameCheck::Ok) {
        DebugPrint("profile not stored: unusable name \"%s\"", name.c_str());
        return false;
    }
    TListItem* item = nullptr;
    if ((lParam & 0xFF) == WizardModeEdit) {
        if (!EditedItem) return false;
        // A rename onto another stored name takes that profile's place in the store.
        TListItem* other = FindProfileItem(name);
        if (other && other != EditedItem) {
            if (!Adapter->DeleteProfile(other->Caption())) return false;
            RemoveProfileItem(other);
        }
        if (!Adapter->ReplaceProfile(EditedItem->Caption(), edited)) return false;
        item = EditedItem;
    } else {
        item = FindProfileItem(name);
        // The store holds one spelling of a name: another one replaces it.
        bool stored = item && item->Caption() != name
                          ? Adapter->ReplaceProfile(item->Caption(), edited)
                          : Adapter->AddProfile(edited);
        if (!stored) return false;
        if (!item) item = AddProfileItem(edited);
    }
    ShowRow(item, edited);
    LvProf->SetSelected(nullptr);
    SelectProfileItem(item);
    return true;
}

// ---- the wizard ----

bool TFrameProfile::RunProfileWizard(int mode) {
    TFormBase* wizard = WizardForm();
    if (!wizard) {
        DebugPrint("RunProfileWizard(%d): no profile wizard", mode);
        return false;
    }
    if (wizard->Visible()) return false;
    TForm* owner = OwnerForm();
    bool ownerShowing = owner && owner->Visible();
    CentreOver(wizard, owner);
    BringWindowToFront(Application->Handle());
    wizard->PrepareForm(mode);
    if (!ownerShowing) return wizard->ShowModal() == mrOk;
    return RunModalReplacing(wizard, owner) == mrOk;
}

bool TFrameProfile::AskProfileName(AnsiString& name) {
    ProfileNamePrompt prompt;
    prompt.Texts = &Texts;
    prompt.Message = [this](int flags, const AnsiString& text) {
        return ShowPageMessage(flags, text);
    };
    prompt.Exists = [this](const AnsiString& typed) { return FindProfileItem(typed) != nullptr; };
    prompt.StillWanted = [this] { return Adapter != nullptr; };
    return AskProfileNameOver(OwnerForm(), prompt, name);
}

// ---- commands ----

void TFrameProfile::BtnConnectClick(TObject*) {
    TListItem* item = LvProf->Selected();
    if (!item || !Adapter) return;
    // The worker refuses such a profile too; the user hears of it here.
    if (!ProfileIsUsable(*item->Record<WLProfile>())) {
        ShowPageMessage(kMsgStop | kMsgOk,
                        FillFirstPlaceholder(Texts.ErUseProfile, item->Caption()));
        FocusList();
        return;
    }
    Adapter->ApplyProfileByName(item->Caption(), OwnerForm());
    if (TForm* main = Application->MainForm())
        PostMessageA(main->Handle(), BroadcastMsgId, bmShowPage, spInfoPage);
}

void TFrameProfile::BtnNewClick(TObject*) {
    // The wizard edits EditProfile while it shows: nothing may fill it meanwhile.
    if (!Adapter || (FormMain && FormMain->ProfileWizardShowing())) return;
    AnsiString name;
    if (!AskProfileName(name)) return;
    if (FormMain && FormMain->ProfileWizardShowing()) return;
    WLProfile& edited = FAGlobalVar.EditProfile;
    edited = FAGlobalVar.DefaultProfile;
    SetTextField(edited.ProfileName, name);
    SetTextField(edited.NetworkInfo.NI_sz_CurProfile, name);
    RunProfileWizard(WizardModeNew);
}

void TFrameProfile::BtnEditClick(TObject*) {
    TListItem* item = LvProf->Selected();
    if (!item || !Adapter || (FormMain && FormMain->ProfileWizardShowing())) return;
    FAGlobalVar.EditProfile = *item->Record<WLProfile>();
    EditedItem = item;
    RunProfileWizard(WizardModeEdit);
}

void TFrameProfile::BtnDeleteClick(TObject*) {
    TListItem* item = LvProf->Selected();
    if (!item || !Adapter) return;
    AnsiString name = item->Caption();
    int index = item->Index();
    if (!Adapter->DeleteProfile(name)) {
        ShowPageMessage(kMsgStop | kMsgOk, FillFirstPlaceholder(Texts.ErDeleteProfile, name));
        FocusList();
        return;
    }
    RemoveProfileItem(item);
    TListItems* items = LvProf->Items();
    if (index >= items->Count()) index = items->Count() - 1;
    if (index >= 0) SelectProfileItem(items->Item(index));
    FocusList();
}

void TFrameProfile::BtnImportClick(TObject*) {
    if (!Adapter) return;
    OpenDlgProf->Title = FAGlobalVar.MsgTitle;
    OpenDlgProf->FileName = AnsiString("*") + kProfileExt;
    if (!OpenDlgProf->Execute()) return;
    std::vector<AnsiString> files;
    for (int i = 0; i < OpenDlgProf->Files()->Count(); ++i)
        files.push_back(OpenDlgProf->Files()->Strings(i));
    for (const AnsiString& file : files) {
        if (!Adapter) break;
        ImportProfileFile(file);
    }
    FocusList();
}

void TFrameProfile::ImportProfileFile(const AnsiString& file) {
    if (!FileThere(file)) return;
    ImportName name = ReadImportName(file, IniListLookup);
    if (name.Check != ProfileNameCheck::Ok) {
        DebugPrint("%s", ImportSkippedLine(file, name).c_str());
        return;
    }
    // The store keeps the spelling a name was first stored with: a replacing import keeps it.
    AnsiString storeName = name.Name;
    if (TListItem* existing = FindProfileItem(name.Name)) {
        storeName = existing->Caption();
        AnsiString question = FillFirstPlaceholder(Texts.PromptReProfile, storeName);
        if (ShowPageMessage(kMsgQuestion | kMsgOkCancel, question) != kAnswerOk || !Adapter) return;
    }
    // The old profile stays until the new one is in: a damaged file loses nothing.
    WLProfile imported = FAGlobalVar.DefaultProfile;
    bool done;
    {
        THourglass wait;
        done = Adapter->ImportProfile(file, storeName, &imported);
    }
    if (!done) {
        ShowPageMessage(kMsgStop | kMsgOk, FillFirstPlaceholder(Texts.ErImportProfile, storeName));
        return;
    }
    // The worker's copy took the old record's place; the row of the old one goes.
    if (TListItem* old = FindProfileItem(storeName)) RemoveProfileItem(old);
    SelectProfileItem(AddProfileItem(imported));
}

void TFrameProfile::BtnExportClick(TObject*) {
    TListItem* item = LvProf->Selected();
    if (!item || !Adapter) return;
    AnsiString name = item->Caption();
    SaveDlgProf->Title = FAGlobalVar.MsgTitle;
    SaveDlgProf->FileName = name + kProfileExt;
    if (!SaveDlgProf->Execute()) return;
    if (!Adapter || !FindProfileItem(name)) return;
    {
        THourglass wait;
        Adapter->ExportProfile(SaveDlgProf->FileName, name);
    }
    FocusList();
}
