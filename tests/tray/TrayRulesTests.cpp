#include <gtest/gtest.h>

#include "tray/ClipboardWord.h"
#include "tray/FavouriteLists.h"
#include "tray/StartupRules.h"
#include "tray/TrayTip.h"

namespace {
using translate::DirectionList;

TEST(FavouriteDirections, ChosenFirstDuplicatesGoneCutBySixCharacters)
{
    const DirectionList favourites = {u"en-ru", u"de-ru", u"fr-ru"};
    EXPECT_EQ(tray::PushFavouriteDirection(u"de-ru", favourites, 2), u"de-ru,en-ru,");
    EXPECT_EQ(tray::PushFavouriteDirection(u"de-ru", favourites, 3), u"de-ru,en-ru,fr-ru");
    EXPECT_EQ(tray::PushFavouriteDirection(u"it-ru", favourites, 5), u"it-ru,en-ru,de-ru,fr-ru");
    EXPECT_EQ(tray::PushFavouriteDirection(u"en-ru", favourites, 0), u"");
    EXPECT_EQ(tray::PushFavouriteDirection(u"en-ru", {}, 0), u"en-ru");
    EXPECT_EQ(tray::PushFavouriteDirection(u"en-ru", {u"", u"en-ru", u"en-ru"}, 9), u"en-ru");
    EXPECT_EQ(tray::PushFavouriteDirection(u"en-ru", favourites, -1), u"");
}

TEST(ServicePriority, ChosenFirstWithoutCap)
{
    EXPECT_EQ(tray::PushServicePriority(u"y", u"x,y,z"), u"y,x,z");
    EXPECT_EQ(tray::PushServicePriority(u"w", u"x,y,z"), u"w,x,y,z");
    EXPECT_EQ(tray::PushServicePriority(u"x", u""), u"x");
    EXPECT_EQ(tray::PushServicePriority(u"x", u"x,y,x"), u"x,y");
}

// Ids that begin other ids: only whole items are removed, so no other id is cut.
TEST(ServicePriority, IdsThatArePrefixesOfOthersStayWhole)
{
    EXPECT_EQ(tray::PushServicePriority(u"Multi", u"Multilex,Google"), u"Multi,Multilex,Google");
    EXPECT_EQ(tray::PushServicePriority(u"Multi", u"Multilex,Multi,Google,Multi"), u"Multi,Multilex,Google");
    EXPECT_EQ(tray::PushServicePriority(u"Multilex", u"Multi,Multilex"), u"Multilex,Multi");
    EXPECT_EQ(tray::PushServicePriority(u"Lingvo", u"Google,Lingvo,LingvoPro,Lingvo"), u"Lingvo,Google,LingvoPro");
    EXPECT_EQ(tray::PushServicePriority(u"y", u"x,,y,"), u"y,x,,");
    EXPECT_EQ(tray::PushFavouriteDirection(u"en-r", {u"en-ru", u"en-r"}, 9), u"en-r,en-ru");
}

// A hook the system refused leaves the hot keys dead: the tip says so, ahead of the 127 characters
// the shell keeps.
TEST(TrayTip, NamesHotKeysThatAreOffFirst)
{
    const std::u16string note = u"Hot keys are off";
    EXPECT_EQ(tray::TrayTipText(u"Dictionary: A (B)", false, note), u"Dictionary: A (B)");
    EXPECT_EQ(tray::TrayTipText(u"Dictionary: A (B)", true, note), u"Hot keys are off\nDictionary: A (B)");
    EXPECT_EQ(tray::TrayTipText(u"", true, note), note);
    const std::u16string longTip(200, u'x');
    EXPECT_EQ(tray::TrayTipText(longTip, true, note).substr(0, 127).find(note), 0u);
}

TEST(StartupSwitches, CaseSensitiveSubstrings)
{
    const struct {
        const char16_t* line;
        bool install;
        bool visible;
        bool exit;
    } cases[] = {
        {nullptr, false, false, false},
        {u"", false, false, false},
        {u"/install /visible", true, true, false},
        {u"/INSTALL /Visible /EXIT", false, false, false},
        {u"\"C:\\x/visibleish\\Vocabra.exe\"", false, true, false},
        {u"-Embedding", false, false, false},
        {u"/exit", false, false, true},
        {u"/visible /exit", false, true, true},
    };
    for (const auto& testCase : cases) {
        const tray::StartupSwitches switches = tray::ParseStartupSwitches(testCase.line);
        EXPECT_EQ(switches.install, testCase.install) << (testCase.line ? "line" : "null");
        EXPECT_EQ(switches.visible, testCase.visible);
        EXPECT_EQ(switches.exit, testCase.exit);
    }
    EXPECT_EQ(tray::InstanceEventName(u"alice"), u"Vocabra:alice");
    EXPECT_EQ(tray::InstanceEventName(u""), u"Vocabra:");
    EXPECT_EQ(tray::InstanceEventName(std::u16string(300, u'n')).size(), 254u);
}

TEST(DialogPlacement, StoredCornerOrCentred)
{
    EXPECT_TRUE(tray::PlaceDialog(std::nullopt, 10, 1024, 768).centre);
    EXPECT_TRUE(tray::PlaceDialog(10, std::nullopt, 1024, 768).centre);
    EXPECT_TRUE(tray::PlaceDialog(1025, 10, 1024, 768).centre);
    EXPECT_TRUE(tray::PlaceDialog(0xFFFFFFF6u, 10, 1024, 768).centre);  // -10 stored
    const tray::DialogPlacement edge = tray::PlaceDialog(1024, 768, 1024, 768);
    EXPECT_FALSE(edge.centre);
    EXPECT_EQ(edge.x, 1024);
    EXPECT_EQ(edge.y, 768);
    EXPECT_TRUE(tray::ShouldStorePosition(1, 1));
    EXPECT_FALSE(tray::ShouldStorePosition(0, 100));
    EXPECT_FALSE(tray::ShouldStorePosition(100, -5));
}

TEST(ClipboardWord, UnicodeFirstThenTrimmed)
{
    EXPECT_EQ(tray::ChooseClipboardFormat(true, true), tray::ClipboardFormat::UnicodeText);
    EXPECT_EQ(tray::ChooseClipboardFormat(false, true), tray::ClipboardFormat::AnsiText);
    EXPECT_EQ(tray::ChooseClipboardFormat(false, false), tray::ClipboardFormat::None);
    EXPECT_EQ(tray::CleanClipboardWord(u" \r\n\u0434\u043E\u043C \t"), u"\u0434\u043E\u043C");
    EXPECT_EQ(tray::CleanClipboardWord(u"   "), u"");
    EXPECT_EQ(tray::CleanClipboardWord(std::u16string(u" a b \0 c", 8)), u"a b");
    EXPECT_EQ(tray::CleanClipboardWord(u"A whole\nparagraph.\n"), u"A whole\nparagraph.");
}

}  // namespace
