#pragma once
// The display procedure: the last step of every translation. Throws TranslateException.

#include <string>

#include "translate/manager/SupportedDirections.h"
#include "translate/target/DisplaySettings.h"
#include "translate/target/Target.h"

namespace translate::target {

// Windows: navigates the target's browser, opens Internet Explorer, or hands the request to a
// dialog class of the dialog server, as the display settings say. POSIX: hands it to the target's
// RequestDisplay.
void ShowRequest(const std::u16string& url, const Direction& direction, Target& target, const DisplaySettings& display);

}  // namespace translate::target
