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

// The paragraphs of a slice, each with its line break (a CR LF pair is one).
std::vector<std::u16string> paragraphs_of(const std::u16string& slice)
{
    std::vector<std::u16string> paragraphs(1);
    for (std::size_t i = 0; i < slice.size(); ++i) {
        paragraphs.back() += slice[i];
        const bool ends = slice[i] == u'\n' || (slice[i] == u'\r' && (i + 1 == slice.size() || slice[i + 1] != u'\n'));
        if (ends && i + 1 < slice.size())
            paragraphs.emplace_back();
    }
    return paragraphs;
}

// A paragraph's length without its line break.
std::size_t text_length(const std::u16string& paragraph)
{
    return paragraph.find_first_of(u"\r\n") == std::u16string::npos ? paragraph.size()
                                                                     : paragraph.find_first_of(u"\r\n");
}

}  // namespace

// Every slice ends after a line break, never inside a CR LF pair. It holds the paragraphs
// that fit its size, or else a paragraph whose text is longer than that with the paragraph
// after it: text appended right after a long paragraph would make the viewer lay it out again.
TEST(StorySlice, SlicesJoinToTheStoryAndNeverSplitAParagraph)
{
    g_files = {u"ab\r\ncd\U0001F600e\r\n\r\nf\r", u"\nnext\r\r", u"", u"\r", u"x\r\ny", u"\r",
               u"a long paragraph\r\nrunning on", u" into the next file\r\nlast\r\n"};
    const std::u16string story = u"ab\r\ncd\U0001F600e\r\n\r\nf\r\nnext\r\r\rx\r\ny\ra long paragraph\r\n"
                                 u"running on into the next file\r\nlast\r\n";
    for (std::size_t size = 1; size <= story.size(); ++size) {
        g_next = 0;
        StoryLoad load;
        load.slice_size = size;
        std::u16string joined;
        for (bool more = true; more;) {
            std::u16string slice;
            more = story_fill_slice(load, slice, read_next);
            ASSERT_TRUE(!slice.empty() || !more) << size;
            EXPECT_FALSE(!joined.empty() && joined.back() == u'\r' && slice.front() == u'\n') << size;
            const std::vector<std::u16string> paragraphs = paragraphs_of(slice);
            const char16_t last = paragraphs.back().back();
            EXPECT_TRUE(!more || ((last == u'\r' || last == u'\n') && text_length(paragraphs.back()) <= size))
                << size << " at " << joined.size();
            // A CR held at the end of a file for an LF may take a slice past its size.
            const std::size_t held = last == u'\r' ? 1 : 0;
            for (std::size_t i = 1; i < paragraphs.size() && slice.size() - held > size; ++i)
                EXPECT_TRUE(text_length(paragraphs[i - 1]) > size || text_length(paragraphs[i]) == 0)
                    << size << " at " << joined.size();
            joined += slice;
        }
        EXPECT_EQ(joined, story) << size;
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
