// The welcome page: never shown, its content is the main window's welcome background.
#pragma once

#include "Pagepropertyunit.h"

class TWelcomePage : public TSetupPage {
public:
    explicit TWelcomePage(TComponent* owner) : TSetupPage(owner, nullptr) {}
};
