#include "dialogserver/server/InformationPage.h"

#include <algorithm>

#include "foundation/text/AsciiCase.h"

namespace dialogserver {
namespace {
bool IsWebAddress(const std::u16string& text)
{
    return text::StartsWithIgnoringAsciiCase(text, u"http://") || text::StartsWithIgnoringAsciiCase(text, u"https://");
}
}  // namespace

PageLocation LocateInformationPage(const std::u16string& entry,
                                   const std::u16string& baseAddress,
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
