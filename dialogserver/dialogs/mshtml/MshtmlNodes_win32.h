#pragma once
// MSHTML's nodes and elements as the DOM interface's; shared by the document and the nodes.

#include <windows.h>

#include <mshtml.h>
#include <wrl/client.h>

#include <memory>

#include "dialogserver/dialogs/dom/HtmlDom.h"

namespace dialogserver::mshtml {

// Null for a null element.
dom::ElementPtr WrapElement(Microsoft::WRL::ComPtr<IHTMLElement> element);
// An element when the node answers IHTMLElement, a plain node otherwise; null for a null node.
std::unique_ptr<dom::Node> WrapNode(Microsoft::WRL::ComPtr<IHTMLDOMNode> node);
// The element behind a DOM element of this implementation; null for any other.
IHTMLElement* ElementOf(dom::Element& element);

}  // namespace dialogserver::mshtml
