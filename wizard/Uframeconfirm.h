// The wizard's summary page: what the profile now holds, before Save.
#pragma once

#include "../classlib/ExtCtrls.h"
#include "../classlib/StdCtrls.h"
#include "../monitor/Propertypageframeunit.h"

class TFrameConfirm : public TPropertyPageFrame {
public:
    explicit TFrameConfirm(TComponent* owner);

    void InitPage() override;
    // The ten labels from EditProfile.
    bool EnterPage(TPropertyPageFrame* other, int direction, int mode) override;

    TImage* ImgBG;
    TLabel* LbSSID;
    TLabel* LbNetType;
    TLabel* LbChannel;
    TLabel* LbWlMode;
    TLabel* LbSecurity;
    TLabel* LbAuthen;
    TLabel* LbIP;
    TLabel* LbMask;
    TLabel* LbGateway;
    TLabel* LbDNS;
};
