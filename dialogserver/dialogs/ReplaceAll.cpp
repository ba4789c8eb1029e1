#include "dialogserver/dialogs/ReplaceAll.h"

namespace dialogserver::dialogs {

std::u16string ReplaceAll(std::u16string_view text, std::u16string_view pattern, std::u16string_view replacement)
{
    if (pattern.empty())
        return std::u16string(text);
    std::u16string result;
    std::size_t from = 0;
    for (std::size_t found; (found = text.find(pattern, from)) != std::u16string_view::npos;
         from = found + pattern.size())
        result.append(text.substr(from, found - from)).append(replacement);
    result.append(text.substr(from));
    return result;
}

}  // namespace dialogserver::dialogs
