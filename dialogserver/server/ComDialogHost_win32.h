#pragma once
// The dialog object as its service's steps see it: a view of one DictionaryDialog, made for one
// step (or one call of a page's event handler) and gone when that returns.

#include "dialogserver/dialogs/DialogHost.h"

namespace dialogserver {

class DictionaryDialog;

class ComDialogHost final : public dialogs::DialogHost {
public:
    explicit ComDialogHost(DictionaryDialog& dialog) : m_dialog(dialog) {}

    std::unique_ptr<dom::Document> InformationPage() override;
    std::u16string InformationPageUrl() const override;
    std::u16string RequestUrl() const override;
    std::u16string TrackerUrlTemplate() const override;
    std::u16string ServiceName() const override;
    std::u16string NotFoundText() const override;
    void DetachBrowser() override;
    void NavigateTopBrowser(const std::u16string& url) override;
    dom::ScriptObjectPtr CreateScriptObject(const std::u16string& progId) override;
    dom::ScriptObjectPtr CreateEventHandler(EventAction action) override;

private:
    DictionaryDialog& m_dialog;
};

}  // namespace dialogserver
