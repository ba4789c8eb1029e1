#pragma once
// The two lists the main dialog keeps in the registry, most recently chosen first.

#include <cstdint>
#include <string>

#include "translate/manager/SupportedDirections.h"

namespace tray {

// The chosen direction first, its later occurrences removed, cut to count * 6 characters.
std::u16string PushFavouriteDirection(const translate::Direction& direction,
                                      const translate::DirectionList& favourites,
                                      std::int32_t count);
// The chosen service id first and its later occurrences removed; no cap.
std::u16string PushServicePriority(const std::u16string& id, const std::u16string& priority);

}  // namespace tray
