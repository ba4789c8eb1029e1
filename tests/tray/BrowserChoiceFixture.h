#pragma once
// Two services with a translation manager of the test's own: A and B both translate en-ru, A
// first by priority; only B translates de-ru. A asks for an answer window of 600 x 400. The
// services' browser choices are removed at the end.

#include <memory>

#include "tests/translate/EngineFixture.h"
#include "translate/manager/DictionaryManager.h"
#include "tray/OpenInBrowser.h"

namespace testsupport {

class BrowserChoiceTest : public EngineTest {
protected:
    BrowserChoiceTest()
    {
        WriteService("a.properties", "Alpha", "en-ru", "1", "popup",
                     "dictionary.window.width=600\ndictionary.window.height=400\n");
        WriteService("b.properties", "Beta", "en-ru,de-ru", "1,2");
        WriteSimpleServices({"A", "B"});
        // Made now: it reads the configuration when it is constructed.
        m_manager = std::make_unique<translate::manager::DictionaryManager>();
        m_manager->Initialize();
    }
    ~BrowserChoiceTest() override
    {
        for (const char16_t* id : {u"A", u"B"})
            m_settings.key.DeleteValue(tray::OpenInBrowserValueName(id).c_str());
    }

    translate::manager::DictionaryManager& Manager() { return *m_manager; }

    Settings m_settings;
    std::unique_ptr<translate::manager::DictionaryManager> m_manager;
};

}  // namespace testsupport
