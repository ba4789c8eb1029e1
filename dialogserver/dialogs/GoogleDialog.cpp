#include "dialogserver/dialogs/PageOperations.h"
#include "dialogserver/dialogs/ServiceDialog.h"

namespace dialogserver::dialogs {
namespace {

// Both names of the system's XML HTTP request class, newest first.
constexpr const char16_t* kRequestClasses[] = {u"Msxml2.XMLHTTP", u"Microsoft.XMLHTTP"};

dom::ScriptObjectPtr CreateHttpRequest(DialogHost& host)
{
    for (const char16_t* progId : kRequestClasses) {
        if (dom::ScriptObjectPtr request = host.CreateScriptObject(progId))
            return request;
    }
    return nullptr;
}

// The page's "initTranslation" fetches and shows the answer itself with the request object.
void StartTranslation(DialogHost& host)
{
    std::unique_ptr<dom::Document> page = host.InformationPage();
    if (!page)
        return;
    std::unique_ptr<dom::ScriptFunction> initTranslation = page->FindScriptFunction(u"initTranslation");
    if (!initTranslation)
        return;
    dom::ScriptObjectPtr request = CreateHttpRequest(host);
    if (!request)
        return;
    initTranslation->Call({request, host.RequestUrl()});
}

}  // namespace

void GoogleDialog::InformationPageLoaded(DialogHost& host)
{
    LoadTracker(host);
    StartTranslation(host);
    host.DetachBrowser();
}

}  // namespace dialogserver::dialogs
