// A recursive-descent reader of the script's tokens; each block level is one call deeper, and
// levels are limited to kMaxNesting.
#include "dialogserver/registrar/ScriptParser.h"

#include <utility>

#include "dialogserver/registrar/Limits.h"
#include "dialogserver/registrar/Status.h"

namespace dialogserver::registrar {

namespace {

struct RootName {
    std::u16string_view shortName;
    std::u16string_view longName;
    Root root;
};

constexpr RootName kRootNames[] = {
    {u"HKCR", u"HKEY_CLASSES_ROOT", Root::ClassesRoot},
    {u"HKCU", u"HKEY_CURRENT_USER", Root::CurrentUser},
    {u"HKLM", u"HKEY_LOCAL_MACHINE", Root::LocalMachine},
    {u"HKU", u"HKEY_USERS", Root::Users},
};

bool FindRoot(const Token& token, Root& root)
{
    for (const RootName& name : kRootNames) {
        if (token.IsKeyword(name.shortName) || token.IsKeyword(name.longName)) {
            root = name.root;
            return true;
        }
    }
    return false;
}

bool IsRemovalKeyword(const Token& token)
{
    return token.IsKeyword(u"ForceRemove") || token.IsKeyword(u"NoRemove") || token.IsKeyword(u"Delete");
}

class Parser {
public:
    explicit Parser(const std::vector<Token>& tokens) : m_tokens(tokens) {}

    std::int32_t ParseBlocks(std::vector<ScriptBlock>& blocks)
    {
        if (AtEnd())
            return kErrorUnexpectedEnd;
        while (!AtEnd()) {
            const Token& rootToken = Next();
            ScriptBlock block;
            if (!FindRoot(rootToken, block.root))
                return rootToken.IsPunctuation() ? kErrorUnexpectedToken : kErrorBadRootKey;
            if (AtEnd())
                return kErrorUnexpectedEnd;
            if (!Next().Is(u"{"))
                return kErrorMissingOpenBrace;
            if (const std::int32_t status = ParseEntries(block.entries, 1, 0); status != kOk)
                return status;
            blocks.push_back(std::move(block));
        }
        return kOk;
    }

private:
    bool AtEnd() const { return m_position == m_tokens.size(); }
    const Token& Peek() const { return m_tokens[m_position]; }
    const Token& Next() { return m_tokens[m_position++]; }

    // The entries of a block whose "{" has been read, up to and including its "}". `level` is
    // the nesting level of these entries; `pathLength` the length of the enclosing key's path.
    std::int32_t ParseEntries(std::vector<ScriptEntry>& entries, std::size_t level, std::size_t pathLength)
    {
        while (true) {
            if (AtEnd())
                return kErrorUnexpectedEnd;
            if (Peek().Is(u"}")) {
                Next();
                return kOk;
            }
            ScriptEntry entry;
            if (const std::int32_t status = ParseEntry(entry, level, pathLength); status != kOk)
                return status;
            entries.push_back(std::move(entry));
        }
    }

    std::int32_t ParseEntry(ScriptEntry& entry, std::size_t level, std::size_t pathLength)
    {
        const Token* token = &Next();
        if (token->IsKeyword(u"ForceRemove") || token->IsKeyword(u"NoRemove")) {
            entry.removal = token->IsKeyword(u"NoRemove") ? Removal::NoRemove : Removal::ForceRemove;
            if (AtEnd())
                return kErrorUnexpectedEnd;
            token = &Next();
            if (IsRemovalKeyword(*token))
                return kErrorUnexpectedToken;
        }
        if (token->IsKeyword(u"Delete"))
            return kErrorUnsupportedKeyword;
        if (token->IsKeyword(u"val")) {
            // A value cannot be replaced whole: ForceRemove belongs to keys.
            if (entry.removal == Removal::ForceRemove)
                return kErrorUnexpectedToken;
            if (level == 1)
                return kErrorValueOutsideKey;
            return ParseNamedValue(entry);
        }
        return ParseKey(*token, entry, level, pathLength);
    }

    std::int32_t ParseNamedValue(ScriptEntry& entry)
    {
        entry.kind = ScriptEntry::Kind::Value;
        if (AtEnd())
            return kErrorUnexpectedEnd;
        const Token& name = Next();
        if (const std::int32_t status = CheckName(name, kMaxValueNameLength); status != kOk)
            return status;
        entry.name = name.text;
        if (AtEnd())
            return kErrorUnexpectedEnd;
        if (!Next().Is(u"="))
            return kErrorExpectingEquals;
        entry.hasData = true;
        return ParseStringData(entry.data);
    }

    std::int32_t ParseKey(const Token& name, ScriptEntry& entry, std::size_t level, std::size_t pathLength)
    {
        if (const std::int32_t status = CheckName(name, kMaxKeyNameLength); status != kOk)
            return status;
        if (name.text.find(u'\\') != std::u16string::npos)
            return kErrorBadName;
        if (level > kMaxNesting)
            return kErrorNestingTooDeep;
        const std::size_t keyPathLength = pathLength + (pathLength == 0 ? 0 : 1) + name.text.size();
        if (keyPathLength > kMaxKeyPathLength)
            return kErrorKeyPathTooLong;
        entry.kind = ScriptEntry::Kind::Key;
        entry.name = name.text;
        if (!AtEnd() && Peek().Is(u"=")) {
            Next();
            entry.hasData = true;
            if (const std::int32_t status = ParseStringData(entry.data); status != kOk)
                return status;
        }
        if (!AtEnd() && Peek().Is(u"{")) {
            Next();
            return ParseEntries(entry.children, level + 1, keyPathLength);
        }
        return kOk;
    }

    // A name where one is due: "=" there means a value with no key to hold it.
    static std::int32_t CheckName(const Token& name, std::size_t maxLength)
    {
        if (name.Is(u"="))
            return kErrorValueOutsideKey;
        if (name.IsPunctuation())
            return kErrorUnexpectedToken;
        if (name.text.empty() || name.text.size() > maxLength)
            return kErrorBadName;
        return kOk;
    }

    // "s" and the text, after the "=".
    std::int32_t ParseStringData(std::u16string& data)
    {
        if (AtEnd())
            return kErrorUnexpectedEnd;
        if (!Next().IsKeyword(u"s"))
            return kErrorUnsupportedValueType;
        if (AtEnd())
            return kErrorUnexpectedEnd;
        const Token& text = Next();
        if (text.IsPunctuation())
            return kErrorUnexpectedToken;
        data = text.text;
        return kOk;
    }

    const std::vector<Token>& m_tokens;
    std::size_t m_position = 0;
};

}  // namespace

std::int32_t ParseScript(const std::vector<Token>& tokens, std::vector<ScriptBlock>& blocks)
{
    blocks.clear();
    std::vector<ScriptBlock> result;
    if (const std::int32_t status = Parser(tokens).ParseBlocks(result); status != kOk)
        return status;
    blocks.swap(result);
    return kOk;
}

}  // namespace dialogserver::registrar
