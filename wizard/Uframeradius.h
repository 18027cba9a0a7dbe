// The wizard's RADIUS page: an 802.1x login through a RADIUS server; the cipher and the
// authentication mode stay as they are.
#pragma once

#include "Uframeeap.h"

class TFrameRadius : public TFrameEap {
public:
    explicit TFrameRadius(TComponent* owner);

protected:
    TImage* Background(int32_t type) const override;
};
