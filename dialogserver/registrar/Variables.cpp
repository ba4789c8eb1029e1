// Replaces the script variables in one pass over the text.
#include "dialogserver/registrar/Variables.h"

#include "dialogserver/registrar/Limits.h"
#include "dialogserver/registrar/Status.h"
#include "foundation/text/AsciiCase.h"

namespace dialogserver::registrar {

namespace {

struct Variable {
    std::u16string_view name;
    std::u16string_view text;
};

}  // namespace

std::u16string QuotedModulePath(std::u16string_view module)
{
    std::u16string quoted(1, u'"');
    for (char16_t unit : module) {
        if (unit == u'\'')
            quoted.push_back(u'\'');
        quoted.push_back(unit);
    }
    quoted.push_back(u'"');
    return quoted;
}

std::int32_t ExpandVariables(std::u16string_view script, const Replacements& replacements, std::u16string& expanded)
{
    expanded.clear();
    const std::u16string module = QuotedModulePath(replacements.module);
    const Variable variables[] = {{u"MODULE", module}, {u"APPID", replacements.appId}};

    std::u16string result;
    result.reserve(script.size());
    std::size_t position = 0;
    while (position < script.size()) {
        const std::size_t open = script.find(u'%', position);
        result.append(script.substr(position, open - position));
        if (open == std::u16string_view::npos)
            break;
        const std::size_t close = script.find(u'%', open + 1);
        if (close == std::u16string_view::npos)
            return kErrorUnterminatedVariable;
        const std::u16string_view name = script.substr(open + 1, close - open - 1);
        if (name.empty()) {
            result.push_back(u'%');
        } else {
            const Variable* found = nullptr;
            for (const Variable& variable : variables) {
                if (text::EqualsIgnoringAsciiCase(variable.name, name))
                    found = &variable;
            }
            if (!found)
                return kErrorUnknownVariable;
            if (found->text.find(u'\0') != std::u16string_view::npos)
                return kErrorEmbeddedNul;
            result.append(found->text);
        }
        // Checked as it grows: a long replacement used many times must not run away with memory.
        if (result.size() > kMaxExpandedLength)
            return kErrorScriptTooLarge;
        position = close + 1;
    }
    if (result.size() > kMaxExpandedLength)
        return kErrorScriptTooLarge;
    expanded.swap(result);
    return kOk;
}

}  // namespace dialogserver::registrar
