#pragma once
// ASCII letter case, for the words that ignore case only in A-Z (URL schemes, command-line
// switches, registrar keywords, registry names, known file names): every other unit compares
// as it is. OrdinalCase.h folds the other alphabets too. Header-only and free of the C++ locale,
// so that the dialog server stays small.

#include <cstddef>
#include <string_view>

namespace text {

template <class Char>
constexpr Char AsciiLower(Char unit)
{
    return unit >= Char('A') && unit <= Char('Z') ? static_cast<Char>(unit - Char('A') + Char('a')) : unit;
}

template <class Char>
constexpr Char AsciiUpper(Char unit)
{
    return unit >= Char('a') && unit <= Char('z') ? static_cast<Char>(unit - Char('a') + Char('A')) : unit;
}

// Whether `a` and `b` have the same units once each has gone through `fold`.
template <class Char, class Fold>
constexpr bool EqualsFolded(std::basic_string_view<Char> a, std::basic_string_view<Char> b, Fold fold)
{
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (fold(a[i]) != fold(b[i]))
            return false;
    }
    return true;
}

constexpr bool EqualsIgnoringAsciiCase(std::u16string_view a, std::u16string_view b)
{
    return EqualsFolded(a, b, AsciiLower<char16_t>);
}

constexpr bool StartsWithIgnoringAsciiCase(std::u16string_view text, std::u16string_view prefix)
{
    return text.size() >= prefix.size() && EqualsIgnoringAsciiCase(text.substr(0, prefix.size()), prefix);
}

constexpr bool StartsWithIgnoringAsciiCase(std::string_view text, std::string_view prefix)
{
    return text.size() >= prefix.size() && EqualsFolded(text.substr(0, prefix.size()), prefix, AsciiLower<char>);
}

}  // namespace text
