#include "dialogserver/dialogs/DocumentComplete.h"

#include "dialogserver/dialogs/PageAddress.h"

namespace dialogserver::dialogs {

CompletedDocument ClassifyCompletedDocument(const std::optional<std::u16string>& url,
                                            std::u16string_view informationPageUrl)
{
    // Every new window and tab completes one of these before anything else.
    if (!url || url->empty() || *url == u"about:blank" || *url == u"about:Tabs")
        return CompletedDocument::Ignored;
    return IsSamePageAddress(*url, informationPageUrl) ? CompletedDocument::InformationPage
                                                       : CompletedDocument::ResultPage;
}

void DocumentComplete(ServiceDialog& dialog,
                      DialogHost& host,
                      const std::optional<std::u16string>& url,
                      ResultPage& page)
{
    switch (ClassifyCompletedDocument(url, host.InformationPageUrl())) {
        case CompletedDocument::InformationPage:
            dialog.InformationPageLoaded(host);
            break;
        case CompletedDocument::ResultPage:
            dialog.ResultPageLoaded(host, page);
            break;
        case CompletedDocument::Ignored:
            break;
    }
}

}  // namespace dialogserver::dialogs
