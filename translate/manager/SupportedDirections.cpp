#include "translate/manager/SupportedDirections.h"

#include <algorithm>

#include "foundation/text/WhiteSpace.h"

namespace translate {

std::vector<std::u16string> SplitList(std::u16string_view text)
{
    std::vector<std::u16string> items;
    std::u16string_view rest = text::Trim(text);
    while (!rest.empty()) {
        const std::size_t comma = rest.find(u',');
        const std::u16string_view item = text::Trim(rest.substr(0, comma));
        if (!item.empty())
            items.emplace_back(item);
        if (comma == std::u16string_view::npos)
            break;
        rest.remove_prefix(comma + 1);
    }
    return items;
}

void SortDirections(DirectionList& directions)
{
    // std::u16string compares char16_t, an unsigned type: code unit order.
    std::stable_sort(directions.begin(), directions.end());
}

}  // namespace translate
