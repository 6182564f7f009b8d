// The story's data: post text and its reversal, trimming, time file names and the
// choice of the file a post goes to, and the text accumulator.
#include "app/accumulator.h"
#include "app/app_folder.h"
#include "app/story_files.h"
#include "app/story_post.h"
#include "app/text_trim.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

namespace {

const std::u16string EQUALS(51, u'=');

// Well-formed text: line breaks, accents, CJK, pairs beyond the BMP.
std::u16string random_text(std::mt19937& random, std::size_t length)
{
    static const char16_t* const PIECES[] = {u"a", u"\r", u"\n", u" ", u"\u00E9", u"\u4E2D", u"\U0001F600",
                                             u"\U0001F511"};
    std::u16string text;
    while (text.size() < length)
        text += PIECES[random() % std::size(PIECES)];
    return text;
}

}  // namespace

TEST(StoryPost, WorkedExample)
{
    const DateValue date = date_make(2019, 6, 26, 14, 3, 7);
    const std::u16string post = story_build_post(u"abc", date);
    EXPECT_EQ(post, EQUALS + u" [2019-06-26 14:03:07]\r\n\r\nabc\r\n\r\n");
    EXPECT_EQ(story_reverse(post), u"\n\r\n\rcba\n\r\n\r]70:30:41 62-60-9102[ " + EQUALS);
}

TEST(StoryPost, ReversalKeepsSurrogatePairs)
{
    EXPECT_EQ(story_reverse(u"a\U0001F600b"), u"b\U0001F600a");
    EXPECT_EQ(story_reverse(u"\U0001F600\U0001F511"), u"\U0001F511\U0001F600");
    // Lone surrogates are single characters; a low before a high is no pair.
    EXPECT_EQ(story_reverse(u"\xDC00\xD800x"), u"x\xD800\xDC00");
    EXPECT_EQ(story_reverse(u"x\xD83D"), u"\xD83Dx");
    EXPECT_EQ(story_reverse(u""), u"");
    // Reversing twice gives any well-formed text back.
    std::mt19937 random(7);
    for (int round = 0; round < 200; ++round) {
        const std::u16string text = random_text(random, round % 40);
        ASSERT_EQ(story_reverse(story_reverse(text)), text);
    }
}

TEST(StoryPost, BodyTrimsWholeLineBreaksOnly)
{
    EXPECT_EQ(story_body(u"\r\n\r\nabc\r\n\r\n"), u"abc");
    EXPECT_EQ(story_body(u"a\r\n\r\nb\r\n"), u"a\r\n\r\nb");
    EXPECT_EQ(story_body(u"\r\n\r\n"), u"");
    EXPECT_EQ(story_body(u""), u"");
    EXPECT_EQ(story_body(u"\n\rabc\r"), u"\n\rabc\r");
    EXPECT_EQ(story_body(u"\r\r\n"), u"\r");
    EXPECT_EQ(story_body(u"  abc \r\n"), u"  abc ");
    // The end is trimmed only within what the start left.
    EXPECT_EQ(text_trim_pattern(u"ababa", u"ab"), u"a");
    EXPECT_EQ(text_trim_pattern(u"xyxxy", u"xy"), u"x");
    EXPECT_EQ(text_trim_pattern(u"abc", u""), u"abc");
}

TEST(StoryFiles, TimeFileNames)
{
    for (const char16_t* name : {u"Time-001.txt", u"time-005.txt", u"TIME-999.TXT", u"Time-010.Txt"})
        EXPECT_TRUE(story_is_time_file_name(name));
    for (const char16_t* name : {u"Time-5.txt", u"Time-0005.txt", u"Time-abc.txt", u"Time-000.txt", u"Time-1.2.txt",
                                 u"Note-001.txt", u"Time-001.bin", u"Time-I.txt"})
        EXPECT_FALSE(story_is_time_file_name(name));
    EXPECT_EQ(story_time_file_name(1), u"Time-001.txt");
    EXPECT_EQ(story_time_file_name(42), u"Time-042.txt");
    EXPECT_EQ(story_time_file_name(999), u"Time-999.txt");
    EXPECT_EQ(story_time_file_number(u"time-042.txt"), 42);

    const std::vector<std::u16string> sorted =
        story_time_files({u"Time-010.txt", u"notes.txt", u"time-005.txt", u"Time-009.txt", u"Time-5.txt"});
    EXPECT_EQ(sorted, (std::vector<std::u16string>{u"time-005.txt", u"Time-009.txt", u"Time-010.txt"}));
}

