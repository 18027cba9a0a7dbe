#include "Uframewpapsk.h"

#include "../core/Udefine.h"
#include "../monitor/Uformres.h"
#include "Ukeyrules.h"
#include "Uwizardpage.h"

namespace {

const ControlSpec kLayout[] = {
    {"ImgBG", 0, 0, 572, 219},
    {"CmbEncry", 119, 49, 122, 21},
    {"EdtPassphrase", 119, 96, 122, 21},
};

const char kWrongPassphrase[] = "Passphrase should be between 8 to 63 charachers.";
constexpr UINT kMsgPassphraseFull = WM_APP + 1;

AnsiString PassphraseMessage() {
    return ErrorText("ErPassphrase", kWrongPassphrase);
}

}  // namespace

TFrameWPAPSK::TFrameWPAPSK(TComponent* owner) : TPropertyPageFrame(owner) {
    SetBounds(0, 0, 572, 219);
    ImgBG = NewControl<TImage>(this, this, kLayout, "ImgBG");
    CmbEncry = NewControl<TComboBox>(this, this, kLayout, "CmbEncry");
    CmbEncry->SetTabStop(true);
    EdtPassphrase = NewControl<TEdit>(this, this, kLayout, "EdtPassphrase");
    EdtPassphrase->SetMaxLength(kPskPassphraseMax);
    EdtPassphrase->SetTabStop(true);
    EdtPassphrase->OnKeyPress = Bind(this, &TFrameWPAPSK::EdtPassphraseKeyPress);
}

void TFrameWPAPSK::InitPage() {
    if (FormRes) ImgBG->Picture()->Assign(FormRes->ImgProfWPAPSK->Picture());
    FillCombo(CmbEncry, PskCipherChoices(FAGlobalVar.Words));
    TPropertyPageFrame::InitPage();
}

bool TFrameWPAPSK::EnterPage(TPropertyPageFrame* other, int direction, int mode) {
    const WLProfile& profile = FAGlobalVar.EditProfile;
    SelectValueOrFirst(CmbEncry, profile.WPAEncryptionType);
    EdtPassphrase->SetText(TextField(profile.WPAPassphrase));
    EdtPassphrase->SetPasswordChar(EdtPassphrase->Text().empty() ? 0 : '*');
    return TPropertyPageFrame::EnterPage(other, direction, mode);
}

bool TFrameWPAPSK::LeavePage(TPropertyPageFrame* other, int direction, int mode) {
    if (direction != kPageForward) return true;
    AnsiString message = PassphraseMessage();
    int32_t cipher = static_cast<int32_t>(SelectedComboValue(CmbEncry, 1));
    if (!StorePskEntry(FAGlobalVar.EditProfile, cipher, EdtPassphrase->Text())) {
        if (EdtPassphrase->CanFocus()) EdtPassphrase->SetFocus();
        ShowPageError(kMsgStop, message);
        return false;
    }
    return TPropertyPageFrame::LeavePage(other, direction, mode);
}

void TFrameWPAPSK::WndProc(TMessage& msg) {
    TPropertyPageFrame::WndProc(msg);
    // The code first: an edit that goes tells its parent other codes while it is destroyed.
    if (msg.Msg == WM_COMMAND && HIWORD(msg.WParam) == EN_MAXTEXT &&
        EdtPassphrase->HandleAllocated() &&
        reinterpret_cast<HWND>(msg.LParam) == EdtPassphrase->Handle()) {
        PostMessageA(Handle(), kMsgPassphraseFull, 0, 0);
    } else if (msg.Msg == kMsgPassphraseFull) {
        ShowPageError(kMsgStop, PassphraseMessage());
    }
}

int TFrameWPAPSK::ShowPageError(int flags, const AnsiString& text) {
    return ShowWizardMessage(this, flags, text);
}

void TFrameWPAPSK::EdtPassphraseKeyPress(TObject*, char& key) {
    UnmaskForKey(EdtPassphrase, key);
}
