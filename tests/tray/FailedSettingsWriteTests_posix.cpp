// A choice whose settings write fails is reported, and the controls go back to what is stored.
#include <gtest/gtest.h>

#include <filesystem>

#include "resources/Vocabra/resource.h"
#include "tests/tray/MainDialogFixture.h"
#include "tray/OpenInBrowser.h"

namespace {
using Service = testsupport::RecordingView::Service;

class FailedSettingsWrite : public testsupport::MainDialogTest {
protected:
    // Every later write fails: the store's lock cannot be opened for writing. Reads still work.
    void BreakWrites()
    {
        const std::filesystem::path lock = m_folder.Path() / "registry.reg.lock";
        std::filesystem::remove(lock);
        std::filesystem::create_directory(lock);
    }
};

TEST_F(FailedSettingsWrite, IsReportedAndTheControlsShowWhatIsStored)
{
    Controller();
    BreakWrites();

    Controller().OnDirectionChosen(0);  // de-ru
    ASSERT_EQ(m_view.messages.size(), 1u);
    EXPECT_EQ(m_view.messages[0], testsupport::kTexts.settingNotStored);
    EXPECT_EQ(Stored(u"dictionaryDirection"), u"(absent)");
    EXPECT_EQ(m_view.SelectedDirectionName(), u"Английский → русский");

    Controller().OnMenuCommand(tray::kServiceCommandBase + 1);
    EXPECT_EQ(m_view.messages.size(), 2u);
    EXPECT_EQ(m_view.services, (std::vector<Service>{{0, u"A"}, {1, u"B"}}));

    Controller().OnOpenInBrowserChecked(true);
    EXPECT_EQ(m_view.messages.size(), 3u);
    EXPECT_EQ(m_view.browserCheck, false);

    Controller().OnMenuCommand(ID_OPEN_IN_BROWSER);
    EXPECT_EQ(m_view.messages.size(), 4u);

    Controller().OnMenuCommand(ID_USE_CTRL_C_C);
    EXPECT_EQ(m_view.messages.size(), 5u);
    EXPECT_TRUE(Controller().MenuState().ctrlCC);

    // A choice of nothing writes nothing and has nothing to report.
    Controller().OnMenuCommand(tray::kDirectionCommandBase + 50);
    EXPECT_EQ(m_view.messages.size(), 5u);
}

}  // namespace
