// The WPA-PSK page: the cipher and the pre-shared passphrase. The quick connect dialog shows a
// second one.
#pragma once

#include "../classlib/ExtCtrls.h"
#include "../classlib/StdCtrls.h"
#include "../monitor/Propertypageframeunit.h"

class TFrameWPAPSK : public TPropertyPageFrame {
public:
    explicit TFrameWPAPSK(TComponent* owner);

    // Background and the cipher list.
    void InitPage() override;
    // The cipher and the passphrase from EditProfile, a stored passphrase masked.
    bool EnterPage(TPropertyPageFrame* other, int direction, int mode) override;
    // Forward: refuses a passphrase of other than 8 to 63 characters once trimmed, else stores
    // the cipher, the trimmed passphrase and the authentication of the network's type.
    bool LeavePage(TPropertyPageFrame* other, int direction, int mode) override;
    // A keystroke past the passphrase's 63 characters is told through a posted message, so the
    // message shows once the edit has refused it.
    void WndProc(TMessage& msg) override;

    int ShowPageError(int flags, const AnsiString& text);

    TImage* ImgBG;
    TComboBox* CmbEncry;
    TEdit* EdtPassphrase;

    void EdtPassphraseKeyPress(TObject* sender, char& key);
};
