#pragma once
// A dialog object for the steps' tests: fixed addresses and texts, an information page supplied
// by the test, and a record of what the steps asked of it.

#include <functional>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "dialogserver/dialogs/DialogHost.h"

namespace dialogtest {

namespace dom = dialogserver::dom;

// An object made for a ProgID.
struct ClassObject : dom::ScriptObject {
    explicit ClassObject(std::u16string progId) : progId(std::move(progId)) {}
    std::u16string progId;
};

// An event handler as a page holds it; the test fires it as the page would, with the host the
// dialog object makes for that call.
struct EventHandler : dom::ScriptObject {
    explicit EventHandler(dialogserver::dialogs::DialogHost::EventAction action) : action(std::move(action)) {}
    void Fire(dialogserver::dialogs::DialogHost& host) const { action(host); }
    dialogserver::dialogs::DialogHost::EventAction action;
};

struct FakeHost : dialogserver::dialogs::DialogHost {
    std::function<std::unique_ptr<dom::Document>()> openInformationPage;  // unset: no document
    std::u16string informationPageUrl = u"https://info.example/dictionary.html";
    std::u16string requestUrl = u"https://dictionary.example/?word=cat";
    std::u16string trackerUrlTemplate = u"https://track.example/%dictionary%.html";
    std::u16string serviceName = u"Babylon";
    std::u16string notFoundText = u"Translation was not found";
    std::set<std::u16string> registeredClasses;  // the ProgIDs CreateScriptObject can make

    std::vector<std::u16string> classRequests;
    std::vector<std::u16string> navigations;
    std::vector<std::shared_ptr<EventHandler>> handlers;
    int detachments = 0;

    std::unique_ptr<dom::Document> InformationPage() override
    {
        return openInformationPage ? openInformationPage() : nullptr;
    }
    std::u16string InformationPageUrl() const override { return informationPageUrl; }
    std::u16string RequestUrl() const override { return requestUrl; }
    std::u16string TrackerUrlTemplate() const override { return trackerUrlTemplate; }
    std::u16string ServiceName() const override { return serviceName; }
    std::u16string NotFoundText() const override { return notFoundText; }

    void DetachBrowser() override { ++detachments; }
    void NavigateTopBrowser(const std::u16string& url) override { navigations.push_back(url); }
    dom::ScriptObjectPtr CreateScriptObject(const std::u16string& progId) override
    {
        classRequests.push_back(progId);
        return registeredClasses.count(progId) ? std::make_shared<ClassObject>(progId) : nullptr;
    }
    dom::ScriptObjectPtr CreateEventHandler(EventAction action) override
    {
        handlers.push_back(std::make_shared<EventHandler>(std::move(action)));
        return handlers.back();
    }
};

}  // namespace dialogtest
