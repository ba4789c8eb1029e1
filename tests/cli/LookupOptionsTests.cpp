#include <gtest/gtest.h>

#include "cli/LookupOptions.h"

namespace {
using cli::LookupOptions;

TEST(LookupOptions, WordsAreJoinedWithSingleSpacesAndTrimmed)
{
    LookupOptions options;
    std::string error;
    ASSERT_TRUE(
        cli::ParseLookupOptions({" \tcut ", "--direction", "en-ru", "the", "--", "--rope\u00A0"}, options, error));
    EXPECT_EQ(options.words, u"cut the --rope");
    EXPECT_EQ(options.direction, std::u16string(u"en-ru"));
    EXPECT_FALSE(options.uiLanguage.has_value());

    // Empty and blank words add nothing; spaces inside one word stay.
    ASSERT_TRUE(cli::ParseLookupOptions({"a", "", "b", " \t", "", "New  York"}, options, error));
    EXPECT_EQ(options.words, u"a b New  York");
}

TEST(LookupOptions, RejectsUnknownOptionsAndMissingOrBadValues)
{
    for (const std::vector<std::string>& arguments : std::vector<std::vector<std::string>>{
             {"--bogus"}, {"word", "--direction"}, {"--ui-language", "de"}, {"--program-dir"}, {"-x"}}) {
        LookupOptions options;
        std::string error;
        EXPECT_FALSE(cli::ParseLookupOptions(arguments, options, error)) << arguments.front();
        EXPECT_FALSE(error.empty());
    }
}

TEST(LookupOptions, Switches)
{
    LookupOptions options;
    std::string error;
    ASSERT_TRUE(cli::ParseLookupOptions(
        {"--services", "--directions", "--open", "--ui-language", "ru", "--program-dir", "/opt/vocabra"}, options,
        error));
    EXPECT_TRUE(options.listServices && options.listDirections && options.open);
    EXPECT_EQ(options.uiLanguage, UiLanguage::Russian);
    EXPECT_EQ(options.programDirectory, u"/opt/vocabra");
    EXPECT_TRUE(options.words.empty());
}

}  // namespace
