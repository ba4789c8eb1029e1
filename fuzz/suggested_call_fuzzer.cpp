// The suggested link of a Multilex answer: whatever the text, a call is read only in its plain
// shape; written back out in a canonical form it reads as the same call, and nothing after it
// ever passes.

#include <cstdint>
#include <cstdio>
#include <string>

#include "dialogserver/dialogs/SuggestedCall.h"
#include "fuzz/FuzzSupport.h"

namespace {
using dialogserver::dialogs::ParseSuggestedCall;
using dialogserver::dialogs::SuggestedCall;

bool IsName(const std::u16string& name)
{
    if (name.empty() || (name[0] >= u'0' && name[0] <= u'9'))
        return false;
    for (const char16_t c : name) {
        const bool letter = (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z');
        if (!letter && !(c >= u'0' && c <= u'9') && c != u'_' && c != u'$')
            return false;
    }
    return true;
}

// Every unit of a string as \uXXXX, every number with all its digits.
std::u16string Canonical(const SuggestedCall& call)
{
    std::u16string text = call.function + u"(";
    for (std::size_t i = 0; i < call.arguments.size(); ++i) {
        if (i > 0)
            text += u", ";
        if (const auto* value = std::get_if<std::u16string>(&call.arguments[i])) {
            text += u'"';
            for (const char16_t unit : *value) {
                char escape[8];
                std::snprintf(escape, sizeof escape, "\\u%04x", static_cast<unsigned>(unit));
                text.append(escape, escape + 6);
            }
            text += u'"';
        } else {
            char number[40];
            std::snprintf(number, sizeof number, "%.17g", std::get<double>(call.arguments[i]));
            text.append(number, number + std::char_traits<char>::length(number));
        }
    }
    return text + u")";
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::u16string link = fuzzsupport::Text16(data, size);
    dialogserver::dialogs::DeclaredFunctions(link);
    const auto call = ParseSuggestedCall(link);
    FUZZ_CHECK(!ParseSuggestedCall(link + u"; evil()"));
    FUZZ_CHECK(!ParseSuggestedCall(link + u"//"));
    if (!call)
        return 0;
    FUZZ_CHECK(IsName(call->function));
    const auto again = ParseSuggestedCall(Canonical(*call));
    FUZZ_CHECK(again && again->function == call->function && again->arguments == call->arguments);
    FUZZ_CHECK(ParseSuggestedCall(u"javascript:" + Canonical(*call) + u";"));
    return 0;
}
