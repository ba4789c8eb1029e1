#include "translate/manager/DirectionName.h"

#include "foundation/config/Settings.h"

namespace translate {

std::u16string GetDirectionName(Properties& names, const Direction& direction)
{
    const std::size_t dash = direction.find(u'-');
    if (dash == Direction::npos)
        return std::u16string();
    if (dash == 0 || dash + 1 == direction.size())
        return names.At(direction);
    return names.At(direction.substr(0, dash + 1)) + u" " + names.At(direction.substr(dash));
}

std::u16string GetDirectionName(const Direction& direction)
{
    return GetDirectionName(TranslateDirectionTable(), direction);
}

}  // namespace translate
