// The wizard's WPA page: an 802.1x login with the cipher of the network.
#pragma once

#include "Uframeeap.h"

class TFrameWPA : public TFrameEap {
public:
    explicit TFrameWPA(TComponent* owner);

protected:
    TImage* Background(int32_t type) const override;
};
