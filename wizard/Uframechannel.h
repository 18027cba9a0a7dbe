// The wizard's channel page, shown for ad hoc networks: the wireless mode and the channel, as
// the adapter allows them.
#pragma once

#include <cstdint>

#include "../classlib/ExtCtrls.h"
#include "../classlib/StdCtrls.h"
#include "../monitor/Propertypageframeunit.h"

class TFrameChannel : public TPropertyPageFrame {
public:
    explicit TFrameChannel(TComponent* owner);

    void InitPage() override;
    // Fills the mode list from the adapter's (or the settings') mode code and the channel list
    // from the worker; selects the profile's channel when it is listed.
    bool EnterPage(TPropertyPageFrame* other, int direction, int mode) override;
    // Forward: Channel and ABGMode, the template's where nothing is selected.
    bool LeavePage(TPropertyPageFrame* other, int direction, int mode) override;
    void AdapterChanged(CAdapter* adapter, int kind, int reserved) override;

    // The channels the adapter allows in band, one item each.
    void AddBandChannels(int32_t band);

    TImage* ImgBG;
    TComboBox* CmbChannel;
    TComboBox* CmbMode;
    CAdapter* Adapter = nullptr;

private:
    void CmbModeSelect(TObject* sender);
};
