#include "foundation/text/OrdinalCase.h"

#include "foundation/text/AsciiCase.h"

namespace text {
namespace {

bool InAlternatingBlock(char16_t unit, char16_t first, char16_t last)
{
    return unit >= first && unit <= last;
}

// In a block where upper and lower case alternate, each lower-case letter follows its upper
// case, which sits on the even units (or on the odd ones).
char16_t UpperOfPair(char16_t unit, bool upperIsEven)
{
    const bool even = unit % 2 == 0;
    return even == upperIsEven ? unit : static_cast<char16_t>(unit - 1);
}

}  // namespace

char16_t OrdinalUpper(char16_t unit)
{
    if (unit < 0x80)
        return AsciiUpper(unit);
    // Latin-1: à..þ except ÷; ÿ goes to Ÿ.
    if (unit >= 0xE0 && unit <= 0xFE && unit != 0xF7)
        return static_cast<char16_t>(unit - 0x20);
    if (unit == 0xFF)
        return 0x178;
    // Latin Extended-A: pairs, with the dotless i, kra and ŉ standing alone.
    if (InAlternatingBlock(unit, 0x100, 0x12F) || InAlternatingBlock(unit, 0x132, 0x137) ||
        InAlternatingBlock(unit, 0x14A, 0x177))
        return UpperOfPair(unit, true);
    if (InAlternatingBlock(unit, 0x139, 0x148) || InAlternatingBlock(unit, 0x179, 0x17E))
        return UpperOfPair(unit, false);
    // Greek: α..ω with final sigma, and the accented vowels.
    if (unit >= 0x3B1 && unit <= 0x3CB)
        return unit == 0x3C2 ? 0x3A3 : static_cast<char16_t>(unit - 0x20);
    if (unit == 0x3AC)
        return 0x386;
    if (unit >= 0x3AD && unit <= 0x3AF)
        return static_cast<char16_t>(unit - 0x25);
    if (unit == 0x3CC)
        return 0x38C;
    if (unit == 0x3CD || unit == 0x3CE)
        return static_cast<char16_t>(unit - 0x3F);
    // Cyrillic: а..я, ѐ..џ, and the pairs of the extended letters.
    if (unit >= 0x430 && unit <= 0x44F)
        return static_cast<char16_t>(unit - 0x20);
    if (unit >= 0x450 && unit <= 0x45F)
        return static_cast<char16_t>(unit - 0x50);
    if (InAlternatingBlock(unit, 0x460, 0x481) || InAlternatingBlock(unit, 0x48A, 0x4BF) ||
        InAlternatingBlock(unit, 0x4D0, 0x52F))
        return UpperOfPair(unit, true);
    if (InAlternatingBlock(unit, 0x4C1, 0x4CE))
        return UpperOfPair(unit, false);
    // Armenian, and the full-width Latin letters.
    if (unit >= 0x561 && unit <= 0x586)
        return static_cast<char16_t>(unit - 0x30);
    if (unit >= 0xFF41 && unit <= 0xFF5A)
        return static_cast<char16_t>(unit - 0x20);
    return unit;
}

bool EqualsIgnoringCase(std::u16string_view a, std::u16string_view b)
{
    return EqualsFolded(a, b, OrdinalUpper);
}

}  // namespace text