TEST(StoryFiles, ChoiceOfTheFileNumber)
{
    const std::vector<std::u16string> files = {u"Time-001.txt", u"Time-003.txt"};
    EXPECT_EQ(story_choose_file_number({}, -1), 1);
    EXPECT_EQ(story_choose_file_number(files, 32767), 3);
    EXPECT_EQ(story_choose_file_number(files, 32768), 4);
    EXPECT_EQ(story_choose_file_number(files, 40000), 4);
    EXPECT_EQ(story_choose_file_number(files, -1), 3);  // the newest file went away
    EXPECT_EQ(story_choose_file_number({u"Time-999.txt"}, 32767), 999);
    EXPECT_GT(story_choose_file_number({u"Time-999.txt"}, 32768), STORY_FILE_LIMIT);
}

TEST(AppFolder, ExtensionList)
{
    EXPECT_TRUE(app_extension_listed(u"a.txt", u"txt|"));
    EXPECT_TRUE(app_extension_listed(u"a.BIN", u"bin|"));
    EXPECT_TRUE(app_extension_listed(u"a.b.txt", u"bin|txt|"));
    EXPECT_FALSE(app_extension_listed(u"a.in", u"bin|"));
    EXPECT_FALSE(app_extension_listed(u"abin", u"bin|"));
    EXPECT_FALSE(app_extension_listed(u"a.", u"bin|"));
    EXPECT_FALSE(app_extension_listed(u"~a.bin.tmp", u"bin|"));
    EXPECT_FALSE(app_extension_listed(u"a.binx", u"bin|"));
}

TEST(Accumulator, JoinsPiecesAcrossGrowth)
{
    TextAccumulator* accumulator = accumulator_new();
    ASSERT_NE(accumulator, nullptr);
    EXPECT_EQ(accumulator_text(accumulator), u"");
    std::u16string expected;
    std::mt19937 random(3);
    // Well past the first block of 20,480 bytes, several growths.
    for (int piece = 0; piece < 40; ++piece) {
        const std::u16string text = random_text(random, 1 + random() % 3000);
        ASSERT_TRUE(accumulator_append(accumulator, text.c_str(), static_cast<std::int32_t>(text.size())));
        expected += text;
    }
    accumulator_append(accumulator, u"whole", 0);      // below 1: the whole text
    accumulator_append(accumulator, u"partial", 4);
    accumulator_append(accumulator, u"", 0);
    accumulator_append(accumulator, nullptr, 3);
    expected += u"wholepart";
    EXPECT_EQ(accumulator_text(accumulator), expected);
    accumulator_free(accumulator);

    EXPECT_TRUE(accumulator_append(nullptr, u"x", 1));
    EXPECT_EQ(accumulator_text(nullptr), u"");
    accumulator_free(nullptr);
}

// Room made up front is used in place: appends within it keep the same block.
TEST(Accumulator, ReservedRoomTakesAppendsInPlace)
{
    TextAccumulator* accumulator = accumulator_new();
    ASSERT_NE(accumulator, nullptr);
    ASSERT_TRUE(accumulator_append(accumulator, u"first ", 0));
    ASSERT_TRUE(accumulator_reserve(accumulator, 100000));
    const char16_t* block = accumulator_text(accumulator).data();
    const std::u16string piece(99994 / 2, u'x');
    ASSERT_TRUE(accumulator_append(accumulator, piece.c_str(), static_cast<std::int32_t>(piece.size())));
    ASSERT_TRUE(accumulator_append(accumulator, piece.c_str(), static_cast<std::int32_t>(piece.size())));
    EXPECT_EQ(accumulator_text(accumulator).data(), block);
    EXPECT_EQ(accumulator_text(accumulator), u"first " + piece + piece);
    EXPECT_TRUE(accumulator_reserve(accumulator, 10));  // never shrinks
    EXPECT_EQ(accumulator_text(accumulator).size(), 100000u);
    accumulator_free(accumulator);
}
