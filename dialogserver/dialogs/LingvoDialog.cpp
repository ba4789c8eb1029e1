#include "dialogserver/dialogs/ElementWalks.h"
#include "dialogserver/dialogs/PageOperations.h"
#include "dialogserver/dialogs/ServiceDialog.h"

namespace dialogserver::dialogs {

void LingvoDialog::InformationPageLoaded(DialogHost& host)
{
    host.NavigateTopBrowser(host.RequestUrl());
}

// The service's own page fills the window: everything but its search results is hidden, and
// following a link in it shows the progress display until the next page has loaded.
void LingvoDialog::ResultPageLoaded(DialogHost& host, ResultPage& page)
{
    std::unique_ptr<dom::Document> document = page.Document();
    if (!document)
        return;
    SuppressScriptErrors(*document);
    dom::ElementPtr results = FindElementByClass(*document, u"div", u"b-search-results");
    if (!results)
        return;
    IsolateElement(*results);
    MaximizeElement(*results);
    if (dom::ElementPtr pageBlock = document->ElementById(u"page"))
        pageBlock->SetStyle(dom::Style::OverflowY, u"auto");
    SwitchToTranslation(host);
    if (dom::ScriptObjectPtr onUnload = host.CreateEventHandler(SwitchToProgress))
        document->SetBodyOnUnload(onUnload);
    if (dom::ElementPtr balloon = FindElementByClass(*document, u"div", u"b-round-box_info-baloon"))
        balloon->SetStyle(dom::Style::Display, u"none");
}

}  // namespace dialogserver::dialogs
