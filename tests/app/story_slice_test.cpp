// The story cut into slices for the viewer: joined, the slices are the whole story, and no
// cut falls where the viewer would read the pieces differently from the whole.
#include "app/story_slice.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

namespace {

// The files a load reads, newest first, and the next one's index.
std::vector<std::u16string> g_files;
std::size_t g_next;

bool read_next(StoryLoad& load)
{
    if (g_next == g_files.size())
        return false;
    const std::u16string& file = g_files[g_next++];
    load.text.units = malloc_array<char16_t>(file.size());
    if (!file.empty())
        std::memcpy(load.text.units.get(), file.data(), file.size() * sizeof(char16_t));
    load.text.size = file.size();
    load.offset = 0;
    return true;
}

}  // namespace

TEST(StorySlice, SlicesJoinToTheStoryWithoutSplittingBreaksOrPairs)
{
    g_files = {u"ab\r\ncd\U0001F600e\r\n\r\nf\r", u"\nnext\r\r", u"", u"\r", u"x\r\ny", u"\r"};
    for (std::size_t size = 1; size <= 12; ++size) {
        g_next = 0;
        StoryLoad load;
        load.slice_size = size;
        std::u16string joined;
        for (bool more = true; more;) {
            std::u16string slice;
            more = story_fill_slice(load, slice, read_next);
            EXPECT_TRUE(!more || slice.size() >= size) << size;
            // No slice ends inside a pair, nor on a CR that an LF follows.
            const bool cut = !joined.empty() && !slice.empty() &&
                             ((joined.back() == u'\r' && slice.front() == u'\n') ||
                              (joined.back() >= 0xD800 && joined.back() <= 0xDBFF));
            EXPECT_FALSE(cut) << size << " at " << joined.size();
            joined += slice;
        }
        EXPECT_EQ(joined, u"ab\r\ncd\U0001F600e\r\n\r\nf\r\nnext\r\r\rx\r\ny\r") << size;
    }
}

TEST(StorySlice, SliceSizeFollowsTheTimeTaken)
{
    // Twice as long as wanted halves it; no time at all at most doubles it.
    EXPECT_EQ(story_next_slice_size(8192, 2 * STORY_SLICE_TARGET_US), 4096u);
    EXPECT_EQ(story_next_slice_size(8192, STORY_SLICE_TARGET_US / 4), 16384u);
    EXPECT_EQ(story_next_slice_size(STORY_SLICE_SMALLEST, 1000 * STORY_SLICE_TARGET_US), STORY_SLICE_SMALLEST);
    EXPECT_EQ(story_next_slice_size(STORY_SLICE_LARGEST, 1), STORY_SLICE_LARGEST);
}
