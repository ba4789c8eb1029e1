// The DOM interface on an HtmlPage's tree. Handles share the page, so they stay valid as long as
// any of them lives, as COM references keep MSHTML's objects.
#include <libxml/HTMLparser.h>

#include <cctype>

#include "foundation/text/Utf.h"
#include "tests/dialogserver/dialogs/HtmlPageState_posix.h"

namespace dialogtest {
namespace {

using StatePtr = std::shared_ptr<HtmlPage::State>;

constexpr int kParseOptions = HTML_PARSE_NONET | HTML_PARSE_NOERROR | HTML_PARSE_NOWARNING;

std::string Utf8(std::u16string_view text)
{
    return text::Utf16ToUtf8(text);
}

std::unique_ptr<dom::Node> Wrap(const StatePtr& state, xmlNode* node);

// The walks every kind of node has.
template <class Base>
class Walking : public Base {
public:
    Walking(StatePtr state, xmlNode* node) : m_state(std::move(state)), m_node(node) {}

    std::unique_ptr<dom::Node> NextSibling() override { return Wrap(m_state, m_node->next); }
    std::unique_ptr<dom::Node> PreviousSibling() override { return Wrap(m_state, m_node->prev); }
    // The root element's parent is the document node, which is no element.
    std::unique_ptr<dom::Node> ParentNode() override { return Wrap(m_state, m_node->parent); }

protected:
    StatePtr m_state;
    xmlNode* m_node;
};

// Text, comments, the document type and the document.
class PageNode final : public Walking<dom::Node> {
public:
    using Walking::Walking;
    dom::Element* AsElement() override { return nullptr; }
};

class PageElement final : public Walking<dom::Element> {
public:
    using Walking::Walking;

    std::optional<std::u16string> ClassName() override
    {
        const std::optional<std::string> classes = Property(m_node, "class");
        return classes ? std::optional(text::Utf8ToUtf16(*classes)) : std::nullopt;
    }

    bool SetStyle(dom::Style property, const std::u16string& value) override
    {
        if (m_state->refusedStyles.count(property))
            return false;
        const std::string style = WithStyle(Property(m_node, "style").value_or(""), CssName(property), Utf8(value));
        xmlSetProp(m_node, BAD_CAST "style", BAD_CAST style.c_str());
        return true;
    }

    dom::ElementPtr ParentElement() override
    {
        xmlNode* parent = m_node->parent;
        if (!parent || parent->type != XML_ELEMENT_NODE)
            return nullptr;
        return std::make_unique<PageElement>(m_state, parent);
    }

    bool RemoveChild(dom::Element& child) override
    {
        xmlNode* node = NodeOf(child);
        if (!node || node->parent != m_node)
            return false;
        m_state->Detach(node);
        return true;
    }

    bool AppendChild(dom::Element& child) override
    {
        xmlNode* node = NodeOf(child);
        if (!node)
            return false;
        m_state->Attach(m_node, node);
        return true;
    }

    // Parsed inside a div of a page of its own, as a browser parses inner HTML in the context of
    // an element, then copied over. The old children leave the tree.
    bool SetInnerHtml(const std::u16string& html) override
    {
        while (m_node->children)
            m_state->Detach(m_node->children);
        const std::string page = "<html><body><div>" + Utf8(html) + "</div></body></html>";
        std::unique_ptr<xmlDoc, decltype(&xmlFreeDoc)> fragment(
            htmlReadMemory(page.data(), static_cast<int>(page.size()), nullptr, "UTF-8", kParseOptions), xmlFreeDoc);
        xmlNode* root = fragment ? xmlDocGetRootElement(fragment.get()) : nullptr;
        xmlNode* wrapper = root && root->children ? root->children->children : nullptr;
        for (xmlNode* node = wrapper ? wrapper->children : nullptr; node; node = node->next)
            xmlAddChild(m_node, xmlDocCopyNode(node, m_state->document, 1));
        return true;
    }

    bool SetFrameSource(const std::u16string& url) override
    {
        const std::string tag = Text(m_node->name);
        if (tag != "iframe" && tag != "frame")
            return false;
        xmlSetProp(m_node, BAD_CAST "src", BAD_CAST Utf8(url).c_str());
        return true;
    }

