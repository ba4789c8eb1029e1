#pragma once
// The display name of a direction, as the main dialog and the tray menu show it: the names of
// its source ("en-") and target ("-ru") parts from translate_direction.properties.

#include "foundation/config/Properties.h"
#include "translate/manager/SupportedDirections.h"

namespace translate {

// Names are read with the table's inserting lookup; a missing key gives "".
std::u16string GetDirectionName(Properties& names, const Direction& direction);
// The same with the process-wide translate-direction table.
std::u16string GetDirectionName(const Direction& direction);

}  // namespace translate
