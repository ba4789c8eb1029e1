#pragma once
// Thin owners of the system's XML DOM (MSXML on Windows, libxml2 elsewhere) that load a text,
// find the root, walk children and attributes and read trimmed texts. Both builds give the same
// answers: white-space-only text nodes are dropped on load (unless xml:space="preserve"), and
// every text is trimmed with the one shared white-space class.
//
// Documents come from the network, so loading never fetches anything and refuses a document
// type declaration (and with it every entity expansion).

#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <utility>

class XmlDocument;
class XmlNodeWalk;

// One DOM node (element, attribute, text, ...), or none. Copies share the same node, which keeps
// its document alive.
class XmlNode {
public:
    struct Impl;

    XmlNode() = default;
    explicit XmlNode(std::shared_ptr<const Impl> impl) : m_impl(std::move(impl)) {}

    bool IsEmpty() const { return !m_impl; }

    // The node name ("version", "p:name", "#text"); empty when unavailable.
    std::u16string Name() const;

    // Element: its direct text children, each trimmed, joined without separator (CDATA sections
    // and other children are skipped). Attribute or text node: its value. Any other node: false.
    // On success the result is trimmed on both ends.
    bool GetText(std::u16string& text) const;

private:
    friend class XmlDocument;
    friend class XmlNodeWalk;
    // Platform: what GetText answers, before the trimming; m_impl is set.
    bool UntrimmedText(std::u16string& text) const;

    std::shared_ptr<const Impl> m_impl;
};

class XmlDocument {
public:
    struct Impl;

    // An empty document.
    XmlDocument();
    // A document loaded from `text`; whether the load succeeded is not kept (an unloaded document
    // finds nothing).
    explicit XmlDocument(std::u16string_view text);
    ~XmlDocument();
    XmlDocument(XmlDocument&& other) noexcept;
    XmlDocument& operator=(XmlDocument&& other) noexcept;
    XmlDocument(const XmlDocument&) = delete;
    XmlDocument& operator=(const XmlDocument&) = delete;

    // False when the system's document object could not be made (on Windows, for instance,
    // without COM on the thread). Such a document answers false or nothing to everything.
    bool IsCreated() const;

    // Replaces the content with `text`. True only when it parsed; a text that does not parse
    // leaves the document empty.
    bool LoadXml(std::u16string_view text);

    // Empty unless the document has child nodes; with exactly one child, that child; otherwise
    // the first child that is an element; empty when there is none.
    XmlNode RootElement() const;

    // The string value of the first node (in document order) that `xpath` selects: the text of a
    // text node, the value of an attribute. Nothing when no node matches, when the node has no
    // string value (an element), or when the expression is not valid XPath.
    std::optional<std::u16string> SelectSingleNodeValue(std::u16string_view xpath) const;

private:
    std::unique_ptr<Impl> m_impl;
};

// Common to the two iterators below: a list of nodes taken from a node, an index into it and
// the current node. Items the system cannot hand out are passed over.
class XmlNodeWalk {
public:
    struct Impl;

    ~XmlNodeWalk();
    XmlNodeWalk(const XmlNodeWalk&) = delete;
    XmlNodeWalk& operator=(const XmlNodeWalk&) = delete;

    // Whether there is a current node.
    bool Valid() const { return !m_current.IsEmpty(); }
    // Moves to the following node; past the last one, Valid() turns false.
    void Next();
    const XmlNode& Current() const { return m_current; }

protected:
    enum class Kind { Children, Attributes };
    XmlNodeWalk(const XmlNode& node, Kind kind);

private:
    // Platform: the list's length (0 without a list) and one item (empty when unavailable).
    long Length() const;
    XmlNode Item(long index) const;
    // Makes the first available node at or after m_index the current one.
    void Settle();

    std::unique_ptr<Impl> m_impl;
    long m_index = 0;
    XmlNode m_current;
};

// Walks the child nodes of a node in document order, starting on the first.
class XmlChildIterator : public XmlNodeWalk {
public:
    explicit XmlChildIterator(const XmlNode& node) : XmlNodeWalk(node, Kind::Children) {}
};

// Walks the attributes of an element, starting on the first. Namespace declarations count as
// attributes ("xmlns", "xmlns:p"), as in MSXML.
class XmlAttributeIterator : public XmlNodeWalk {
public:
    explicit XmlAttributeIterator(const XmlNode& node) : XmlNodeWalk(node, Kind::Attributes) {}
};
