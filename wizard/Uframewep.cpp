#include "Uframewep.h"

#include "../core/Ucontrolhelpers.h"
#include "../core/Udefine.h"
#include "../core/Uvyxwllib.h"
#include "../monitor/Uformres.h"
#include "Uwizardpage.h"

namespace {

const ControlSpec kLayout[] = {
    {"ImgBG", 0, 0, 572, 219},           {"CmbWEP", 119, 49, 121, 21},
    {"EdtPassphrase", 119, 80, 121, 21}, {"EdtKey1", 119, 111, 121, 21},
    {"EdtKey2", 119, 111, 121, 21},      {"EdtKey3", 119, 111, 121, 21},
    {"EdtKey4", 119, 111, 121, 21},      {"CmbTXKey", 119, 162, 122, 21},
    {"CmbAuthen", 119, 186, 122, 21},
};

const char kWrongKey[] = "You have entered an incorrect WEP key.\nPlease try again.";
constexpr char kMask = '*';

}  // namespace

TFrameWEP::TFrameWEP(TComponent* owner) : TPropertyPageFrame(owner) {
    SetBounds(0, 0, 572, 219);
    ImgBG = NewControl<TImage>(this, this, kLayout, "ImgBG");
    CmbWEP = NewControl<TComboBox>(this, this, kLayout, "CmbWEP");
    CmbWEP->SetTabStop(true);
    CmbWEP->OnSelect = Bind(this, &TFrameWEP::CmbWEPSelect);
    EdtPassphrase = NewControl<TEdit>(this, this, kLayout, "EdtPassphrase");
    EdtPassphrase->SetMaxLength(kWepPassphraseEditLength);
    EdtPassphrase->SetTabStop(true);
    EdtPassphrase->OnChange = Bind(this, &TFrameWEP::EdtPassphraseChange);
    EdtPassphrase->OnKeyPress = Bind(this, &TFrameWEP::EdtPassphraseKeyPress);
    TEdit** keys[kWepKeyCount] = {&EdtKey1, &EdtKey2, &EdtKey3, &EdtKey4};
    const char* names[kWepKeyCount] = {"EdtKey1", "EdtKey2", "EdtKey3", "EdtKey4"};
    for (int i = 0; i < kWepKeyCount; ++i) {
        TEdit* edit = *keys[i] = NewControl<TEdit>(this, this, kLayout, names[i]);
        edit->SetMaxLength(WepKeyLength(kWepLevel64));
        edit->SetTabStop(true);
        edit->OnChange = Bind(this, &TFrameWEP::EdtKey1Change);
        edit->OnKeyPress = Bind(this, &TFrameWEP::EdtKey1KeyPress);
    }
    CmbTXKey = NewControl<TComboBox>(this, this, kLayout, "CmbTXKey");
    CmbTXKey->SetTabStop(true);
    CmbTXKey->OnSelect = Bind(this, &TFrameWEP::CmbTXKeySelect);
    CmbAuthen = NewControl<TComboBox>(this, this, kLayout, "CmbAuthen");
    CmbAuthen->SetTabStop(true);
}

TEdit* TFrameWEP::KeyEdit(int index) const {
    switch (index) {
        case 0:
            return EdtKey1;
        case 1:
            return EdtKey2;
        case 2:
            return EdtKey3;
        case 3:
            return EdtKey4;
        default:
            return nullptr;
    }
}

void TFrameWEP::InitPage() {
    if (FormRes) ImgBG->Picture()->Assign(FormRes->ImgProfWEP->Picture());
    FillCombo(CmbTXKey, WepTxKeyChoices());
    FillCombo(CmbAuthen, WepAuthenChoices(FAGlobalVar.Words));
    EdtPassphrase->SetText("");
    for (int i = 0; i < kWepKeyCount; ++i) KeyEdit(i)->SetText("");
    TPropertyPageFrame::InitPage();
}

bool TFrameWEP::EnterPage(TPropertyPageFrame* other, int direction, int mode) {
    const WLProfile& profile = FAGlobalVar.EditProfile;
    FillCombo(CmbWEP, WepSizeChoices(FAGlobalVar.Words));
    SelectValueOrFirst(CmbWEP, profile.WEPEncryptionLevel);
    CmbWEPSelect(this);
    SelectValueOrFirst(CmbTXKey, profile.DefaultKey);
    CmbTXKeySelect(this);
    if (!SelectComboByValue(FAGlobalVar, CmbAuthen, profile.AuthenticationMode))
        SelectComboByValue(FAGlobalVar, CmbAuthen, 2);
    // The stored keys replace what the passphrase made of them.
    EdtPassphrase->SetText(TextField(profile.PassPhrase));
    const AnsiString stored[kWepKeyCount] = {TextField(profile.WEPKey1), TextField(profile.WEPKey2),
                                             TextField(profile.WEPKey3),
                                             TextField(profile.WEPKey4)};
    bool anyKey = false;
    for (int i = 0; i < kWepKeyCount; ++i) {
        KeyEdit(i)->SetText(stored[i]);
        anyKey = anyKey || !KeyEdit(i)->Text().empty();
    }
    EdtPassphrase->SetPasswordChar(EdtPassphrase->Text().empty() ? 0 : kMask);
    SetKeysMasked(anyKey);
    return TPropertyPageFrame::EnterPage(other, direction, mode);
}

