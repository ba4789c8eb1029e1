#pragma once
// What the window reads of the browser's documents, through late binding only: a page's own
// document and a test's stand-in answer alike.

#include <windows.h>

#include <oaidl.h>

#include <string>

namespace browserwindow {

// Whether two interface pointers belong to one COM object (their IUnknown is the same).
bool IsSameObject(IUnknown* first, IUnknown* second);

// The document's "title" property; false when the document has none or it is not text.
bool ReadTitle(IDispatch* document, std::wstring& title);

// A document has finished loading in `completed`: when that is the window's own browser (not a
// frame of its page) and the document has a title, the title becomes the window's caption. A page
// without a title leaves the caption as it was, "Vocabra" before the first one.
void ShowDocumentTitle(HWND window, IDispatch* completed, IUnknown* windowBrowser);

}  // namespace browserwindow
