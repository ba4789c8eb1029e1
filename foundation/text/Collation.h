#pragma once
// Orders texts that people read in a list the way their language does: "Ёж" between "Дом" and
// "Жук", "Österreich" before "Ozean". Code-unit order puts both at the end.

#include <memory>
#include <string>
#include <string_view>

namespace text {

class Collation {
public:
    // The user's locale, or the one named ("ru_RU.UTF-8" on POSIX, "ru-RU" on Windows). A locale
    // the system does not have orders by code point.
    explicit Collation(const std::string& localeName = std::string());

    // True when the system has the locale (the user's always counts as had).
    bool IsLocaleAvailable() const;
    bool Less(std::u16string_view left, std::u16string_view right) const;

private:
    struct Locale;
    std::shared_ptr<const Locale> m_locale;  // shared by copies: it never changes
};

}  // namespace text
