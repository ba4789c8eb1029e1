#pragma once
// The parsed tree behind an HtmlPage and its DOM handles, which share it.

#include <libxml/HTMLparser.h>
#include <libxml/tree.h>

#include <functional>
#include <memory>
#include <set>
#include <string>
#include <string_view>

#include "tests/dialogserver/dialogs/HtmlPage_posix.h"

namespace dialogtest {

struct HtmlPage::State {
    explicit State(const std::string& html);
    // Frees the nodes that left the tree (or never joined it) before the tree itself.
    ~State();

    // A node that leaves the tree is kept until the page goes, so that handles stay valid.
    void Detach(xmlNode* node);
    // `node` joins the tree (or another detached one) under `parent`.
    void Attach(xmlNode* parent, xmlNode* node);

    // Elements in document order; stops when `visit` returns true, and returns that element.
    xmlNode* FindElement(const std::function<bool(xmlNode*)>& visit) const;
    xmlNode* ElementById(std::string_view id) const;
    xmlNode* FirstOfTag(std::string_view tag) const;
    xmlNode* Find(const std::string& key) const;  // "#id" or a tag name

    xmlDoc* document = nullptr;
    std::set<xmlNode*> detached;  // roots of the trees outside the document
    ScriptWindow window;
    std::set<dom::Style> refusedStyles;
    dom::ScriptObjectPtr bodyOnUnload;
};

// libxml2's text, as UTF-8.
std::string Text(const xmlChar* text);
// A property of a node; nothing when missing.
std::optional<std::string> Property(const xmlNode* node, const char* name);
// The CSS name of a style property.
std::string CssName(dom::Style property);
// The style attribute's property list with `property` set to `value`: replaced in place when
// present, appended otherwise.
std::string WithStyle(const std::string& style, const std::string& property, const std::string& value);
// The value of `property` in a style attribute, "" when not set.
std::string StyleProperty(const std::string& style, const std::string& property);

}  // namespace dialogtest
