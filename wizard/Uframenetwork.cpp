#include "Uframenetwork.h"

#include <cstring>

#include "../classlib/Application.h"
#include "../core/Udefine.h"
#include "../core/Uvyxwllib.h"
#include "../monitor/Uformmessage.h"
#include "../monitor/Uformres.h"
#include "../monitor/Uiprules.h"

namespace {

const ControlSpec kLayout[] = {
    {"ImgBG", 0, 0, 572, 219},
    {"RBtnDHCP", 46, 48, 16, 17},
    {"LbDHCP", 64, 48, 230, 17, "Obtain an IP address automatically"},
    {"RBtnIP", 46, 88, 16, 17},
    {"LbIP", 64, 88, 230, 17, "Use the following IP address"},
    {"FmIPIP", 124, 127, 112, 17},
    {"FmIPMask", 124, 156, 112, 17},
    {"FmIPGateway", 124, 185, 112, 17},
    {"FmIPDNS1", 326, 127, 112, 17},
    {"FmIPDNS2", 326, 156, 112, 17},
};

constexpr uint16_t kStaticFlags = 0x7;  // bit 0 is the static address; 1 and 2 go with it
constexpr int kStopIconOk = 0x10;
constexpr size_t kAddressText = 260;

// The five frames beside the five addresses of a NetworkInfo, in the order they are read and
// stored.
struct TAddressSlot {
    TFrameIP* Frame;
    uint8_t* Field;
};

std::array<TAddressSlot, 5> Slots(const std::array<TFrameIP*, 5>& frames, NetworkInfo& info) {
    return {{{frames[0], info.NI_IpAddr},
             {frames[1], info.NI_IpMask},
             {frames[2], info.NI_IpGate1},
             {frames[3], info.NI_IpDNS1},
             {frames[4], info.NI_IpDNS2}}};
}

}  // namespace

TFrameNetwork::TFrameNetwork(TComponent* owner) : TPropertyPageFrame(owner) {
    SetBounds(0, 0, 572, 219);
    Font()->SetName("Arial");

    ImgBG = NewControl<TImage>(this, this, kLayout, "ImgBG");
    ImgBG->OnClick = Bind(this, &TFrameNetwork::ImgBGClick);

    // Each choice is a radio button with a label beside it whose click checks the button.
    auto label = [this](const char* name, void (TFrameNetwork::*click)(TObject*)) {
        auto* label = NewControl<TLabel>(this, this, kLayout, name);
        label->SetTransparent(true);
        label->SetLayout(tlCenter);
        label->OnClick = Bind(this, click);
        return label;
    };
    RBtnDHCP = NewControl<TRadioButton>(this, this, kLayout, "RBtnDHCP");
    RBtnDHCP->OnClick = Bind(this, &TFrameNetwork::RBtnIPClick);
    LbDHCP = label("LbDHCP", &TFrameNetwork::LbDHCPClick);
    RBtnIP = NewControl<TRadioButton>(this, this, kLayout, "RBtnIP");
    RBtnIP->OnClick = Bind(this, &TFrameNetwork::RBtnIPClick);
    LbIP = label("LbIP", &TFrameNetwork::LbIPClick);

    FmIPIP = NewControl<TFrameIP>(this, this, kLayout, "FmIPIP");
    FmIPMask = NewControl<TFrameIP>(this, this, kLayout, "FmIPMask");
    FmIPMask->OnEnter = Bind(this, &TFrameNetwork::FmIPMaskEnter);
    FmIPGateway = NewControl<TFrameIP>(this, this, kLayout, "FmIPGateway");
    FmIPDNS1 = NewControl<TFrameIP>(this, this, kLayout, "FmIPDNS1");
    FmIPDNS2 = NewControl<TFrameIP>(this, this, kLayout, "FmIPDNS2");
}

std::array<TFrameIP*, 5> TFrameNetwork::AddressFrames() const {
    return {FmIPIP, FmIPMask, FmIPGateway, FmIPDNS1, FmIPDNS2};
}

void TFrameNetwork::InitPage() {
    if (FormRes) ImgBG->Picture()->Assign(FormRes->ImgProfNetwork->Picture());
}

