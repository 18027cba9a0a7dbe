// The about box: the program's version and, once an adapter is attached and
// polled, the driver's. Made once at start, prepared once, shown without a modal
// run; it hears the same adapter notices as the main window's pages.
#pragma once

#include "../classlib/ExtCtrls.h"
#include "../classlib/StdCtrls.h"
#include "Trifacebtn.h"
#include "Uformbase.h"

class CAdapter;

class TFormAbout : public TFormBase {
public:
    explicit TFormAbout(TComponent* owner);

    // Texts of the string file, the web address and the program's version.
    bool PrepareForm(int arg) override;
    // acAttached: with its worker; acDetached: the driver version goes.
    void AdapterChanged(CAdapter* adapter, int kind, int reserved);
    // The first status poll (aeStatusUpdated) after an attach that gives the driver's
    // facts fills the driver version.
    void AdapterEvent(CAdapter* adapter, int type, int value);

    TPanel* PanelLogo;
    TImage* ImgLogo;
    TLabel* LbRight;
    TPanel* PanelInfo;
    TLabel* LbUtyVer;
    TLabel* LblUtyVer;
    TLabel* LbDrvVer;
    TLabel* LblDrvVer;
    TBevel* Bevel1;
    TTrifaceBtn* BtnOk;

    AnsiString WebAddress;  // opened by a click on the logo; empty: none
    CAdapter* Adapter = nullptr;
    bool DriverVersionShown = false;

private:
    void ResetDriverVersion();
    void ShowDriverVersion(const AnsiString& version);
    void BtnOkClick(TObject* sender);
    void ImgLogoClick(TObject* sender);
    void LblUtyVerMouseDown(TObject* sender, TMouseButton button, TShiftState shift, int x, int y);
};

extern TFormAbout* FormAbout;
