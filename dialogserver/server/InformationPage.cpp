#include "dialogserver/server/InformationPage.h"

#include <algorithm>

namespace dialogserver {
namespace {
bool StartsWithNoCase(const std::u16string& text, std::u16string_view prefix)
{
    if (text.size() < prefix.size())
        return false;
    for (std::size_t i = 0; i < prefix.size(); ++i) {
        char16_t c = text[i];
        if (c >= u'A' && c <= u'Z')
            c = static_cast<char16_t>(c - u'A' + u'a');
        if (c != prefix[i])
            return false;
    }
    return true;
}

bool IsWebAddress(const std::u16string& text)
{
    return StartsWithNoCase(text, u"http://") || StartsWithNoCase(text, u"https://");
}
}  // namespace

PageLocation LocateInformationPage(const std::u16string& entry, const std::u16string& baseAddress,
                                   const std::u16string& programFolder)
{
    if (entry.empty() || IsWebAddress(entry))
        return {false, entry};
    if (!baseAddress.empty()) {
        std::u16string relative = entry;
        std::replace(relative.begin(), relative.end(), u'\\', u'/');
        const bool joined = baseAddress.back() == u'/' || relative.front() == u'/';
        return {false, baseAddress + (joined ? u"" : u"/") + relative};
    }
    return {true, programFolder + entry};
}

}  // namespace dialogserver
