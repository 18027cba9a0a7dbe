// The program's own message box: icon and buttons chosen by a flags word as the
// system's message box does, the message title of the string file, button
// captions from its section "BtnCaption", and a size that fits the text. Made for
// one message, shown with ShowMessageBox and freed.
#pragma once

#include "../classlib/ExtCtrls.h"
#include "../classlib/StdCtrls.h"
#include "Trifacebtn.h"
#include "Uformbase.h"

class TFormMessage : public TFormBase {
public:
    explicit TFormMessage(TComponent* owner);

    // Title, icon, buttons and window size for flags, around the label as sized.
    bool PrepareForm(int flags) override;
    // Sizes the label to text (backslash-n pairs break lines), then PrepareForm(flags).
    virtual bool LayoutMessage(int flags, const AnsiString& text);

    TImage* ImgIcon;
    TLabel* LbMsg;
    TTrifaceBtn* BtnOk;
    TTrifaceBtn* BtnCancel;

private:
    void ShowIcon(LPCSTR icon);
};

// Lays the dialog out, centres it over owner when that is showing (else on the
// screen) and runs it: 1 OK, 2 Cancel (also the system menu's close and bmCloseDialogs),
// 6 Yes, 7 No.
int ShowMessageBox(TFormMessage* form, TForm* owner, int flags, const AnsiString& text);
