#pragma once
// Reads values out of the page a web browser has just loaded: with XPath when the page is an XML
// document, otherwise by looking for "<name>value</name>" in the page's visible text.

#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "foundation/xml/XmlDocument.h"

class Log;

namespace XML {

class BrowserDocument;

// The two process-wide logs of the parser.
Log& ResponseParserLog();  // "CXMLResponseParser": progress
Log& DocumentParserLog();  // "CXMLResponseParser::XMLDocumentParser": document failures

class CXMLResponseParser {
public:
    class Parser {
    public:
        virtual ~Parser() = default;
        // A copy of the whole source text the parser works on.
        virtual std::u16string GetText() const = 0;
        // Text of the element `name` under `parent`; nothing when missing.
        virtual std::optional<std::u16string> GetValue(std::u16string_view parent, std::u16string_view name) const = 0;
        // Value of `attribute` of the element `name` under `parent`; nothing when missing.
        virtual std::optional<std::u16string> GetAttribute(std::u16string_view parent,
                                                           std::u16string_view name,
                                                           std::u16string_view attribute) const = 0;
    };

    // Works on its own copy of an XML text; values are found with XPath on that copy.
    class XMLDocumentParser : public Parser {
    public:
        // Longest XPath formatted from a request; longer requests find nothing.
        static constexpr std::size_t kMaxXPathLength = 254;

        // `xml` is the page's serialised XML, nothing when it could not be read. Failures are
        // logged and leave a parser without document, which finds nothing.
        explicit XMLDocumentParser(std::optional<std::u16string> xml);
        ~XMLDocumentParser() override;

        std::u16string GetText() const override { return m_xml; }
        // The first node of "parent/name/text()".
        std::optional<std::u16string> GetValue(std::u16string_view parent, std::u16string_view name) const override;
        // The first node of "parent/name/@attribute".
        std::optional<std::u16string> GetAttribute(std::u16string_view parent,
                                                   std::u16string_view name,
                                                   std::u16string_view attribute) const override;

    private:
        std::optional<std::u16string> Select(std::u16string_view parent,
                                             std::u16string_view name,
                                             std::u16string_view last) const;

        std::u16string m_xml;
        std::unique_ptr<XmlDocument> m_document;  // null when the text could not be loaded
    };

    // Finds "<name>" and the first "</name>" after it in a plain text, and decodes the four
    // entities &quot; &lt; &gt; &amp; (in that order) in what lies between. Attributes are never found.
    class TextParser : public Parser {
    public:
        explicit TextParser(std::u16string text) : m_text(std::move(text)) {}

        std::u16string GetText() const override { return m_text; }
        // `parent` is not used.
        std::optional<std::u16string> GetValue(std::u16string_view parent, std::u16string_view name) const override;
        std::optional<std::u16string> GetAttribute(std::u16string_view,
                                                   std::u16string_view,
                                                   std::u16string_view) const override
        {
            return std::nullopt;
        }

    private:
        std::u16string m_text;
    };

    // `page` is the page of a browser that has finished loading; null when the object was not a
    // browser. Nothing of the page is kept.
    explicit CXMLResponseParser(BrowserDocument* page);
    ~CXMLResponseParser();
    CXMLResponseParser(const CXMLResponseParser&) = delete;
    CXMLResponseParser& operator=(const CXMLResponseParser&) = delete;

    // Null when nothing could be parsed.
    Parser* GetParser() const { return m_parser.get(); }

private:
    std::unique_ptr<Parser> m_parser;
};

}  // namespace XML
