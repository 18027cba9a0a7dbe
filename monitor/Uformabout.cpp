#include "Uformabout.h"

#include <shellapi.h>

#include "../classlib/Application.h"
#include "../core/Uadapter.h"
#include "../core/Udefine.h"
#include "../core/UdefineWin.h"

TFormAbout* FormAbout = nullptr;

namespace {

const ControlSpec kLayout[] = {
    {"PanelLogo", 10, 13, 155, 52},
    {"ImgLogo", 2, 2, 151, 48},
    {"LbRight", 10, 73, 348, 14, "Copyright (C) Tervalo Corporation. All rights reserved."},
    {"PanelInfo", 12, 92, 343, 65},
    {"LbUtyVer", 8, 16, 201, 16, "Utility Version:"},
    {"LblUtyVer", 216, 16, 113, 16},
    {"LbDrvVer", 8, 40, 201, 16, "Driver Version:"},
    {"LblDrvVer", 216, 40, 113, 16},
    {"Bevel1", 7, 172, 353, 3},
    {"BtnOk", 280, 184, 75, 25, "Ok"},
};

AnsiString ProgramVersion(int parts) {
    return GetFileVersionString(Application->ExeName(), parts);
}

}  // namespace

TFormAbout::TFormAbout(TComponent* owner) : TFormBase(owner) {
    SetBorderStyle(bsDialog);
    Font()->SetName("Arial");
    SetClientWidth(367);
    SetClientHeight(218);
    SetCaption("About");

    PanelLogo = NewControl<TPanel>(this, this, kLayout, "PanelLogo");
    PanelLogo->SetBevelInner(bvLowered);
    PanelLogo->SetBevelOuter(bvLowered);
    ImgLogo = NewControl<TImage>(this, PanelLogo, kLayout, "ImgLogo");
    ImgLogo->Picture()->LoadFromResourceName(GetModuleHandleA(nullptr), "ImgAboutLogo");
    ImgLogo->OnClick = Bind(this, &TFormAbout::ImgLogoClick);

    LbRight = NewControl<TLabel>(this, this, kLayout, "LbRight");

    PanelInfo = NewControl<TPanel>(this, this, kLayout, "PanelInfo");
    PanelInfo->SetBevelOuter(bvLowered);
    LbUtyVer = NewControl<TLabel>(this, PanelInfo, kLayout, "LbUtyVer");
    LbUtyVer->SetAlignment(taRightJustify);
    LblUtyVer = NewControl<TLabel>(this, PanelInfo, kLayout, "LblUtyVer");
    LblUtyVer->OnMouseDown = Bind(this, &TFormAbout::LblUtyVerMouseDown);
    LbDrvVer = NewControl<TLabel>(this, PanelInfo, kLayout, "LbDrvVer");
    LbDrvVer->SetAlignment(taRightJustify);
    LblDrvVer = NewControl<TLabel>(this, PanelInfo, kLayout, "LblDrvVer");

    Bevel1 = NewControl<TBevel>(this, this, kLayout, "Bevel1");
    Bevel1->SetShape(bsTopLine);

    BtnOk = NewControl<TTrifaceBtn>(this, this, kLayout, "BtnOk");
    BtnOk->SetColor(clBtnFace);
    BtnOk->SetTabStop(true);
    BtnOk->OnClick = Bind(this, &TFormAbout::BtnOkClick);
}

bool TFormAbout::PrepareForm(int arg) {
    TTextReader texts = FAGlobalVar.TextSection("FormAbout");
    SetCaption(texts("Caption", Caption()));
    ReadTexts(texts, {LbRight, LbUtyVer, LbDrvVer});
    ReadTexts(FAGlobalVar.TextSection("BtnCaption"), {BtnOk});

    WebAddress = texts("WEB", "");
    ImgLogo->SetCursor(WebAddress.empty() ? crDefault : crHandPoint);

    LblUtyVer->SetCaption(ProgramVersion(2));
    LblUtyVer->Tag = 0;
    ResetDriverVersion();
    return TFormBase::PrepareForm(arg);
}

void TFormAbout::ResetDriverVersion() {
    LblDrvVer->SetCaption("");
    DriverVersionShown = false;
}

void TFormAbout::ShowDriverVersion(const AnsiString& version) {
    LblDrvVer->SetCaption(version);
    DriverVersionShown = true;
}

void TFormAbout::AdapterChanged(CAdapter* adapter, int kind, int reserved) {
    (void)reserved;
    if (kind == acAttached) {
        Adapter = adapter;
    } else if (kind == acDetached) {
        Adapter = nullptr;
        ResetDriverVersion();
    }
}

void TFormAbout::AdapterEvent(CAdapter* adapter, int type, int value) {
    (void)adapter;
    (void)value;
    if (type != aeStatusUpdated || !Adapter || DriverVersionShown) return;
    DriverInfo info;
    if (Adapter->GetDriverInfo(info)) ShowDriverVersion(TextField(info.Version));
}

void TFormAbout::BtnOkClick(TObject*) {
    Close();
}

void TFormAbout::ImgLogoClick(TObject*) {
    if (WebAddress.empty()) return;
    ShellExecuteA(nullptr, "open", WebAddress.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
}

void TFormAbout::LblUtyVerMouseDown(TObject*, TMouseButton, TShiftState shift, int, int) {
    // A hidden switch: Shift, Alt and F held show the version in full.
    if (!(shift & ssShift) || !(shift & ssAlt) || !(GetAsyncKeyState('F') & 0x8000)) return;
    if (LblUtyVer->Tag != 0) {
        LblUtyVer->SetCaption(ProgramVersion(2));
        LblUtyVer->Tag = 0;
    } else {
        LblUtyVer->SetCaption(ProgramVersion(4));
        LblUtyVer->Tag = 1;
    }
}
