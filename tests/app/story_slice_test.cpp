// The story cut into slices for the viewer: joined, the slices are the whole story, and no
// cut falls where the viewer would read the pieces differently from the whole.
#include "app/story_slice.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

namespace {

StoryText text_of(const std::u16string& text)
{
    StoryText result;
    result.units = malloc_array<char16_t>(text.size());
    if (!text.empty())
        std::memcpy(result.units.get(), text.data(), text.size() * sizeof(char16_t));
    result.size = text.size();
    return result;
}

// The files a load reads, newest first.
std::vector<std::u16string> g_files;
std::size_t g_next_file;

bool read_next(StoryLoad& load)
{
    if (g_next_file == g_files.size())
        return false;
    load.text = text_of(g_files[g_next_file++]);
    load.offset = 0;
    return true;
}

// Every slice of the files as the loader takes them, `size` units wanted each.
std::vector<std::u16string> slices_of(const std::vector<std::u16string>& files, std::size_t size)
{
    g_files = files;
    g_next_file = 0;
    StoryLoad load;
    load.slice_size = size;
    std::vector<std::u16string> slices;
    for (bool more = true; more;) {
        std::u16string slice;
        more = story_fill_slice(load, slice, read_next);
        EXPECT_TRUE(!more || slice.size() >= size) << size;
        if (!slice.empty())
            slices.push_back(slice);
    }
    return slices;
}

}  // namespace

TEST(StorySlice, SlicesJoinToTheStoryWithoutSplittingBreaksOrPairs)
{
    const std::vector<std::u16string> files = {
        u"ab\r\ncd\U0001F600e\r\n\r\nf\r", u"\nnext\r\r", u"", u"\r", u"x\r\ny", u"\r"};
    std::u16string whole;
    for (const std::u16string& file : files)
        whole += file;
    for (std::size_t size = 1; size <= 12; ++size) {
        const std::vector<std::u16string> slices = slices_of(files, size);
        std::u16string joined;
        for (std::size_t i = 0; i < slices.size(); ++i) {
            const std::u16string& slice = slices[i];
            joined += slice;
            if (i + 1 == slices.size())
                break;
            const char16_t next = slices[i + 1].front();
            EXPECT_FALSE(slice.back() == u'\r' && next == u'\n') << size << " at " << joined.size();
            EXPECT_FALSE(slice.back() >= 0xD800 && slice.back() <= 0xDBFF) << size;
        }
        EXPECT_EQ(joined, whole) << size;
    }
}

TEST(StorySlice, SliceSizeFollowsTheTimeTaken)
{
    // Twice as long as wanted halves it; no time at all at most doubles it.
    EXPECT_EQ(story_next_slice_size(8192, 2 * STORY_SLICE_TARGET_US), 4096u);
    EXPECT_EQ(story_next_slice_size(8192, STORY_SLICE_TARGET_US / 4), 16384u);
    EXPECT_EQ(story_next_slice_size(8192, 0), 16384u);
    EXPECT_EQ(story_next_slice_size(STORY_SLICE_SMALLEST, 1000 * STORY_SLICE_TARGET_US), STORY_SLICE_SMALLEST);
    EXPECT_EQ(story_next_slice_size(STORY_SLICE_LARGEST, 1), STORY_SLICE_LARGEST);
}
