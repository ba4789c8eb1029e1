#include "dialogserver/dialogs/ElementWalks.h"

#include <memory>
#include <utility>

namespace dialogserver::dialogs {
namespace {

bool HoldsClass(const std::u16string& classes, std::u16string_view className)
{
    if (classes == className)
        return true;
    std::u16string token;
    token.append(u" ").append(className).append(u" ");
    return (u" " + classes + u" ").find(token) != std::u16string::npos;
}

using NodeStep = std::unique_ptr<dom::Node> (dom::Node::*)();

void HideElementsAlong(dom::Node& start, NodeStep step)
{
    for (std::unique_ptr<dom::Node> node = (start.*step)(); node; node = ((*node).*step)()) {
        if (dom::Element* element = node->AsElement())
            element->SetStyle(dom::Style::Display, u"none");
    }
}

void HideElementSiblings(dom::Element& element)
{
    HideElementsAlong(element, &dom::Node::NextSibling);
    HideElementsAlong(element, &dom::Node::PreviousSibling);
}

}  // namespace

dom::ElementPtr FindElementByClass(dom::Document& document, std::u16string_view tag, std::u16string_view className)
{
    std::unique_ptr<dom::ElementCollection> elements = document.ElementsByTagName(tag);
    if (!elements)
        return nullptr;
    for (long index = 0; index < elements->Length(); ++index) {
        dom::ElementPtr element = elements->Item(index);
        if (!element)
            continue;
        const std::optional<std::u16string> classes = element->ClassName();
        if (classes && HoldsClass(*classes, className))
            return element;
    }
    return nullptr;
}

void RemoveElementsOfClass(dom::Document& document, std::u16string_view tag, std::u16string_view className)
{
    std::unique_ptr<dom::ElementCollection> elements = document.ElementsByTagName(tag);
    if (!elements)
        return;
    for (long index = 0; index < elements->Length(); ++index) {
        dom::ElementPtr element = elements->Item(index);
        if (!element || element->ClassName() != className)
            continue;
        if (dom::ElementPtr parent = element->ParentElement())
            parent->RemoveChild(*element);
    }
}

void IsolateElement(dom::Element& element)
{
    HideElementSiblings(element);
    for (dom::ElementPtr ancestor = element.ParentElement(); ancestor; ancestor = ancestor->ParentElement())
        HideElementSiblings(*ancestor);
}

void MaximizeElement(dom::Element& element)
{
    static constexpr std::pair<dom::Style, const char16_t*> kFill[] = {
        {dom::Style::Width, u"100%"},  {dom::Style::MaxWidth, u"100%"},  {dom::Style::MinWidth, u"0"},
        {dom::Style::Height, u"100%"}, {dom::Style::MaxHeight, u"100%"}, {dom::Style::MinHeight, u"0"},
        {dom::Style::Padding, u"0"},   {dom::Style::Margin, u"0"},       {dom::Style::Float, u"none"},
    };
    for (std::unique_ptr<dom::Node> node = element.ParentNode(); node && node->AsElement(); node = node->ParentNode()) {
        for (const auto& [property, value] : kFill)
            node->AsElement()->SetStyle(property, value);
    }
}

}  // namespace dialogserver::dialogs
