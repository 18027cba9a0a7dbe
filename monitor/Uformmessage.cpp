#include "Uformmessage.h"

#include "../classlib/Application.h"
#include "../core/Udefine.h"
#include "Uformlayout.h"
#include "Uskinwindow.h"

namespace {

const ControlSpec kLayout[] = {
    {"ImgIcon", 8, 16, 33, 33},
    {"LbMsg", 49, 8, kMessageLabelMinWidth, kMessageLabelMinHeight},
    {"BtnOk", 0, 0, 75, 25},
    {"BtnCancel", 0, 0, 75, 25},
};

// The system's icon of a kind; null for none.
LPCSTR SystemIcon(MessageIcon kind) {
    static const struct {
        MessageIcon Kind;
        LPCSTR Icon;
    } kIcons[] = {
        {MessageIcon::Stop, IDI_HAND},
        {MessageIcon::Question, IDI_QUESTION},
        {MessageIcon::Exclamation, IDI_EXCLAMATION},
        {MessageIcon::Information, IDI_ASTERISK},
    };
    for (const auto& entry : kIcons)
        if (entry.Kind == kind) return entry.Icon;
    return nullptr;
}

TTrifaceBtn* NewButton(TFormMessage* form, const char* name) {
    auto* button = NewControl<TTrifaceBtn>(form, form, kLayout, name);
    button->SetColor(clBtnFace);
    button->SetTabStop(true);
    button->Hide();
    return button;
}

}  // namespace

TFormMessage::TFormMessage(TComponent* owner) : TFormBase(owner) {
    SetBorderStyle(bsDialog);
    SetPosition(poDesigned);
    SetColor(clWhite);
    Font()->SetName("Arial");
    Font()->SetSize(8);

    ImgIcon = NewControl<TImage>(this, this, kLayout, "ImgIcon");
    LbMsg = NewControl<TLabel>(this, this, kLayout, "LbMsg");
    LbMsg->SetColor(clWhite);
    LbMsg->SetAlignment(taCenter);
    LbMsg->SetLayout(tlCenter);
    LbMsg->SetWordWrap(true);
    BtnOk = NewButton(this, "BtnOk");
    BtnCancel = NewButton(this, "BtnCancel");
}

bool TFormMessage::LayoutMessage(int flags, const AnsiString& text) {
    MessageText message = SplitMessageText(text);
    TBitmap measure;
    measure.SetSize(1, 1);
    measure.Canvas()->Font()->Assign(*LbMsg->Font());
    SIZE extent = measure.Canvas()->TextExtent(message.LongestLine + kMessageMeasurePad);
    LabelSize size = MessageLabelSize(extent.cx, extent.cy, message.Lines);
    LbMsg->SetBounds(LbMsg->Left(), LbMsg->Top(), size.Width, size.Height);
    LbMsg->SetCaption(message.Text);
    return PrepareForm(flags);
}

void TFormMessage::ShowIcon(LPCSTR icon) {
    TPicture* picture = ImgIcon->Picture();
    TBitmap* bitmap = picture->Bitmap();
    bitmap->SetSize(ImgIcon->Width(), ImgIcon->Height());
    TCanvas* canvas = bitmap->Canvas();
    canvas->Brush.Color = Color();
    RECT all = {0, 0, bitmap->Width(), bitmap->Height()};
    canvas->FillRect(all);
    DrawIcon(canvas->Handle(), 0, 0, LoadIconA(nullptr, icon));
    picture->Changed();
}

bool TFormMessage::PrepareForm(int flags) {
    SetCaption(FAGlobalVar.MsgTitle);
    ImgIcon->Show();

    MessageButtons buttons = MessageButtonsFor(flags);
    MessageFormLayout layout =
        LayoutMessageForm(LbMsg->Left(), LbMsg->Top(), LbMsg->Width(), LbMsg->Height(),
                          BtnOk->Width(), BtnOk->Height(), buttons);
    BtnOk->SetTop(layout.ButtonTop);
    BtnCancel->SetTop(layout.ButtonTop);
    SetClientHeight(layout.ClientHeight);
    SetClientWidth(layout.ClientWidth);

    if (LPCSTR icon = SystemIcon(MessageIconFor(flags))) {
        ShowIcon(icon);
    } else {
        ImgIcon->Hide();
    }

    for (TTrifaceBtn* button : {BtnOk, BtnCancel}) {
        button->SetModalResult(mrNone);
        button->Hide();
    }
    TTextReader words = FAGlobalVar.TextSection("BtnCaption");
    if (buttons == MessageButtons::Ok) {
        BtnOk->SetLeft(layout.OkLeft);
        BtnOk->SetCaption(words("BtnOk", "Ok"));
        BtnOk->SetModalResult(mrOk);
        BtnOk->Show();
    } else {
        bool yesNo = buttons == MessageButtons::YesNo;
        BtnOk->SetLeft(layout.OkLeft);
        BtnCancel->SetLeft(layout.CancelLeft);
        BtnOk->SetCaption(yesNo ? words("BtnYes", "Yes") : words("BtnOk", "Ok"));
        BtnCancel->SetCaption(yesNo ? words("BtnNo", "No") : words("BtnCancel", "Cancel"));
        BtnOk->SetModalResult(yesNo ? mrYes : mrOk);
        BtnCancel->SetModalResult(yesNo ? mrNo : mrCancel);
        BtnOk->Show();
        BtnCancel->Show();
    }
    return TFormBase::PrepareForm(flags);
}

int ShowMessageBox(TFormMessage* form, TForm* owner, int flags, const AnsiString& text) {
    form->LayoutMessage(flags, text);
    CentreOver(form, owner);
    return form->ShowModal();
}
