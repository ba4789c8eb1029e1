#pragma once
// The registrar's status codes, HRESULT-style: 0 is success, failures have the top bit set. Each
// kind of script damage has a code of its own in FACILITY_ITF (0x0201 upwards), so a failed
// registration names what was wrong; registry failures are HRESULT_FROM_WIN32 codes.

#include <cstdint>

namespace dialogserver::registrar {

constexpr std::int32_t kOk = 0;

constexpr std::int32_t ScriptError(std::uint32_t code)
{
    return static_cast<std::int32_t>(0x80040000u | code);
}

// The script is longer than kMaxScriptLength units, or grows past kMaxExpandedLength when its
// variables are replaced.
constexpr std::int32_t kErrorScriptTooLarge = ScriptError(0x0201);
// A zero unit in the script or in a replacement text.
constexpr std::int32_t kErrorEmbeddedNul = ScriptError(0x0202);
// "%NAME%" with a name that has no replacement.
constexpr std::int32_t kErrorUnknownVariable = ScriptError(0x0203);
// A "%" without the "%" that closes its name.
constexpr std::int32_t kErrorUnterminatedVariable = ScriptError(0x0204);
// A quoted text without its closing quote.
constexpr std::int32_t kErrorUnterminatedQuote = ScriptError(0x0205);
// A quote inside a bare word, or a quoted text run together with the text after it.
constexpr std::int32_t kErrorStrayQuote = ScriptError(0x0206);
// The script ends where more is needed: an open block, a value, no root block at all.
constexpr std::int32_t kErrorUnexpectedEnd = ScriptError(0x0207);
// A root block names no root key the registrar knows.
constexpr std::int32_t kErrorBadRootKey = ScriptError(0x0208);
// A root key is not followed by "{".
constexpr std::int32_t kErrorMissingOpenBrace = ScriptError(0x0209);
// A brace, "=" or keyword where a name or an entry belongs (an unbalanced "}" among them).
constexpr std::int32_t kErrorUnexpectedToken = ScriptError(0x020A);
// "val name" not followed by "=".
constexpr std::int32_t kErrorExpectingEquals = ScriptError(0x020B);
// A value type other than "s" (string).
constexpr std::int32_t kErrorUnsupportedValueType = ScriptError(0x020C);
// A keyword of the registrar's language that these scripts have no use for ("Delete").
constexpr std::int32_t kErrorUnsupportedKeyword = ScriptError(0x020D);
// An empty name, a key name with a backslash, or a name longer than the registry allows.
constexpr std::int32_t kErrorBadName = ScriptError(0x020E);
// A named or default value directly inside a root block, where it belongs to no key.
constexpr std::int32_t kErrorValueOutsideKey = ScriptError(0x020F);
// Keys nested deeper than kMaxNesting.
constexpr std::int32_t kErrorNestingTooDeep = ScriptError(0x0210);
// A key whose path below its root is longer than kMaxKeyPathLength units.
constexpr std::int32_t kErrorKeyPathTooLong = ScriptError(0x0211);

// Whether `status` is one of the script errors above.
constexpr bool IsScriptError(std::int32_t status)
{
    return status >= kErrorScriptTooLarge && status <= kErrorKeyPathTooLong;
}

}  // namespace dialogserver::registrar
