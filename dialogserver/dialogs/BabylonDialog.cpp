#include "dialogserver/dialogs/ElementWalks.h"
#include "dialogserver/dialogs/PageOperations.h"
#include "dialogserver/dialogs/ServiceDialog.h"

namespace dialogserver::dialogs {

void BabylonDialog::InformationPageLoaded(DialogHost& host)
{
    LoadTranslationFrame(host);
    LoadTracker(host);
}

// Every document of the window comes here (the answer, the tracker, nested frames); only the
// answer proper has a "container", and once it has arrived the window is left to the user.
void BabylonDialog::ResultPageLoaded(DialogHost& host, ResultPage& page)
{
    std::unique_ptr<dom::Document> document = page.Document();
    if (!document)
        return;
    SuppressScriptErrors(*document);
    RemoveElementsOfClass(*document, u"div", u"OT_BannerDiv");
    RemoveElementsOfClass(*document, u"a", u"about-gloss");
    if (!document->ElementById(u"container"))
        return;
    SwitchToTranslation(host);
    host.DetachBrowser();
}

}  // namespace dialogserver::dialogs
