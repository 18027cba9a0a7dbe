// The last page: plug the adapter in.
#pragma once

#include "Pagepropertyunit.h"

class TPlugPage : public TSetupPage {
public:
    explicit TPlugPage(TComponent* owner) : TSetupPage(owner, "ImgPlugPage") {}
};
