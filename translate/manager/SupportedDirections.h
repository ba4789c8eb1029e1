#pragma once
// Translation directions ("en-ru"): opaque strings compared exactly, lists sorted ordinally by
// UTF-16 code unit; and the comma-separated list format of every list-valued setting.

#include <string>
#include <string_view>
#include <vector>

namespace translate {

using Direction = std::u16string;
using DirectionList = std::vector<Direction>;

// Items trimmed, empty items dropped, duplicates and order kept.
std::vector<std::u16string> SplitList(std::u16string_view text);

// Ascending by UTF-16 code unit: a proper prefix first, upper case before lower case.
void SortDirections(DirectionList& directions);

// A list of directions; T only makes the manager's and the services' bases distinct types.
template <class T>
class TSupportedDirections {
public:
    // Index of the first equal entry, or -1.
    int FindDirection(const Direction& direction) const
    {
        for (std::size_t i = 0; i < m_directions.size(); ++i) {
            if (m_directions[i] == direction)
                return static_cast<int>(i);
        }
        return -1;
    }

    // Appends, in their order, the directions of `other` not yet listed.
    void MergeDirections(const DirectionList& other)
    {
        for (const Direction& direction : other) {
            if (FindDirection(direction) == -1)
                m_directions.push_back(direction);
        }
    }

    DirectionList m_directions;
};

}  // namespace translate
