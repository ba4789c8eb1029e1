// The update document and what the check makes of it. Any response body is read without harm
// into trimmed fields, found only when the document matched; a link is accepted only as an
// absolute http(s) address with a host; a version and a link written into a document (as
// elements or as attributes of the root) are read back; version texts give their numbers back;
// the check interval never overflows.

#include <cstdint>
#include <string>

#include "foundation/http/UrlParts.h"
#include "foundation/text/AnsiCodePage.h"
#include "foundation/text/WhiteSpace.h"
#include "fuzz/FuzzSupport.h"
#include "update/UpdateCheck.h"

namespace {

bool IsTrimmed(std::u16string_view text)
{
    return text::Trim(text).size() == text.size();
}

void CheckLink(const std::u16string& link)
{
    if (!update::IsAcceptableUpdateLink(link))
        return;
    http::UrlParts parts;
    FUZZ_CHECK(http::SplitUrl(link, parts));
    FUZZ_CHECK(parts.scheme == u"http" || parts.scheme == u"https");
    FUZZ_CHECK(!parts.host.empty());
    FUZZ_CHECK(link.compare(link.find(u':'), 3, u"://") == 0);
}

void CheckAnyBody(const std::string& body)
{
    const update::UpdateDocument document = update::ReadUpdateDocument(text::FromAnsiCodePage(body));
    if (!document.matched)
        FUZZ_CHECK(document.version.empty() && document.updateLink.empty());
    FUZZ_CHECK(IsTrimmed(document.version) && IsTrimmed(document.updateLink));
    CheckLink(document.updateLink);
}

void CheckWrittenDocument(FuzzedDataProvider& provider)
{
    const std::u16string version = fuzzsupport::XmlText(fuzzsupport::ConsumeText16(provider, 32), false);
    const std::u16string link = fuzzsupport::XmlText(fuzzsupport::ConsumeText16(provider, 64), false);
    const bool asAttributes = provider.ConsumeBool();
    std::u16string text = u"<?xml version=\"1.0\"?>";
    if (asAttributes) {
        text += u"<vocabra version=\"" + fuzzsupport::EscapeEntities(version) + u"\" update_link=\"" +
                fuzzsupport::EscapeEntities(link) + u"\"/>";
    } else {
        text += u"<vocabra><version>" + fuzzsupport::EscapeEntities(version) + u"</version><update_link>" +
                fuzzsupport::EscapeEntities(link) + u"</update_link></vocabra>";
    }
    const update::UpdateDocument document = update::ReadUpdateDocument(text);
    FUZZ_CHECK(document.matched);
    FUZZ_CHECK(document.version == text::Trim(version));
    FUZZ_CHECK(document.updateLink == text::Trim(link));
}

void CheckNumbers(FuzzedDataProvider& provider)
{
    const auto ms = provider.ConsumeIntegral<std::uint32_t>();
    const auto ls = provider.ConsumeIntegral<std::uint32_t>();
    // Four decimal fields without leading zeros that give the two numbers back.
    const std::u16string version = update::FormatVersionText(ms, ls);
    std::uint32_t fields[4] = {};
    std::size_t field = 0;
    std::size_t digits = 0;
    for (char16_t unit : version) {
        if (unit == u'.') {
            FUZZ_CHECK(digits > 0 && ++field < 4);
            digits = 0;
            continue;
        }
        FUZZ_CHECK(unit >= u'0' && unit <= u'9' && !(digits == 1 && fields[field] == 0) && digits < 5);
        fields[field] = fields[field] * 10 + static_cast<std::uint32_t>(unit - u'0');
        ++digits;
    }
    FUZZ_CHECK(field == 3 && digits > 0);
    FUZZ_CHECK(((fields[0] << 16) | fields[1]) == ms && ((fields[2] << 16) | fields[3]) == ls);

    // Due once the interval has passed, and from then on.
    const auto lastCheck = provider.ConsumeIntegral<std::uint64_t>();
    const auto days = provider.ConsumeIntegral<std::uint32_t>();
    const auto now = provider.ConsumeIntegral<std::int64_t>();
    if (update::IsCheckDue(lastCheck, days, now) && now < INT64_MAX)
        FUZZ_CHECK(update::IsCheckDue(lastCheck, days, now + 1));
    FUZZ_CHECK(update::IsCheckDue(lastCheck, 0, static_cast<std::int64_t>(lastCheck)));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    CheckAnyBody(std::string(reinterpret_cast<const char*>(data), size));
    FuzzedDataProvider provider(data, size);
    CheckLink(fuzzsupport::ConsumeText16(provider, 64));
    CheckNumbers(provider);
    CheckWrittenDocument(provider);
    return 0;
}
