#pragma once
// A page for the dialogs' tests: real HTML parsed by libxml2's HTML parser behind the DOM
// interface. Styles are written into each element's style attribute, frame sources into src; the
// window's script functions are a recorder that the test fills beforehand.

#include <map>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "dialogserver/dialogs/dom/HtmlDom.h"

namespace dialogtest {

namespace dom = dialogserver::dom;

// The page window's functions: which exist and whether calling each succeeds; every call made.
struct ScriptWindow {
    struct Call {
        std::u16string name;
        std::vector<dom::ScriptArgument> arguments;
    };

    std::map<std::u16string, bool> functions;
    std::vector<Call> calls;

    // The names of the calls, in order.
    std::vector<std::u16string> CallNames() const;
    // The single string argument of each call of `name`, in order.
    std::vector<std::u16string> TextArguments(const std::u16string& name) const;
};

class HtmlPage {
public:
    explicit HtmlPage(const std::string& html);
    ~HtmlPage();
    HtmlPage(const HtmlPage&) = delete;
    HtmlPage& operator=(const HtmlPage&) = delete;

    // A new handle on the page, as a browser hands out its document.
    std::unique_ptr<dom::Document> Document() const;

    ScriptWindow& Window();
    // Style properties this "browser" refuses, as an old engine lacks the later style interfaces.
    void RefuseStyle(dom::Style property);
    // What the page keeps as its body's onunload handler.
    dom::ScriptObjectPtr BodyOnUnload() const;
    // The body's text, roughly as innerText reads it; nothing without a body.
    std::optional<std::u16string> BodyText() const;

    // Inspection. `key` is "#id" for the first element with that id, or a tag name for the first
    // element of that tag.
    bool Has(const std::string& key) const;
    // Nothing when the element or the attribute is missing.
    std::optional<std::string> Attribute(const std::string& key, const std::string& name) const;
    // The style attribute, "" when none.
    std::string Style(const std::string& key) const;
    // The value of one property in the style attribute, "" when not set.
    std::string StyleValue(const std::string& key, const std::string& property) const;
    // The element's children serialised as HTML.
    std::string InnerHtml(const std::string& key) const;
    // The class attribute of every element of `tag`, in document order ("" for none).
    std::vector<std::string> Classes(const std::string& tag) const;

    struct State;

private:
    std::shared_ptr<State> m_state;
};

}  // namespace dialogtest
