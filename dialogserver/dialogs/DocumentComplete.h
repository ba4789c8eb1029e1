#pragma once
// The filter in front of every dialog's steps: which completed documents matter, and which step
// each one gets.

#include <optional>
#include <string>
#include <string_view>

#include "dialogserver/dialogs/ServiceDialog.h"

namespace dialogserver::dialogs {

enum class CompletedDocument { Ignored, InformationPage, ResultPage };

// `url` is the address the document loaded, nothing when the event's value was not a string.
// Empty addresses and the browser's own blank pages are ignored; the information page is known by
// its address (IsSamePageAddress: the same file, or the exact web address); anything else is a
// result page.
CompletedDocument ClassifyCompletedDocument(const std::optional<std::u16string>& url,
                                            std::u16string_view informationPageUrl);

// Runs the step of `dialog` that the completed document calls for. `page` is only used for a
// result page.
void DocumentComplete(ServiceDialog& dialog,
                      DialogHost& host,
                      const std::optional<std::u16string>& url,
                      ResultPage& page);

}  // namespace dialogserver::dialogs
