#pragma once
// The WebBrowser control shows pages in the document mode of Internet Explorer 7 unless the
// program asks for more, which dictionary pages of today need: Windows reads the per-user feature
// value named after the program's file.

#include <string>

namespace browserwindow {

// FEATURE_BROWSER_EMULATION's value for "edge mode of the newest Internet Explorer".
constexpr unsigned long kNewestDocumentMode = 11001;

// Writes kNewestDocumentMode for `programFileName` ("Vocabra.exe") under the current user, unless
// a value of that name is there already (the user's or an administrator's choice stays).
// True when the value is in place afterwards, whoever wrote it.
bool RequestNewestDocumentMode(const std::wstring& programFileName);

// The same for this program, once per process.
void RequestNewestDocumentModeOnce();

}  // namespace browserwindow
