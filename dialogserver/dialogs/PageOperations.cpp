#include "dialogserver/dialogs/PageOperations.h"

#include "dialogserver/dialogs/ReplaceAll.h"

namespace dialogserver::dialogs {
namespace {

void SetStyle(dom::Document& page, std::u16string_view id, dom::Style property, const std::u16string& value)
{
    if (dom::ElementPtr element = page.ElementById(id))
        element->SetStyle(property, value);
}

// The page's own function `script`, or else `hide` hidden and `show` shown full.
void SwitchElements(DialogHost& host, std::u16string_view script, std::u16string_view hide, std::u16string_view show)
{
    std::unique_ptr<dom::Document> page = host.InformationPage();
    if (!page || CallScriptFunction(*page, script))
        return;
    HideElement(*page, hide);
    ShowElementFull(*page, show);
}

void SetFrameSource(DialogHost& host, std::u16string_view id, const std::u16string& url)
{
    std::unique_ptr<dom::Document> page = host.InformationPage();
    if (!page)
        return;
    if (dom::ElementPtr frame = page->ElementById(id))
        frame->SetFrameSource(url);
}

}  // namespace

void HideElement(dom::Document& page, std::u16string_view id)
{
    SetStyle(page, id, dom::Style::Display, u"none");
}

void ShowElementFull(dom::Document& page, std::u16string_view id)
{
    dom::ElementPtr element = page.ElementById(id);
    if (!element)
        return;
    element->SetStyle(dom::Style::Width, u"100%");
    element->SetStyle(dom::Style::Height, u"100%");
    element->SetStyle(dom::Style::Display, u"block");
}

bool CallScriptFunction(dom::Document& page,
                        std::u16string_view name,
                        const std::vector<dom::ScriptArgument>& arguments)
{
    std::unique_ptr<dom::ScriptFunction> function = page.FindScriptFunction(name);
    return function && function->Call(arguments);
}

void SuppressScriptErrors(dom::Document& document)
{
    CallScriptFunction(document, u"eval", {std::u16string(u"window.onerror = function () { return true; };")});
}

void SwitchToTranslation(DialogHost& host)
{
    SwitchElements(host, u"showTranslation", u"progress", u"translation");
}

void SwitchToProgress(DialogHost& host)
{
    SwitchElements(host, u"showProgressBar", u"translation", u"progress");
}

void LoadTranslationFrame(DialogHost& host)
{
    SetFrameSource(host, u"translation", host.RequestUrl());
}

void LoadTracker(DialogHost& host)
{
    SetFrameSource(host, u"tracker", TrackerAddress(host.TrackerUrlTemplate(), host.ServiceName()));
}

std::u16string TrackerAddress(std::u16string_view urlTemplate, std::u16string_view serviceName)
{
    std::u16string address = ReplaceAll(urlTemplate, u"%dictionary%", serviceName);
    return address.empty() ? u"about:blank" : address;
}

}  // namespace dialogserver::dialogs
