#pragma once
// A completed page or frame as the result-page steps get it: an HTML page, or an answer the
// browser shows as an XML document, or an object that is no browser at all.

#include <memory>
#include <optional>
#include <string>

#include "dialogserver/dialogs/DialogHost.h"
#include "foundation/xml/BrowserDocument.h"
#include "foundation/xml/XmlResponseParser.h"
#include "tests/dialogserver/dialogs/HtmlPage_posix.h"

namespace dialogtest {

class AnswerPage : public dialogserver::dialogs::ResultPage {
public:
    // Not a browser: no document, no parser.
    AnswerPage() = default;
    // An HTML page; the parser reads its body text.
    explicit AnswerPage(HtmlPage& html) : m_html(&html), m_browser(true) {}
    // An XML answer; the browser shows it with no HTML document of its own.
    static AnswerPage Xml(std::u16string xml)
    {
        AnswerPage page;
        page.m_xml = std::move(xml);
        page.m_browser = true;
        return page;
    }

    std::unique_ptr<dom::Document> Document() override { return m_html ? m_html->Document() : nullptr; }

    std::unique_ptr<XML::CXMLResponseParser> ResponseParser() override
    {
        Shown shown(m_html, m_xml);
        return std::make_unique<XML::CXMLResponseParser>(m_browser ? &shown : nullptr);
    }

private:
    // What the browser shows, as the response parser reads it.
    struct Shown : XML::BrowserDocument {
        Shown(const HtmlPage* html, const std::optional<std::u16string>& xml) : html(html), xml(xml) {}
        bool GetXml(std::optional<std::u16string>& text) override
        {
            text = xml;
            return xml.has_value();
        }
        std::optional<std::u16string> BodyText() override { return html ? html->BodyText() : std::nullopt; }
        const HtmlPage* html;
        const std::optional<std::u16string>& xml;
    };

    HtmlPage* m_html = nullptr;
    std::optional<std::u16string> m_xml;
    bool m_browser = false;
};

}  // namespace dialogtest
