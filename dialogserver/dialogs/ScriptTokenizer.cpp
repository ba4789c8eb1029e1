#include "dialogserver/dialogs/ScriptTokenizer.h"

#include <cerrno>
#include <cstdlib>
#include <string>

#include "dialogserver/dialogs/HexDigit.h"

namespace dialogserver::dialogs {
namespace {

bool IsNameStart(char16_t c)
{
    return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z') || c == u'_' || c == u'$';
}

bool IsDigit(char16_t c)
{
    return c >= u'0' && c <= u'9';
}

bool IsNamePart(char16_t c)
{
    return IsNameStart(c) || IsDigit(c);
}

bool IsWhiteSpace(char16_t c)
{
    return c == u' ' || c == u'\t' || c == u'\n' || c == u'\r' || c == u'\f' || c == u'\v' || c == u'\u00a0';
}

bool IsLineEnd(char16_t c)
{
    return c == u'\n' || c == u'\r' || c == u'\u2028' || c == u'\u2029';
}

}  // namespace

char16_t ScriptTokenizer::Peek(std::size_t ahead) const
{
    return m_at + ahead < m_source.size() ? m_source[m_at + ahead] : u'\0';
}

ScriptToken ScriptTokenizer::Next()
{
    while (!AtEnd() && IsWhiteSpace(m_source[m_at]))
        ++m_at;
    if (AtEnd())
        return {};
    const char16_t c = m_source[m_at];
    if (IsNameStart(c))
        return Name();
    if (c == u'"' || c == u'\'')
        return StringLiteral();
    if (IsDigit(c) || (c == u'-' && IsDigit(Peek(1))))
        return NumberLiteral();
    if (c == u'(' || c == u')' || c == u',' || c == u';') {
        ++m_at;
        ScriptToken token{TokenKind::Punctuator};
        token.punctuator = c;
        return token;
    }
    return SkipOther();
}

ScriptToken ScriptTokenizer::Name()
{
    const std::size_t start = m_at;
    while (!AtEnd() && IsNamePart(m_source[m_at]))
        ++m_at;
    return {TokenKind::Identifier, std::u16string(m_source.substr(start, m_at - start))};
}

ScriptToken ScriptTokenizer::StringLiteral()
{
    const char16_t quote = m_source[m_at++];
    std::u16string value;
    while (!AtEnd()) {
        const char16_t c = m_source[m_at++];
        if (c == quote)
            return {TokenKind::String, std::move(value)};
        if (IsLineEnd(c) || (c == u'\\' && !Escape(value)))
            return {TokenKind::Other};
        if (c != u'\\')
            value.push_back(c);
    }
    return {TokenKind::Other};  // never closed
}

// The escapes of the script language that stand for one character, and \0 not followed by a
// digit; octal escapes, line continuations and \u{...} are refused.
bool ScriptTokenizer::Escape(std::u16string& value)
{
    if (AtEnd())
        return false;
    const char16_t c = m_source[m_at++];
    switch (c) {
        case u'n':
            value.push_back(u'\n');
            return true;
        case u't':
            value.push_back(u'\t');
            return true;
        case u'r':
            value.push_back(u'\r');
            return true;
        case u'b':
            value.push_back(u'\b');
            return true;
        case u'f':
            value.push_back(u'\f');
            return true;
        case u'v':
            value.push_back(u'\v');
            return true;
        case u'\'':
        case u'"':
        case u'\\':
            value.push_back(c);
            return true;
        case u'0':
            if (IsDigit(Peek()))
                return false;
            value.push_back(u'\0');
            return true;
        case u'x':
        case u'u': {
            const std::size_t digits = c == u'x' ? 2 : 4;
            unsigned unit = 0;
            for (std::size_t i = 0; i < digits; ++i) {
                const int digit = HexDigit(Peek(i));
                if (digit < 0)
                    return false;
                unit = unit * 16 + static_cast<unsigned>(digit);
            }
            m_at += digits;
            value.push_back(static_cast<char16_t>(unit));
            return true;
        }
        default:
            return false;
    }
}

// -?(0|[1-9][0-9]*)(.[0-9]+)?([eE][+-]?[0-9]+)?, and no name glued to it.
ScriptToken ScriptTokenizer::NumberLiteral()
{
    const std::size_t start = m_at;
    const auto digits = [this] {
        const std::size_t from = m_at;
        while (!AtEnd() && IsDigit(m_source[m_at]))
            ++m_at;
        return m_at - from;
    };
    if (Peek() == u'-')
        ++m_at;
    const bool leadingZero = Peek() == u'0';
    if (digits() > 1 && leadingZero)
        return {TokenKind::Other};
    if (Peek() == u'.') {
        ++m_at;
        if (digits() == 0)
            return {TokenKind::Other};
    }
    if (Peek() == u'e' || Peek() == u'E') {
        ++m_at;
        if (Peek() == u'+' || Peek() == u'-')
            ++m_at;
        if (digits() == 0)
            return {TokenKind::Other};
    }
    if (IsNamePart(Peek()) || Peek() == u'.')
        return {TokenKind::Other};
    ScriptToken token{TokenKind::Number, std::u16string(m_source.substr(start, m_at - start))};
    // Digits, signs, "." and "e" only, which the C library reads alike in the "C" locale this
    // program keeps (it never sets another); streams would bring the whole locale machinery in.
    const std::string ascii(token.text.begin(), token.text.end());
    char* end = nullptr;
    errno = 0;
    token.number = std::strtod(ascii.c_str(), &end);
    if (errno == ERANGE || end != ascii.c_str() + ascii.size())
        return {TokenKind::Other};  // out of range
    return token;
}

// A comment whole; anything else up to the next white space or mark the tokenizer knows.
ScriptToken ScriptTokenizer::SkipOther()
{
    if (Peek() == u'/' && Peek(1) == u'*') {
        const std::size_t end = m_source.find(u"*/", m_at + 2);
        m_at = end == std::u16string_view::npos ? m_source.size() : end + 2;
    } else if (Peek() == u'/' && Peek(1) == u'/') {
        while (!AtEnd() && !IsLineEnd(m_source[m_at]))
            ++m_at;
    } else {
        ++m_at;
    }
    return {TokenKind::Other};
}

}  // namespace dialogserver::dialogs
