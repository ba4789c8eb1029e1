#pragma once
// A component class identifier in the system's GUID layout, usable by portable code.

#include <cstdint>

namespace translate::target {

struct ClassId {
    std::uint32_t data1 = 0;
    std::uint16_t data2 = 0;
    std::uint16_t data3 = 0;
    std::uint8_t data4[8] = {};

    bool IsNull() const
    {
        for (std::uint8_t byte : data4) {
            if (byte != 0)
                return false;
        }
        return data1 == 0 && data2 == 0 && data3 == 0;
    }
};

inline bool operator==(const ClassId& a, const ClassId& b)
{
    for (int i = 0; i < 8; ++i) {
        if (a.data4[i] != b.data4[i])
            return false;
    }
    return a.data1 == b.data1 && a.data2 == b.data2 && a.data3 == b.data3;
}

}  // namespace translate::target
