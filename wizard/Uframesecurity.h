// The wizard's security type page: the kinds of security the network's type allows.
#pragma once

#include "../classlib/ExtCtrls.h"
#include "../classlib/StdCtrls.h"
#include "../monitor/Propertypageframeunit.h"

class TFrameSecurity : public TPropertyPageFrame {
public:
    explicit TFrameSecurity(TComponent* owner);

    // Background and list by the profile's network type; the profile's kind selected, else
    // "Disabled".
    bool EnterPage(TPropertyPageFrame* other, int direction, int mode) override;
    // Forward: EncryptionMethod, resetting the other security fields when it changes.
    bool LeavePage(TPropertyPageFrame* other, int direction, int mode) override;

    TImage* ImgBG;
    TComboBox* CmbSecurity;
};