bool TFrameWEP::LeavePage(TPropertyPageFrame* other, int direction, int mode) {
    if (direction != kPageForward) return true;
    AnsiString message = ErrorText("ErWEPKey", kWrongKey);
    std::array<WepKeyEdit, kWepKeyCount> edits;
    for (int i = 0; i < kWepKeyCount; ++i) {
        TEdit* edit = KeyEdit(i);
        edits[i] = {edit->Visible(), edit->Text().size(), edit->MaxLength()};
    }
    int shortKey = FirstShortWepKey(edits);
    if (shortKey >= 0) {
        TEdit* edit = KeyEdit(shortKey);
        if (edit->CanFocus()) edit->SetFocus();
        ShowPageError(kMsgStop, message);
        return false;
    }
    AnsiString passphrase = EdtPassphrase->Text();
    if (passphrase.size() > kWepPassphraseMax) {
        passphrase.resize(kWepPassphraseMax);
        EdtPassphrase->SetText(passphrase);
    }
    WepEntry entry;
    entry.Level = static_cast<int32_t>(SelectedComboValue(CmbWEP, kWepLevel64));
    entry.DefaultKey = static_cast<int32_t>(SelectedComboValue(CmbTXKey, 0));
    entry.AuthenticationMode = static_cast<int32_t>(SelectedComboValue(CmbAuthen, 2));
    entry.Passphrase = passphrase;
    for (int i = 0; i < kWepKeyCount; ++i) entry.Keys[i] = KeyEdit(i)->Text();
    StoreWepEntry(FAGlobalVar.EditProfile, entry);
    return TPropertyPageFrame::LeavePage(other, direction, mode);
}

int TFrameWEP::ShowPageError(int flags, const AnsiString& text) {
    return ShowWizardMessage(this, flags, text);
}

void TFrameWEP::SetKeysMasked(bool masked) {
    for (int i = 0; i < kWepKeyCount; ++i) KeyEdit(i)->SetPasswordChar(masked ? kMask : 0);
}

void TFrameWEP::CmbWEPSelect(TObject*) {
    int length = WepKeyLength(static_cast<int32_t>(SelectedComboValue(CmbWEP, kWepLevel64)));
    for (int i = 0; i < kWepKeyCount; ++i) KeyEdit(i)->SetMaxLength(length);
    EdtPassphrase->SetEnabled(true);
    EdtPassphrase->SetText("");
    for (int i = 0; i < kWepKeyCount; ++i) KeyEdit(i)->SetText("");
}

void TFrameWEP::CmbTXKeySelect(TObject*) {
    if (CmbTXKey->ItemIndex() < 0) return;
    intptr_t shown = SelectedComboValue(CmbTXKey, 0);
    for (int i = 0; i < kWepKeyCount; ++i) KeyEdit(i)->SetVisible(i == shown);
}

void TFrameWEP::EdtPassphraseChange(TObject*) {
    AnsiString passphrase = EdtPassphrase->Text();
    if (passphrase.empty()) {
        for (int i = 0; i < kWepKeyCount; ++i) KeyEdit(i)->SetText("");
    } else if (DriverLib.VYXWL_PassphraseToWEPKey) {
        WEPKeyOutput output;
        int32_t level = static_cast<int32_t>(SelectedComboValue(CmbWEP, kWepLevel64));
        if (DriverLib.VYXWL_PassphraseToWEPKey(passphrase.c_str(), level, &output) == 1) {
            std::array<AnsiString, kWepKeyCount> keys = WepKeysFromOutput(output);
            for (int i = 0; i < kWepKeyCount; ++i) KeyEdit(i)->SetText(keys[i]);
        }
    }
    SetKeysMasked(false);
}

void TFrameWEP::EdtPassphraseKeyPress(TObject*, char& key) {
    UnmaskForKey(EdtPassphrase, key);
}

void TFrameWEP::EdtKey1Change(TObject* sender) {
    auto* edit = dynamic_cast<TEdit*>(sender);
    if (!edit) return;
    AnsiString text = edit->Text();
    AnsiString filtered = FilterHexKey(text, edit->MaxLength());
    if (filtered == text) return;
    edit->SetText(filtered);
    edit->SetSelStart(static_cast<int>(filtered.size()));
}

void TFrameWEP::EdtKey1KeyPress(TObject* sender, char& key) {
    if (auto* edit = dynamic_cast<TEdit*>(sender)) UnmaskForKey(edit, key);
}
