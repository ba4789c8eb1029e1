#include <libxml/HTMLtree.h>

#include <algorithm>
#include <variant>

#include "foundation/text/Utf.h"
#include "tests/dialogserver/dialogs/HtmlPageState_posix.h"

namespace dialogtest {
namespace {

constexpr int kParseOptions = HTML_PARSE_NONET | HTML_PARSE_NOERROR | HTML_PARSE_NOWARNING;

struct FreeString {
    void operator()(xmlChar* text) const { xmlFree(text); }
};

void Collect(xmlNode* node, const std::function<bool(xmlNode*)>& visit, xmlNode*& found)
{
    for (xmlNode* child = node; child && !found; child = child->next) {
        if (child->type != XML_ELEMENT_NODE)
            continue;
        if (visit(child))
            found = child;
        else
            Collect(child->children, visit, found);
    }
}

// "name: value" pairs of a style attribute, in order.
std::vector<std::pair<std::string, std::string>> StylePairs(const std::string& style)
{
    std::vector<std::pair<std::string, std::string>> pairs;
    std::size_t from = 0;
    while (from < style.size()) {
        std::size_t end = style.find(';', from);
        if (end == std::string::npos)
            end = style.size();
        const std::string item = style.substr(from, end - from);
        const std::size_t colon = item.find(':');
        if (colon != std::string::npos) {
            auto trim = [](std::string text) {
                text.erase(0, text.find_first_not_of(' '));
                text.erase(text.find_last_not_of(' ') + 1);
                return text;
            };
            pairs.emplace_back(trim(item.substr(0, colon)), trim(item.substr(colon + 1)));
        }
        from = end + 1;
    }
    return pairs;
}

}  // namespace

HtmlPage::State::State(const std::string& html)
    : document(htmlReadMemory(html.data(), static_cast<int>(html.size()), nullptr, "UTF-8", kParseOptions))
{
}

HtmlPage::State::~State()
{
    for (xmlNode* node : detached)
        xmlFreeNode(node);
    xmlFreeDoc(document);
}

void HtmlPage::State::Detach(xmlNode* node)
{
    xmlUnlinkNode(node);
    detached.insert(node);
}

void HtmlPage::State::Attach(xmlNode* parent, xmlNode* node)
{
    xmlUnlinkNode(node);
    detached.erase(node);
    xmlAddChild(parent, node);
}

xmlNode* HtmlPage::State::FindElement(const std::function<bool(xmlNode*)>& visit) const
{
    xmlNode* found = nullptr;
    Collect(document ? xmlDocGetRootElement(document) : nullptr, visit, found);
    return found;
}

xmlNode* HtmlPage::State::ElementById(std::string_view id) const
{
    return FindElement([id](xmlNode* node) { return Property(node, "id") == id; });
}

xmlNode* HtmlPage::State::FirstOfTag(std::string_view tag) const
{
    return FindElement([tag](xmlNode* node) { return Text(node->name) == tag; });
}

xmlNode* HtmlPage::State::Find(const std::string& key) const
{
    return key.rfind('#', 0) == 0 ? ElementById(key.substr(1)) : FirstOfTag(key);
}

std::string Text(const xmlChar* text)
{
    return text ? reinterpret_cast<const char*>(text) : "";
}

std::optional<std::string> Property(const xmlNode* node, const char* name)
{
    std::unique_ptr<xmlChar, FreeString> value(xmlGetProp(node, BAD_CAST name));
    if (!value)
        return std::nullopt;
    return Text(value.get());
}

std::string CssName(dom::Style property)
{
    switch (property) {
        case dom::Style::Display:
            return "display";
        case dom::Style::Width:
            return "width";
        case dom::Style::Height:
            return "height";
        case dom::Style::MaxWidth:
            return "max-width";
        case dom::Style::MinWidth:
            return "min-width";
        case dom::Style::MaxHeight:
            return "max-height";
        case dom::Style::MinHeight:
            return "min-height";
        case dom::Style::Padding:
            return "padding";
        case dom::Style::Margin:
            return "margin";
        case dom::Style::Float:
            return "float";
        case dom::Style::OverflowY:
            return "overflow-y";
    }
    return "?";
}

std::string WithStyle(const std::string& style, const std::string& property, const std::string& value)
{
    std::vector<std::pair<std::string, std::string>> pairs = StylePairs(style);
    auto found = std::find_if(pairs.begin(), pairs.end(), [&](const auto& pair) { return pair.first == property; });
    if (found != pairs.end())
        found->second = value;
    else
        pairs.emplace_back(property, value);
    std::string result;
    for (const auto& [name, setting] : pairs)
        result.append(result.empty() ? "" : "; ").append(name).append(": ").append(setting);
    return result;
}

std::string StyleProperty(const std::string& style, const std::string& property)
{
    for (const auto& [name, value] : StylePairs(style)) {
        if (name == property)
            return value;
    }
    return "";
}

std::vector<std::u16string> ScriptWindow::CallNames() const
{
    std::vector<std::u16string> names;
    for (const Call& call : calls)
        names.push_back(call.name);
    return names;
}

std::vector<std::u16string> ScriptWindow::TextArguments(const std::u16string& name) const
{
    std::vector<std::u16string> texts;
    for (const Call& call : calls) {
        if (call.name == name && call.arguments.size() == 1 &&
            std::holds_alternative<std::u16string>(call.arguments[0]))
            texts.push_back(std::get<std::u16string>(call.arguments[0]));
    }
    return texts;
}

HtmlPage::HtmlPage(const std::string& html) : m_state(std::make_shared<State>(html)) {}
HtmlPage::~HtmlPage() = default;

ScriptWindow& HtmlPage::Window()
{
    return m_state->window;
}

void HtmlPage::RefuseStyle(dom::Style property)
{
    m_state->refusedStyles.insert(property);
}

dom::ScriptObjectPtr HtmlPage::BodyOnUnload() const
{
    return m_state->bodyOnUnload;
}

std::optional<std::u16string> HtmlPage::BodyText() const
{
    xmlNode* body = m_state->FirstOfTag("body");
    if (!body)
        return std::nullopt;
    std::unique_ptr<xmlChar, FreeString> text(xmlNodeGetContent(body));
    return text::Utf8ToUtf16(Text(text.get()));
}

bool HtmlPage::Has(const std::string& key) const
{
    return m_state->Find(key) != nullptr;
}

std::optional<std::string> HtmlPage::Attribute(const std::string& key, const std::string& name) const
{
    xmlNode* node = m_state->Find(key);
    return node ? Property(node, name.c_str()) : std::nullopt;
}

std::string HtmlPage::Style(const std::string& key) const
{
    return Attribute(key, "style").value_or("");
}

std::string HtmlPage::StyleValue(const std::string& key, const std::string& property) const
{
    return StyleProperty(Style(key), property);
}

std::string HtmlPage::InnerHtml(const std::string& key) const
{
    xmlNode* node = m_state->Find(key);
    if (!node)
        return "";
    std::unique_ptr<xmlBuffer, decltype(&xmlBufferFree)> buffer(xmlBufferCreate(), xmlBufferFree);
    xmlOutputBuffer* output = xmlOutputBufferCreateBuffer(buffer.get(), nullptr);
    for (xmlNode* child = node->children; child; child = child->next)
        htmlNodeDumpFormatOutput(output, m_state->document, child, "UTF-8", 0);
    xmlOutputBufferClose(output);
    return Text(xmlBufferContent(buffer.get()));
}

std::vector<std::string> HtmlPage::Classes(const std::string& tag) const
{
    std::vector<std::string> classes;
    m_state->FindElement([&](xmlNode* node) {
        if (Text(node->name) == tag)
            classes.push_back(Property(node, "class").value_or(""));
        return false;
    });
    return classes;
}

}  // namespace dialogtest
