// The Linux desktop program's rules that need no desktop: its arguments, its autostart entry and
// the double press seen through raw key events.
#include <gtest/gtest.h>

#include "tray/AutostartEntry.h"
#include "tray/DesktopSwitches.h"
#include "tray/RawKeyTracker.h"

namespace {
using tray::ParseDesktopArguments;

TEST(DesktopArguments, WholeArgumentsOnly)
{
    const auto visible = ParseDesktopArguments({"--visible"});
    EXPECT_TRUE(visible.switches.visible);
    EXPECT_FALSE(visible.switches.install || visible.switches.exit);
    const auto all = ParseDesktopArguments({"--exit", "--install", "--visible"});
    EXPECT_TRUE(all.switches.install && all.switches.exit && all.switches.visible);
    EXPECT_TRUE(all.unknown.empty());

    // Only whole arguments count: the Windows spelling and longer words are not switches here.
    const auto other = ParseDesktopArguments({"/visible", "--visible=1", "--Install", "x--exit"});
    EXPECT_FALSE(other.switches.visible || other.switches.install || other.switches.exit);
    EXPECT_EQ(other.unknown, (std::vector<std::string>{"/visible", "--visible=1", "--Install", "x--exit"}));
    EXPECT_TRUE(ParseDesktopArguments({}).unknown.empty());
}

TEST(DesktopArguments, TranslateClipboardUnlessInstallOrExit)
{
    const auto translate = ParseDesktopArguments({"--translate-clipboard"});
    EXPECT_TRUE(translate.translateClipboard);
    EXPECT_TRUE(translate.unknown.empty());
    EXPECT_FALSE(translate.switches.visible || translate.switches.install || translate.switches.exit);
    const auto shown = ParseDesktopArguments({"--translate-clipboard", "--visible"});
    EXPECT_TRUE(shown.translateClipboard && shown.switches.visible);

    // Installing starts a fresh copy and leaves, and exit ends the copy: nothing is left to translate.
    EXPECT_FALSE(ParseDesktopArguments({"--translate-clipboard", "--exit"}).translateClipboard);
    EXPECT_FALSE(ParseDesktopArguments({"--install", "--translate-clipboard"}).translateClipboard);
    EXPECT_FALSE(ParseDesktopArguments({"--visible"}).translateClipboard);

    const auto other = ParseDesktopArguments({"--translate-clipboard=1", "--translate", "/translate-clipboard"});
    EXPECT_FALSE(other.translateClipboard);
    EXPECT_EQ(other.unknown.size(), 3u);
}

TEST(DesktopArguments, ClipboardCommandByNameOnlyWhereThePathLeadsHere)
{
    using tray::TranslateClipboardCommand;
    EXPECT_EQ(TranslateClipboardCommand("/usr/lib/vocabra/vocabra-tray", "/usr/lib/vocabra/vocabra-tray"),
              "vocabra-tray --translate-clipboard");
    // Another copy on the PATH, or none: this one by its path.
    EXPECT_EQ(TranslateClipboardCommand("/home/u/build/vocabra-tray", "/usr/lib/vocabra/vocabra-tray"),
              "/home/u/build/vocabra-tray --translate-clipboard");
    EXPECT_EQ(TranslateClipboardCommand("/opt/v-1.2/vocabra_tray+x", ""),
              "/opt/v-1.2/vocabra_tray+x --translate-clipboard");
    EXPECT_EQ(TranslateClipboardCommand("/opt/my apps/vocabra-tray", ""),
              "'/opt/my apps/vocabra-tray' --translate-clipboard");
    EXPECT_EQ(TranslateClipboardCommand("/opt/it's $HOME/vocabra-tray", ""),
              "'/opt/it'\\''s $HOME/vocabra-tray' --translate-clipboard");
    EXPECT_EQ(TranslateClipboardCommand("", ""), "vocabra-tray --translate-clipboard");
}

TEST(AutostartEntry, FolderFromXdgConfigHomeOrHome)
{
    EXPECT_EQ(tray::AutostartFolder("/cfg", "/home/u"), "/cfg/autostart");
    // A relative XDG value is invalid and ignored; so is an empty one.
    EXPECT_EQ(tray::AutostartFolder("cfg", "/home/u"), "/home/u/.config/autostart");
    EXPECT_EQ(tray::AutostartFolder("", "/home/u"), "/home/u/.config/autostart");
    EXPECT_EQ(tray::AutostartFolder(nullptr, "/home/u"), "/home/u/.config/autostart");
    EXPECT_EQ(tray::AutostartFolder(nullptr, nullptr), "");
    EXPECT_EQ(tray::AutostartFolder(nullptr, "relative"), "");
}

TEST(AutostartEntry, ExecArgumentQuotedAndEscapedTwice)
{
    EXPECT_EQ(tray::ExecArgument("/usr/lib/vocabra/vocabra-tray"), "/usr/lib/vocabra/vocabra-tray");
    EXPECT_EQ(tray::ExecArgument("/opt/my apps/vocabra-tray"), "\"/opt/my apps/vocabra-tray\"");
    // Field codes start with '%': a literal one is doubled, quoted or not.
    EXPECT_EQ(tray::ExecArgument("/opt/100%/v"), "/opt/100%%/v");
    // Inside quotes ", `, $ and \ take a backslash; the string value then doubles every backslash.
    EXPECT_EQ(tray::ExecArgument("/a \"b\"/$c"), "\"/a \\\\\"b\\\\\"/\\\\$c\"");
    EXPECT_EQ(tray::ExecArgument("/a\\b"), "\"/a\\\\\\\\b\"");
    EXPECT_EQ(tray::ExecArgument(""), "\"\"");
}

TEST(AutostartEntry, StartsTheProgramWithTheSession)
{
    const std::string entry = tray::AutostartEntryText("/opt/my apps/vocabra-tray");
    EXPECT_EQ(entry.rfind("[Desktop Entry]\n", 0), 0u);
    EXPECT_NE(entry.find("\nType=Application\n"), std::string::npos);
    EXPECT_NE(entry.find("\nExec=\"/opt/my apps/vocabra-tray\"\n"), std::string::npos);
    // Started hidden, as Windows starts it at logon: no --visible.
    EXPECT_EQ(entry.find("--visible"), std::string::npos);
}

class RawKeys : public ::testing::Test {
protected:
    static constexpr std::uint32_t kControlLeft = 37, kControlRight = 105, kC = 54, kInsert = 118, kKeypadInsert = 90,
                                   kOther = 38;
    static tray::RawKeyTracker::Keys Keys()
    {
        tray::RawKeyTracker::Keys keys;
        keys.control = {kControlLeft, kControlRight, 0, 0};
        keys.c = {kC, 0, 0, 0};
        keys.insert = {kInsert, kKeypadInsert, 0, 0};
        return keys;
    }
    // A press and a release of the key at `time`; what the release gave.
    std::uint32_t Tap(std::uint32_t key, std::uint32_t time)
    {
        EXPECT_EQ(m_tracker.OnRawKey(key, true, time), 0u);
        return m_tracker.OnRawKey(key, false, time);
    }
    tray::RawKeyTracker m_tracker{Keys()};
};

TEST_F(RawKeys, SecondReleaseWithCtrlHeldTranslates)
{
    m_tracker.OnRawKey(kControlLeft, true, 9000);
    EXPECT_EQ(Tap(kC, 10000), 0u);
    EXPECT_EQ(Tap(kC, 10800), tray::kVirtualKeyC);
    EXPECT_EQ(Tap(kC, 10900), tray::kVirtualKeyC);  // within a second of the first: again
    EXPECT_EQ(Tap(kC, 11200), 0u);                  // a new first press
    EXPECT_EQ(Tap(kKeypadInsert, 11700), tray::kVirtualKeyInsert);
}

TEST_F(RawKeys, CtrlFollowedAcrossBothKeysAndRepeats)
{
    m_tracker.OnRawKey(kControlLeft, true, 1000);
    m_tracker.OnRawKey(kControlRight, true, 1001);
    m_tracker.OnRawKey(kControlLeft, true, 1002);  // auto-repeat
    m_tracker.OnRawKey(kControlLeft, false, 1003);
    EXPECT_EQ(Tap(kInsert, 2000), 0u);
    EXPECT_EQ(Tap(kInsert, 2500), tray::kVirtualKeyInsert);  // the right Ctrl is still down

    m_tracker.OnRawKey(kControlRight, false, 2600);
    EXPECT_EQ(Tap(kInsert, 2700), 0u);  // no Ctrl: ignored, the first press stays
    m_tracker.OnRawKey(kControlRight, true, 2800);
    EXPECT_EQ(Tap(kInsert, 2900), tray::kVirtualKeyInsert);
}

TEST_F(RawKeys, OtherKeysUnusedSlotsAndResetCountForNothing)
{
    m_tracker.OnRawKey(kControlLeft, true, 100);
    EXPECT_EQ(Tap(kOther, 5000), 0u);
    EXPECT_EQ(Tap(kOther, 5100), 0u);
    // Key code 0 fills unused slots; it is never one of the keys.
    EXPECT_EQ(m_tracker.OnRawKey(0, false, 5200), 0u);
    EXPECT_EQ(Tap(kC, 6000), 0u);
    m_tracker.Reset();
    EXPECT_EQ(Tap(kC, 6100), 0u);  // Ctrl forgotten
}
}  // namespace
