#pragma once
// What the page steps need from the dialog object that owns the browser. The COM dialog object
// implements it on Windows; the tests implement it with parsed pages and recorders.

#include <functional>
#include <memory>
#include <string>

#include "dialogserver/dialogs/dom/HtmlDom.h"
#include "foundation/xml/XmlResponseParser.h"

namespace dialogserver::dialogs {

class DialogHost {
public:
    virtual ~DialogHost() = default;

    // The top document of the dialog's browser (the information page until Lingvo replaces it);
    // null when the browser is gone or shows no document.
    virtual std::unique_ptr<dom::Document> InformationPage() = 0;
    // The address of the service's information page.
    virtual std::u16string InformationPageUrl() const = 0;
    // The service's request address for the word.
    virtual std::u16string RequestUrl() const = 0;
    // "dictionary.tracker.url" of the configuration, "" when missing.
    virtual std::u16string TrackerUrlTemplate() const = 0;
    // "service.name" of the service's properties, "" when missing.
    virtual std::u16string ServiceName() const = 0;
    // "Translation was not found" in the user-interface language.
    virtual std::u16string NotFoundText() const = 0;

    // Cancels the browser's event connection and lets the browser go; no more steps follow.
    virtual void DetachBrowser() = 0;
    // Sends the dialog's own browser (the whole window) to `url`; the outcome is not needed.
    virtual void NavigateTopBrowser(const std::u16string& url) = 0;
    // An object of the class `progId`, for a page script; null when it cannot be created.
    virtual dom::ScriptObjectPtr CreateScriptObject(const std::u16string& progId) = 0;
    // A page event handler that runs `action` whenever the page invokes it, keeping the dialog
    // alive for as long as the page holds it. The page fires it long after the step that made it
    // has returned, so `action` gets a host made for that call from the dialog the handler keeps,
    // and must not hold on to the host of the step.
    using EventAction = std::function<void(DialogHost& host)>;
    virtual dom::ScriptObjectPtr CreateEventHandler(EventAction action) = 0;
};

// The page or frame whose document has just completed (the event's browser object).
class ResultPage {
public:
    virtual ~ResultPage() = default;
    // Its document; null when the object is not a browser or shows no document.
    virtual std::unique_ptr<dom::Document> Document() = 0;
    // A response parser built from it; it holds no parser (or is null) when the object is not a
    // browser or its page has nothing to read.
    virtual std::unique_ptr<XML::CXMLResponseParser> ResponseParser() = 0;
};

}  // namespace dialogserver::dialogs
