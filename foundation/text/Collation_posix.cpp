#include "foundation/text/Collation.h"

#include <locale>
#include <stdexcept>

namespace text {
namespace {
// UTF-32, which the C++ library's wide-character collation reads on Linux; lone surrogates are
// kept as they are, so that every text still has a place.
std::wstring ToWide(std::u16string_view text)
{
    std::wstring wide;
    wide.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char32_t unit = text[i];
        if (unit >= 0xD800 && unit < 0xDC00 && i + 1 < text.size() && text[i + 1] >= 0xDC00 && text[i + 1] < 0xE000) {
            wide.push_back(static_cast<wchar_t>(0x10000 + ((unit - 0xD800) << 10) + (text[i + 1] - 0xDC00)));
            ++i;
        } else {
            wide.push_back(static_cast<wchar_t>(unit));
        }
    }
    return wide;
}
}  // namespace

struct Collation::Locale {
    std::locale locale = std::locale::classic();
    bool available = false;
};

Collation::Collation(const std::string& localeName)
{
    auto locale = std::make_shared<Locale>();
    try {
        // "" is the user's: LC_ALL, LC_COLLATE or LANG.
        locale->locale = std::locale(localeName.c_str());
        locale->available = true;
    } catch (const std::runtime_error&) {
        locale->available = localeName.empty();
    }
    m_locale = std::move(locale);
}

bool Collation::IsLocaleAvailable() const
{
    return m_locale->available;
}

bool Collation::Less(std::u16string_view left, std::u16string_view right) const
{
    const std::wstring a = ToWide(left);
    const std::wstring b = ToWide(right);
    const int order = std::use_facet<std::collate<wchar_t>>(m_locale->locale)
                          .compare(a.data(), a.data() + a.size(), b.data(), b.data() + b.size());
    // Texts the locale sees as equal keep a fixed order.
    return order != 0 ? order < 0 : left < right;
}

}  // namespace text
