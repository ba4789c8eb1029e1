#pragma once
// The script variables. They are replaced in the whole text before it is read, in quoted and bare
// text alike, the way the ATL registrar does it: "%MODULE%", "%APPID%" (names in any case), and
// "%%" for one "%".

#include <cstdint>
#include <string>
#include <string_view>

namespace dialogserver::registrar {

struct Replacements {
    std::u16string module;  // the program's full path, unquoted
    std::u16string appId;   // the application identifier, braces included
};

// What "%MODULE%" becomes: `module` in double quotes, each single quote doubled so that the
// script's quoting reads it back as one.
std::u16string QuotedModulePath(std::u16string_view module);

// `script` with its variables replaced; kOk, or the script error that stopped the replacement
// (and `expanded` empty).
std::int32_t ExpandVariables(std::u16string_view script, const Replacements& replacements, std::u16string& expanded);

}  // namespace dialogserver::registrar
