// A profile as named items of text, the content of the library's profile
// files: one item per keyed field of WLProfile, in record order, named by the
// field's key and holding its text form.
#pragma once

#include <string>
#include <utility>
#include <vector>

#include "core/Uvyxwltypes.h"

namespace vyxsim {

using ProfileItem = std::pair<std::string, std::string>;

std::vector<ProfileItem> ProfileToItems(const WLProfile& profile);

// Sets the field the item names from its text; false for an unknown name or
// a text that is no value of the field (the field then stays as it was).
bool ApplyProfileItem(WLProfile& profile, const std::string& name, const std::string& text);

}  // namespace vyxsim
