// The WEP page: key size, an optional passphrase from which the driver library makes the four
// keys, the keys themselves, the transmit key and the authentication mode. The quick connect
// dialog shows a second one with the transmit key and authentication lists hidden.
#pragma once

#include "../classlib/ExtCtrls.h"
#include "../classlib/StdCtrls.h"
#include "../monitor/Propertypageframeunit.h"
#include "Ukeyrules.h"

class TFrameWEP : public TPropertyPageFrame {
public:
    explicit TFrameWEP(TComponent* owner);

    // Background, the transmit key and authentication lists; entries emptied.
    void InitPage() override;
    // The controls from EditProfile, the stored passphrase and keys masked. Never refuses.
    bool EnterPage(TPropertyPageFrame* other, int direction, int mode) override;
    // Forward: refuses a short key of the transmit key, else stores the WEP fields.
    bool LeavePage(TPropertyPageFrame* other, int direction, int mode) override;

    // The message dialog over the window that holds the page; its result.
    int ShowPageError(int flags, const AnsiString& text);
    // EdtKey1 to EdtKey4 by index 0 to 3.
    TEdit* KeyEdit(int index) const;

    TImage* ImgBG;
    TComboBox* CmbWEP;
    TEdit* EdtPassphrase;
    TEdit* EdtKey1;
    TEdit* EdtKey2;
    TEdit* EdtKey3;
    TEdit* EdtKey4;
    TComboBox* CmbTXKey;
    TComboBox* CmbAuthen;

    void CmbWEPSelect(TObject* sender);
    void CmbTXKeySelect(TObject* sender);
    void EdtPassphraseChange(TObject* sender);
    void EdtPassphraseKeyPress(TObject* sender, char& key);
    // Both bound to all four key edits; they act on the edit that raised the event.
    void EdtKey1Change(TObject* sender);
    void EdtKey1KeyPress(TObject* sender, char& key);

private:
    void SetKeysMasked(bool masked);
};
