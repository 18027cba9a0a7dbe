#include "Uformaskinfo.h"

#include "../core/Udefine.h"
#include "Uformlayout.h"

TFormAskInfo* FormAskInfo = nullptr;

namespace {

const ControlSpec kLayout[] = {
    {"LbPrompt", 8, 8, 249, 16},
    {"EdtInput", 8, 32, 249, 22},
    {"BtnOk", 104, 72, 75, 25, "OK"},
    {"BtnCancel", 184, 72, 75, 25, "Cancel"},
};

// Profile names fill a 65-byte field with its NUL.
constexpr int kInputMaxLength = 64;

}  // namespace

TFormAskInfo::TFormAskInfo(TComponent* owner) : TFormBase(owner) {
    SetBorderStyle(bsDialog);
    SetPosition(poDesigned);
    Font()->SetName("Arial");
    SetClientWidth(265);
    SetClientHeight(108);

    LbPrompt = NewControl<TLabel>(this, this, kLayout, "LbPrompt");
    // Made first: first in the tab order.
    EdtInput = NewControl<TEdit>(this, this, kLayout, "EdtInput");
    EdtInput->SetMaxLength(kInputMaxLength);
    EdtInput->SetTabStop(true);
    BtnOk = NewControl<TButton>(this, this, kLayout, "BtnOk");
    BtnOk->SetTabStop(true);
    BtnOk->OnClick = Bind(this, &TFormAskInfo::BtnOkClick);
    // Return in the input answers OK, Esc Cancel, as in any dialog.
    BtnOk->SetDefault(true);
    BtnCancel = NewControl<TButton>(this, this, kLayout, "BtnCancel");
    BtnCancel->SetTabStop(true);
    BtnCancel->OnClick = Bind(this, &TFormAskInfo::BtnCancelClick);
    BtnCancel->SetCancel(true);
}

bool TFormAskInfo::PrepareForm(int arg) {
    SetCaption(FAGlobalVar.MsgTitle);
    LbPrompt->SetCaption("");
    ReadTexts(FAGlobalVar.TextSection("BtnCaption"), {BtnOk, BtnCancel});
    EdtInput->SetText("");
    return TFormBase::PrepareForm(arg);
}

void TFormAskInfo::SetPromptText(const AnsiString& caption, const AnsiString& prompt) {
    PrepareForm(0);
    SetCaption(caption);
    LbPrompt->SetCaption(prompt);
}

AnsiString TFormAskInfo::GetInputText() const {
    AnsiString text = EdtInput->Text();
    size_t first = 0, last = text.size();
    while (first < last && static_cast<unsigned char>(text[first]) <= ' ') ++first;
    while (last > first && static_cast<unsigned char>(text[last - 1]) <= ' ') --last;
    return text.substr(first, last - first);
}

void TFormAskInfo::WndProc(TMessage& msg) {
    // Typing starts in the input, also the first time the prompt shows.
    if (msg.Msg == WM_SETFOCUS && !ActiveControl() && EdtInput->CanFocus()) {
        EdtInput->SetFocus();
        return;
    }
    TFormBase::WndProc(msg);
}

void TFormAskInfo::BtnOkClick(TObject*) {
    EdtInput->SetFocus();
    SetModalResult(mrOk);
}

void TFormAskInfo::BtnCancelClick(TObject*) {
    EdtInput->SetFocus();
    SetModalResult(mrCancel);
}

bool AskProfileNameOver(TForm* owner, ProfileNamePrompt prompt, AnsiString& name) {
    if (!FormAskInfo || !prompt.Texts) return false;
    if (owner) {
        FormAskInfo->SetBounds(CentredStart(owner->Left(), owner->Width(), FormAskInfo->Width()),
                               CentredStart(owner->Top(), owner->Height(), FormAskInfo->Height()),
                               FormAskInfo->Width(), FormAskInfo->Height());
    }
    FormAskInfo->SetPromptText(prompt.Texts->AskProfNameCaption, prompt.Texts->AskProfNamePrompt);
    prompt.Ask = [](AnsiString& typed) {
        if (FormAskInfo->ShowModal() != mrOk) return false;
        typed = FormAskInfo->GetInputText();
        return true;
    };
    return RunProfileNamePrompt(prompt, name);
}
