#include "foundation/text/Collation.h"

#include <windows.h>

namespace text {

struct Collation::Locale {
    std::wstring name;  // empty: the user's
    bool available = true;
};

Collation::Collation(const std::string& localeName)
{
    auto locale = std::make_shared<Locale>();
    locale->name.assign(localeName.begin(), localeName.end());
    if (!locale->name.empty())
        locale->available = ::IsValidLocaleName(locale->name.c_str()) != FALSE;
    m_locale = std::move(locale);
}

bool Collation::IsLocaleAvailable() const
{
    return m_locale->available;
}

bool Collation::Less(std::u16string_view left, std::u16string_view right) const
{
    if (m_locale->available) {
        const wchar_t* locale = m_locale->name.empty() ? LOCALE_NAME_USER_DEFAULT : m_locale->name.c_str();
        const int order = ::CompareStringEx(
            locale, 0, reinterpret_cast<const wchar_t*>(left.data()), static_cast<int>(left.size()),
            reinterpret_cast<const wchar_t*>(right.data()), static_cast<int>(right.size()), nullptr, nullptr, 0);
        if (order == CSTR_LESS_THAN)
            return true;
        if (order == CSTR_GREATER_THAN)
            return false;
    }
    // Equal to the locale, or a text it refused: a fixed order all the same.
    return left < right;
}

}  // namespace text
