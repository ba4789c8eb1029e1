#pragma once
// The page steps of the four dictionary dialogs. A step runs when a document of the dialog's
// window has completed: the information page, or any other page or frame (a "result page").
// The steps keep no state of their own; everything lives in the host.

#include "dialogserver/dialogs/DialogHost.h"

namespace dialogserver::dialogs {

class ServiceDialog {
public:
    virtual ~ServiceDialog() = default;
    virtual void InformationPageLoaded(DialogHost& host) = 0;
    virtual void ResultPageLoaded(DialogHost& host, ResultPage& page) = 0;
};

// Loads the answer into the information page's frame, strips its banners and glossary links, and
// lets the window go once the answer proper has arrived.
class BabylonDialog final : public ServiceDialog {
public:
    void InformationPageLoaded(DialogHost& host) override;
    void ResultPageLoaded(DialogHost& host, ResultPage& page) override;
};

// Hands the information page's script a request object and the address, then lets the window go.
class GoogleDialog final : public ServiceDialog {
public:
    void InformationPageLoaded(DialogHost& host) override;
    // Nothing: the page's own script shows the answer.
    void ResultPageLoaded(DialogHost&, ResultPage&) override {}
};

// Replaces the information page by the service's page and trims that down to its results.
class LingvoDialog final : public ServiceDialog {
public:
    void InformationPageLoaded(DialogHost& host) override;
    void ResultPageLoaded(DialogHost& host, ResultPage& page) override;
};

// Reads the answer loaded into the frame and puts it (or a message) into the information page.
class MultilexDialog final : public ServiceDialog {
public:
    void InformationPageLoaded(DialogHost& host) override;
    void ResultPageLoaded(DialogHost& host, ResultPage& page) override;
};

}  // namespace dialogserver::dialogs
