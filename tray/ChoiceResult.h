#pragma once
// What a choice in the dialog or the tray menu did to the user's settings.

namespace tray {

enum class ChoiceResult {
    Stored,
    Refused,    // nothing to choose (an item past the list, a direction no service supports)
    NotStored,  // a settings write failed: the user must hear of it
};

}  // namespace tray
