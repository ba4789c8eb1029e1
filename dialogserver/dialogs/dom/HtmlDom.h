#pragma once
// The few things the dialogs do to a loaded page, as an interface: MSHTML serves it on Windows,
// the tests serve it on real HTML parsed by libxml2. Every handle owns what it refers to (a COM
// reference, or a share of the parsed tree) and may outlive the call that returned it.

#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace dialogserver::dom {

class Element;
using ElementPtr = std::unique_ptr<Element>;

// An object a page script can hold: an HTTP request object, an event handler. Opaque here; each
// DOM implementation knows its own kind.
class ScriptObject {
public:
    virtual ~ScriptObject() = default;
};
using ScriptObjectPtr = std::shared_ptr<ScriptObject>;

// An argument of a script call: a string, an object, or a number.
using ScriptArgument = std::variant<std::u16string, ScriptObjectPtr, double>;

// A function of the page's window (a property holding a callable object).
class ScriptFunction {
public:
    virtual ~ScriptFunction() = default;
    // Calls the function with `arguments`, first argument first, and drops its result. True when
    // the call succeeded.
    virtual bool Call(const std::vector<ScriptArgument>& arguments) = 0;
};

// The style properties the dialogs set.
enum class Style {
    Display,
    Width,
    Height,
    MaxWidth,
    MinWidth,
    MaxHeight,
    MinHeight,
    Padding,
    Margin,
    Float,
    OverflowY
};

// Any node of the tree. Sibling and parent walks meet text and comment nodes as well as elements,
// and end at the document node, which is not an element either.
class Node {
public:
    virtual ~Node() = default;
    // This node as an element; null for any other kind of node. Owned by this node.
    virtual Element* AsElement() = 0;
    // Null at the end of the walk.
    virtual std::unique_ptr<Node> NextSibling() = 0;
    virtual std::unique_ptr<Node> PreviousSibling() = 0;
    virtual std::unique_ptr<Node> ParentNode() = 0;
};

class Element : public Node {
public:
    Element* AsElement() override { return this; }

    // The class attribute as a whole; nothing when the element has none.
    virtual std::optional<std::u16string> ClassName() = 0;
    // False when the browser does not support the property; the others are unaffected.
    virtual bool SetStyle(Style property, const std::u16string& value) = 0;
    // The parent element; null at the root element.
    virtual ElementPtr ParentElement() = 0;
    // `child` must have been made by the same document.
    virtual bool RemoveChild(Element& child) = 0;
    virtual bool AppendChild(Element& child) = 0;
    virtual bool SetInnerHtml(const std::u16string& html) = 0;
    // Sets the source of the element taken as a frame; false when it is not a frame.
    virtual bool SetFrameSource(const std::u16string& url) = 0;
};

// A live list: its length is read anew by every call, and removing an element from the document
// moves the following ones down by one index.
class ElementCollection {
public:
    virtual ~ElementCollection() = default;
    virtual long Length() = 0;
    // Null outside the list.
    virtual ElementPtr Item(long index) = 0;
};

class Document {
public:
    virtual ~Document() = default;

    // The first element with that id; null when there is none.
    virtual ElementPtr ElementById(std::u16string_view id) = 0;
    // Every element with that tag name, in document order; null when the page cannot list them.
    virtual std::unique_ptr<ElementCollection> ElementsByTagName(std::u16string_view tag) = 0;
    // A new element of this document, not yet in the tree.
    virtual ElementPtr CreateElement(std::u16string_view tag) = 0;
    // The function `name` of the page's window; null when the window has no such callable property.
    virtual std::unique_ptr<ScriptFunction> FindScriptFunction(std::u16string_view name) = 0;
    // The text of each of the page's script elements, in document order.
    virtual std::vector<std::u16string> ScriptTexts() = 0;
    // Makes `handler` the body's onunload handler; the page keeps it. False without a body.
    virtual bool SetBodyOnUnload(const ScriptObjectPtr& handler) = 0;
};

}  // namespace dialogserver::dom
