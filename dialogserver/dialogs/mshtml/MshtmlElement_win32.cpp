#include "dialogserver/dialogs/mshtml/MshtmlNodes_win32.h"

#include "foundation/win32api/ComValues_win32.h"

using Microsoft::WRL::ComPtr;
using Win32::API::Bstr;
using Win32::API::Variant;

namespace dialogserver::mshtml {
namespace {

using NodeStep = HRESULT (STDMETHODCALLTYPE IHTMLDOMNode::*)(IHTMLDOMNode**);

std::unique_ptr<dom::Node> Step(IUnknown* from, NodeStep step)
{
    ComPtr<IHTMLDOMNode> node;
    ComPtr<IHTMLDOMNode> next;
    if (!from || FAILED(from->QueryInterface(IID_PPV_ARGS(&node))) || FAILED((node.Get()->*step)(&next)))
        return nullptr;
    return WrapNode(std::move(next));
}

// A text or comment node, or the document: nothing but the walks.
class MshtmlNode final : public dom::Node {
public:
    explicit MshtmlNode(ComPtr<IHTMLDOMNode> node) : m_node(std::move(node)) {}

    dom::Element* AsElement() override { return nullptr; }
    std::unique_ptr<dom::Node> NextSibling() override { return Step(m_node.Get(), &IHTMLDOMNode::get_nextSibling); }
    std::unique_ptr<dom::Node> PreviousSibling() override
    {
        return Step(m_node.Get(), &IHTMLDOMNode::get_previousSibling);
    }
    std::unique_ptr<dom::Node> ParentNode() override { return Step(m_node.Get(), &IHTMLDOMNode::get_parentNode); }

private:
    ComPtr<IHTMLDOMNode> m_node;
};

// The style interface that carries `property`: IHTMLStyle, or one of its later additions.
HRESULT PutStyle(IHTMLStyle& style, dom::Style property, const std::u16string& value)
{
    const Bstr text(value);
    const Variant length(std::u16string_view{value});
    ComPtr<IHTMLStyle2> style2;
    ComPtr<IHTMLStyle4> style4;
    ComPtr<IHTMLStyle5> style5;
    switch (property) {
        case dom::Style::Display:
            return style.put_display(text.Get());
        case dom::Style::Width:
            return style.put_width(length.Value());
        case dom::Style::Height:
            return style.put_height(length.Value());
        case dom::Style::Padding:
            return style.put_padding(text.Get());
        case dom::Style::Margin:
            return style.put_margin(text.Get());
        case dom::Style::Float:
            return style.put_styleFloat(text.Get());
        case dom::Style::OverflowY:
            return SUCCEEDED(style.QueryInterface(IID_PPV_ARGS(&style2))) ? style2->put_overflowY(text.Get())
                                                                          : E_NOINTERFACE;
        case dom::Style::MinHeight:
            return SUCCEEDED(style.QueryInterface(IID_PPV_ARGS(&style4))) ? style4->put_minHeight(length.Value())
                                                                          : E_NOINTERFACE;
        case dom::Style::MaxWidth:
        case dom::Style::MinWidth:
        case dom::Style::MaxHeight:
            if (FAILED(style.QueryInterface(IID_PPV_ARGS(&style5))))
                return E_NOINTERFACE;
            if (property == dom::Style::MaxWidth)
                return style5->put_maxWidth(length.Value());
            return property == dom::Style::MinWidth ? style5->put_minWidth(length.Value())
                                                    : style5->put_maxHeight(length.Value());
    }
    return E_INVALIDARG;
}

class MshtmlElement final : public dom::Element {
public:
    explicit MshtmlElement(ComPtr<IHTMLElement> element) : m_element(std::move(element)) {}

    IHTMLElement* Get() const { return m_element.Get(); }

    std::unique_ptr<dom::Node> NextSibling() override { return Step(Get(), &IHTMLDOMNode::get_nextSibling); }
    std::unique_ptr<dom::Node> PreviousSibling() override { return Step(Get(), &IHTMLDOMNode::get_previousSibling); }
    std::unique_ptr<dom::Node> ParentNode() override { return Step(Get(), &IHTMLDOMNode::get_parentNode); }

    std::optional<std::u16string> ClassName() override
    {
        Bstr name;
        if (FAILED(m_element->get_className(name.Receive())) || !name.Get())
            return std::nullopt;
        return name.Text();
    }

    bool SetStyle(dom::Style property, const std::u16string& value) override
    {
        ComPtr<IHTMLStyle> style;
        return SUCCEEDED(m_element->get_style(&style)) && style && SUCCEEDED(PutStyle(*style.Get(), property, value));
    }

    dom::ElementPtr ParentElement() override
    {
        ComPtr<IHTMLElement> parent;
        return SUCCEEDED(m_element->get_parentElement(&parent)) ? WrapElement(std::move(parent)) : nullptr;
    }

    bool RemoveChild(dom::Element& child) override { return ChangeChild(child, &IHTMLDOMNode::removeChild); }

    bool AppendChild(dom::Element& child) override { return ChangeChild(child, &IHTMLDOMNode::appendChild); }

    bool SetInnerHtml(const std::u16string& html) override
    {
        return SUCCEEDED(m_element->put_innerHTML(Bstr(html).Get()));
    }

    bool SetFrameSource(const std::u16string& url) override
    {
        ComPtr<IHTMLFrameBase> frame;
        return SUCCEEDED(m_element.As(&frame)) && SUCCEEDED(frame->put_src(Bstr(url).Get()));
    }

private:
    using ChildChange = HRESULT (STDMETHODCALLTYPE IHTMLDOMNode::*)(IHTMLDOMNode*, IHTMLDOMNode**);

    bool ChangeChild(dom::Element& child, ChildChange change)
    {
        IHTMLElement* childElement = ElementOf(child);
        ComPtr<IHTMLDOMNode> node;
        ComPtr<IHTMLDOMNode> childNode;
        ComPtr<IHTMLDOMNode> changed;
        return childElement && SUCCEEDED(m_element.As(&node)) &&
               SUCCEEDED(childElement->QueryInterface(IID_PPV_ARGS(&childNode))) &&
               SUCCEEDED((node.Get()->*change)(childNode.Get(), &changed));
    }

    ComPtr<IHTMLElement> m_element;
};

}  // namespace

dom::ElementPtr WrapElement(ComPtr<IHTMLElement> element)
{
    return element ? std::make_unique<MshtmlElement>(std::move(element)) : nullptr;
}

std::unique_ptr<dom::Node> WrapNode(ComPtr<IHTMLDOMNode> node)
{
    if (!node)
        return nullptr;
    ComPtr<IHTMLElement> element;
    if (SUCCEEDED(node.As(&element)) && element)
        return WrapElement(std::move(element));
    return std::make_unique<MshtmlNode>(std::move(node));
}

IHTMLElement* ElementOf(dom::Element& element)
{
    auto* mshtmlElement = dynamic_cast<MshtmlElement*>(&element);
    return mshtmlElement ? mshtmlElement->Get() : nullptr;
}

}  // namespace dialogserver::mshtml
