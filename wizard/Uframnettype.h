// The wizard's network type page: infrastructure or ad hoc, and the network's name (SSID).
#pragma once

#include "../classlib/ExtCtrls.h"
#include "../classlib/StdCtrls.h"
#include "../monitor/Propertypageframeunit.h"

class TFrameNetType : public TPropertyPageFrame {
public:
    explicit TFrameNetType(TComponent* owner);

    void InitPage() override;
    bool EnterPage(TPropertyPageFrame* other, int direction, int mode) override;
    // Forward: stores NetworkMode, Ssid1 and, for infrastructure, the default wireless mode;
    // refuses an ad hoc network without an SSID.
    bool LeavePage(TPropertyPageFrame* other, int direction, int mode) override;

    TImage* ImgBG;
    TRadioButton* RBtnInfra;
    TLabel* LbInfra;
    TRadioButton* RBtnAdHoc;
    TLabel* LbAdHoc;
    TEdit* EdtSSID;

private:
    void LbInfraClick(TObject* sender);
    void LbAdHocClick(TObject* sender);
};
