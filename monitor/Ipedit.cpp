#include "Ipedit.h"

#include "Uiprules.h"

namespace {

const ControlSpec kLayout[] = {
    {"ImgBG", 0, 0, 112, 17},          {"ImgDisableBG", 0, 0, 112, 17},
    {"EditIP1", 4, 2, 22, 14, "255"},  {"EditIP2", 32, 2, 22, 14, "255"},
    {"EditIP3", 60, 2, 22, 14, "255"}, {"EditIP4", 88, 2, 22, 14, "255"},
};
const char* const kEditNames[] = {"EditIP1", "EditIP2", "EditIP3", "EditIP4"};

constexpr TColor kEnabledFace = 0xFFFFFF;   // white
constexpr TColor kDisabledFace = 0xC0C0C0;  // silver

TImage* NewPicture(TFrameIP* frame, const char* name, const char* resource) {
    auto* image = NewControl<TImage>(frame, frame, kLayout, name);
    image->Picture()->LoadFromResourceName(GetModuleHandleA(nullptr), resource);
    return image;
}

}  // namespace

TFrameIP::TFrameIP(TComponent* owner) : TPropertyPageFrame(owner) {
    SetBounds(0, 0, 112, 17);
    SetColor(kEnabledFace);
    Font()->SetName("Arial");
    SetVisible(true);

    ImgBG = NewPicture(this, "ImgBG", "ImgIPBG");
    ImgDisableBG = NewPicture(this, "ImgDisableBG", "ImgIPDisableBG");
    for (size_t i = 0; i < edits_.size(); ++i) {
        TEdit* edit = NewControl<TEdit>(this, this, kLayout, kEditNames[i]);
        edit->SetBorder(false);
        edit->SetColor(kEnabledFace);
        edit->SetParentFont(false);
        edit->Font()->SetName("Arial");
        edit->Font()->SetHeight(-11);
        edit->SetMaxLength(3);
        // Three digits fill a cell; the system's margins would cut the last one.
        edit->SetMargins(0, 0);
        edit->OnKeyPress = Bind(this, &TFrameIP::EditIPKeyPress);
        edit->OnExit = Bind(this, &TFrameIP::EditIPExit);
        edits_[i] = edit;
    }
    EditIP1 = edits_[0];
    EditIP2 = edits_[1];
    EditIP3 = edits_[2];
    EditIP4 = edits_[3];
    OnExit = Bind(this, &TFrameIP::FrameExit);

    // A layout of other cells needs no other change.
    FirstLeft = EditIP1->Left();
    OctetStep = EditIP2->Left() - EditIP1->Left();
    OctetWidth = EditIP1->Width();

    ImgBG->Show();
    ImgDisableBG->Hide();
}

AnsiString TFrameIP::GetIPText() const {
    TOctets octets;
    for (size_t i = 0; i < edits_.size(); ++i) octets[i] = edits_[i]->Text();
    return JoinIPText(octets);
}

void TFrameIP::SetIPText(const AnsiString& text) {
    TOctets octets = SplitIPText(text);
    for (size_t i = 0; i < edits_.size(); ++i) edits_[i]->SetText(octets[i]);
    for (size_t i = 0; i < edits_.size(); ++i) LayoutOctet(edits_[i], static_cast<int>(i));
}

void TFrameIP::SetEnabled(bool enabled) {
    for (TEdit* edit : edits_) {
        edit->SetColor(enabled ? kEnabledFace : kDisabledFace);
        edit->SetEnabled(enabled);
    }
    ImgBG->SetVisible(enabled);
    ImgDisableBG->SetVisible(!enabled);
    TPropertyPageFrame::SetEnabled(enabled);
}

void TFrameIP::NormalizeTyped() {
    for (size_t i = 0; i < edits_.size(); ++i) {
        TEdit* edit = edits_[i];
        edit->SetText(NormalizeTypedOctet(edit->Text()));
        LayoutOctet(edit, static_cast<int>(i));
    }
}

void TFrameIP::EditIPKeyPress(TObject* sender, char& key) {
    int index = IndexOf(sender);
    if (index >= 0) FilterOctetKey(key, edits_[index]);
}

void TFrameIP::EditIPExit(TObject* sender) {
    int index = IndexOf(sender);
    if (index < 0) return;
    NormalizeOctet(edits_[index]);
    LayoutOctet(edits_[index], index);
}

void TFrameIP::FrameExit(TObject*) {
    for (TEdit* edit : edits_)
        if (edit->OnExit) edit->OnExit(edit);
}

void TFrameIP::FilterOctetKey(char& key, TEdit* edit) {
    switch (ClassifyOctetKey(key, edit->Text())) {
        case TOctetKey::NextOctet: {
            key = 0;
            int index = IndexOf(edit);
            if (index >= 0 && index + 1 < static_cast<int>(edits_.size()))
                edits_[index + 1]->SetFocus();
            break;
        }
        case TOctetKey::Swallow:
            key = 0;
            break;
        case TOctetKey::PassOn:
            break;
        case TOctetKey::Digit: {
            TOctetBox box =
                WidenForDigit({edit->Left(), edit->Width()}, {FirstLeft, OctetStep, OctetWidth});
            edit->SetBounds(box.Left, edit->Top(), box.Width, edit->Height());
            break;
        }
    }
}

void TFrameIP::NormalizeOctet(TEdit* edit) {
    edit->SetText(::NormalizeOctet(edit->Text()));
}

void TFrameIP::LayoutOctet(TEdit* edit, int index) {
    TOctetBox box = OctetBox(edit->Text().size(), index, {edit->Left(), edit->Width()},
                             {FirstLeft, OctetStep, OctetWidth});
    edit->SetBounds(box.Left, edit->Top(), box.Width, edit->Height());
}

int TFrameIP::IndexOf(const TObject* edit) const {
    for (size_t i = 0; i < edits_.size(); ++i)
        if (edits_[i] == edit) return static_cast<int>(i);
    return -1;
}