bool TFrameNetwork::EnterPage(TPropertyPageFrame* other, int direction, int mode) {
    NetworkInfo& info = FAGlobalVar.EditProfile.NetworkInfo;
    char text[kAddressText];
    for (const TAddressSlot& slot : Slots(AddressFrames(), info)) {
        // Cleared for each address: a conversion that writes nothing shows nothing, not the
        // address before it.
        std::memset(text, 0, sizeof(text));
        DriverLib.VYXWL_IPDataToStr(slot.Field, text);
        slot.Frame->SetIPText(TextField(text));
    }
    // Checking the button that is already checked runs no click: the frames stay as loaded.
    if (info.NI_wNetFlags & 0x1)
        RBtnIP->SetChecked(true);
    else
        RBtnDHCP->SetChecked(true);
    return TPropertyPageFrame::EnterPage(other, direction, mode);
}

bool TFrameNetwork::LeavePage(TPropertyPageFrame* other, int direction, int mode) {
    if (direction == kPageForward) {
        if (RBtnIP->Checked() && !StaticSettingsComplete()) return false;
        WLProfile& profile = FAGlobalVar.EditProfile;
        profile.ApplyNetwork = 1;
        NetworkInfo& info = profile.NetworkInfo;
        if (RBtnIP->Checked())
            info.NI_wNetFlags = static_cast<uint16_t>(info.NI_wNetFlags | kStaticFlags);
        else
            info.NI_wNetFlags = static_cast<uint16_t>(info.NI_wNetFlags & ~kStaticFlags);
        for (const TAddressSlot& slot : Slots(AddressFrames(), info))
            DriverLib.VYXWL_StrToIPData(slot.Frame->GetIPText().c_str(), slot.Field);
    }
    return TPropertyPageFrame::LeavePage(other, direction, mode);
}

bool TFrameNetwork::StaticSettingsComplete() {
    // What leaving the octets would have made of them, so an octet still being typed (or a
    // pasted "-5") counts as the number it will be; an octet never typed stays empty.
    for (TFrameIP* frame : AddressFrames()) frame->NormalizeTyped();
    TStaticIPFault fault = CheckStaticIP(FmIPIP->GetIPText(), FmIPMask->GetIPText());
    if (fault == TStaticIPFault::None) return true;
    TFrameIP* frame = fault == TStaticIPFault::Address ? FmIPIP : FmIPMask;
    for (TEdit* edit : {frame->EditIP1, frame->EditIP2, frame->EditIP3, frame->EditIP4}) {
        if (!edit->Text().empty()) continue;
        if (edit->CanFocus()) edit->SetFocus();
        break;
    }
    TStringText message = StaticIPFaultText(fault);
    ShowPageError(kStopIconOk, FAGlobalVar.ReadTextString("ErMsg", message.Key, message.Default));
    return false;
}

void TFrameNetwork::ShowPageError(int flags, const AnsiString& text) {
    TAutoFree<TFormMessage> dialog(NewForm<TFormMessage>(Application));
    ShowMessageBox(dialog.get(), GetParentForm(this), flags, text);
}

void TFrameNetwork::EnableIPFields(bool enabled) {
    for (TFrameIP* frame : AddressFrames()) frame->SetEnabled(enabled);
}

void TFrameNetwork::RBtnIPClick(TObject*) {
    bool useStatic = RBtnIP->Checked();
    EnableIPFields(useStatic);
    if (useStatic) return;
    for (TFrameIP* frame : AddressFrames()) frame->SetIPText("");
}

void TFrameNetwork::FmIPMaskEnter(TObject*) {
    // A mask already there is never replaced.
    AnsiString mask = ProposedMask(FmIPMask->GetIPText(), FmIPIP->GetIPText());
    if (!mask.empty()) FmIPMask->SetIPText(mask);
}

void TFrameNetwork::LbDHCPClick(TObject*) {
    RBtnDHCP->SetChecked(true);
}

void TFrameNetwork::LbIPClick(TObject*) {
    RBtnIP->SetChecked(true);
}

void TFrameNetwork::ImgBGClick(TObject*) {
    if (CanFocus()) SetFocus();
}