    static xmlNode* NodeOf(dom::Element& element)
    {
        auto* pageElement = dynamic_cast<PageElement*>(&element);
        return pageElement ? pageElement->m_node : nullptr;
    }
};

std::unique_ptr<dom::Node> Wrap(const StatePtr& state, xmlNode* node)
{
    if (!node)
        return nullptr;
    if (node->type == XML_ELEMENT_NODE)
        return std::make_unique<PageElement>(state, node);
    return std::make_unique<PageNode>(state, node);
}

dom::ElementPtr WrapElement(const StatePtr& state, xmlNode* node)
{
    return node ? std::make_unique<PageElement>(state, node) : nullptr;
}

// Walks the tree again on every call, so it follows the page's changes as a live list does.
class PageCollection final : public dom::ElementCollection {
public:
    PageCollection(StatePtr state, std::string tag) : m_state(std::move(state)), m_tag(std::move(tag)) {}

    long Length() override
    {
        long count = 0;
        m_state->FindElement([&](xmlNode* node) {
            count += Matches(node) ? 1 : 0;
            return false;
        });
        return count;
    }

    dom::ElementPtr Item(long index) override
    {
        long position = 0;
        xmlNode* found = m_state->FindElement([&](xmlNode* node) { return Matches(node) && position++ == index; });
        return WrapElement(m_state, found);
    }

private:
    bool Matches(xmlNode* node) const { return Text(node->name) == m_tag; }

    StatePtr m_state;
    std::string m_tag;
};

class RecordedFunction final : public dom::ScriptFunction {
public:
    RecordedFunction(StatePtr state, std::u16string name) : m_state(std::move(state)), m_name(std::move(name)) {}

    bool Call(const std::vector<dom::ScriptArgument>& arguments) override
    {
        m_state->window.calls.push_back({m_name, arguments});
        return m_state->window.functions.at(m_name);
    }

private:
    StatePtr m_state;
    std::u16string m_name;
};

class PageDocument final : public dom::Document {
public:
    explicit PageDocument(StatePtr state) : m_state(std::move(state)) {}

    dom::ElementPtr ElementById(std::u16string_view id) override
    {
        return WrapElement(m_state, m_state->ElementById(Utf8(id)));
    }

    // Tag names are matched without regard to case, as HTML's are.
    std::unique_ptr<dom::ElementCollection> ElementsByTagName(std::u16string_view tag) override
    {
        std::string name = Utf8(tag);
        for (char& c : name)
            c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        return std::make_unique<PageCollection>(m_state, std::move(name));
    }

    dom::ElementPtr CreateElement(std::u16string_view tag) override
    {
        xmlNode* node = xmlNewDocNode(m_state->document, nullptr, BAD_CAST Utf8(tag).c_str(), nullptr);
        m_state->detached.insert(node);
        return WrapElement(m_state, node);
    }

    std::unique_ptr<dom::ScriptFunction> FindScriptFunction(std::u16string_view name) override
    {
        std::u16string function(name);
        if (!m_state->window.functions.count(function))
            return nullptr;
        return std::make_unique<RecordedFunction>(m_state, std::move(function));
    }

    std::vector<std::u16string> ScriptTexts() override
    {
        std::vector<std::u16string> texts;
        m_state->FindElement([&texts](xmlNode* node) {
            if (Text(node->name) == "script") {
                xmlChar* content = xmlNodeGetContent(node);
                texts.push_back(text::Utf8ToUtf16(Text(content)));
                xmlFree(content);
            }
            return false;
        });
        return texts;
    }

    bool SetBodyOnUnload(const dom::ScriptObjectPtr& handler) override
    {
        if (!m_state->FirstOfTag("body"))
            return false;
        m_state->bodyOnUnload = handler;
        return true;
    }

private:
    StatePtr m_state;
};

}  // namespace

std::unique_ptr<dom::Document> HtmlPage::Document() const
{
    return std::make_unique<PageDocument>(m_state);
}

}  // namespace dialogtest
