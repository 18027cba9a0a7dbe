// The quick connect dialog: asks for the key of a secured network picked from a network list,
// already turned into EditProfile. It offers WEP, and WPA-PSK on an infrastructure network,
// shows the WEP or the WPA-PSK page in a compact layout and, on Connect, writes the entered
// security into EditProfile. Made once at start and reused.
#pragma once

#include "../classlib/ExtCtrls.h"
#include "../classlib/StdCtrls.h"
#include "../monitor/Trifacebtn.h"
#include "../monitor/Uformbase.h"

class TFrameWEP;
class TFrameWPAPSK;
class TPropertyPageFrame;

class TFormConnectSet : public TFormBase {
public:
    explicit TFormConnectSet(TComponent* owner);

    // arg is EditProfile's EncryptionMethod. False, with nothing shown, for a security type the
    // dialog does not offer for the network's type.
    bool PrepareForm(int arg) override;

    TImage* ImgBG;
    TImage* ImgCaption;
    TTrifaceBtn* BtnConnect;
    TTrifaceBtn* BtnCancel;
    TFrameWEP* FrameWEP1;
    TFrameWPAPSK* FrameWPAPSK1;
    TComboBox* CmbSecurity;
    // The page now shown; none until a type is selected.
    TPropertyPageFrame* ActiveFrame = nullptr;

    void CmbSecuritySelect(TObject* sender);
    void BtnConnectClick(TObject* sender);
    void BtnCancelClick(TObject* sender);

private:
    void FormCreate(TObject* sender);
    void FormClose(TObject* sender, TCloseAction& action);
    void ImgBGMouseMove(TObject* sender, TShiftState shift, int x, int y);
    // The pages' controls moved to the dialog's places, its backgrounds put in.
    void LayoutFramesForDialog();
};

extern TFormConnectSet* FormConnectSet;
