#pragma once
// Walks over a page's elements that the service dialogs use to trim an answer page.

#include <string>
#include <string_view>

#include "dialogserver/dialogs/dom/HtmlDom.h"

namespace dialogserver::dialogs {

// The first `tag` element, in document order, whose class attribute holds `className` as one of
// its space-separated classes (case-sensitive); null when there is none.
dom::ElementPtr FindElementByClass(dom::Document& document, std::u16string_view tag, std::u16string_view className);

// Removes the `tag` elements whose class attribute is exactly `className`. The walk goes by index
// over the live list, so an element that moves into the index of a removed one is not visited.
void RemoveElementsOfClass(dom::Document& document, std::u16string_view tag, std::u16string_view className);

// Hides (display none) every element sibling of `element` and of each of its ancestors, so that only
// the path from the root to it stays visible.
void IsolateElement(dom::Element& element);

// Makes every ancestor element of `element` (not the element itself) fill its container.
void MaximizeElement(dom::Element& element);

}  // namespace dialogserver::dialogs
