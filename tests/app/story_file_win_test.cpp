// The story's time files on a real disk: the first post, appending, the file number
// at the full size and the limit, reading back newest first, and failing writes.
#include "app/story_file.h"
#include "app/story_files.h"
#include "app/story_post.h"
#include "app/story_text.h"

#include "services/file.h"
#include "services/file_system_ops.h"
#include "services/utf8.h"

#include "journal_folder.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <string>

namespace {

const std::string BOM = "\xEF\xBB\xBF";

class StoryFileTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(file_start()); }
    void TearDown() override
    {
        faults_remove();
        file_end();
    }

    // The story as the viewer receives it.
    std::u16string collected() const
    {
        const AccumulatorHandle story = story_collect(folder.path);
        return std::u16string(accumulator_text(story.get()));
    }

    StoryPostResult post(const std::u16string& text, std::u16string* shown = nullptr)
    {
        std::u16string built;
        const StoryPostResult result = story_write_post(folder.path, text, date, built);
        if (shown)
            *shown = built;
        return result;
    }

    // The bytes a time file holds for these posts, oldest first.
    static std::string stored(std::initializer_list<std::u16string> posts)
    {
        std::string bytes = BOM;
        for (const std::u16string& one : posts)
            bytes += utf8_encode(story_reverse(one));
        return bytes;
    }

    JournalFolder folder;
    const DateValue date = date_make(2019, 6, 26, 14, 3, 7);
};

}  // namespace

TEST_F(StoryFileTest, PostsAreAppendedReversedAndReadNewestFirst)
{
    EXPECT_EQ(post(u"\r\n\r\n"), StoryPostResult::EMPTY);
    EXPECT_TRUE(raw_names(folder.path).empty());

    std::u16string first;
    std::u16string second;
    ASSERT_EQ(post(u"\r\nabc\r\n", &first), StoryPostResult::POSTED);
    EXPECT_EQ(first, story_build_post(u"abc", date));
    EXPECT_EQ(raw_read(folder / u"Time-001.txt"), stored({first}));

    ASSERT_EQ(post(u"smile \U0001F600\r\nline two", &second), StoryPostResult::POSTED);
    EXPECT_EQ(raw_read(folder / u"Time-001.txt"), stored({first, second}));  // one mark only
    EXPECT_EQ(story_read_file((folder / u"Time-001.txt").c_str()), story_reverse(first) + story_reverse(second));
    EXPECT_EQ(collected(), second + first);
    EXPECT_EQ(story_read_file((folder / u"Time-404.txt").c_str()), u"");
}

TEST_F(StoryFileTest, FilesAreReadFromTheHighestNumberDown)
{
    const std::u16string a = story_build_post(u"a", date);
    const std::u16string b = story_build_post(u"b", date);
    const std::u16string c = story_build_post(u"c", date);
    ASSERT_TRUE(raw_write(folder / u"Time-001.txt", stored({a})));
    ASSERT_TRUE(raw_write(folder / u"time-002.txt", stored({b})));
    ASSERT_TRUE(raw_write(folder / u"Time-003.txt", stored({c})));
    ASSERT_TRUE(raw_write(folder / u"Time-004.txt", ""));
    ASSERT_TRUE(raw_write(folder / u"Time-3.txt", stored({a})));
    EXPECT_EQ(story_list_time_files(folder.path),
              (std::vector<std::u16string>{u"Time-001.txt", u"time-002.txt", u"Time-003.txt", u"Time-004.txt"}));
    EXPECT_EQ(collected(), c + b + a);
    // The empty newest file takes the next post, with a mark.
    ASSERT_EQ(post(u"d"), StoryPostResult::POSTED);
    EXPECT_EQ(raw_read(folder / u"Time-004.txt"), stored({story_build_post(u"d", date)}));
}

TEST_F(StoryFileTest, FullFileStartsTheNextNumberUpToTheLimit)
{
    const std::u16string one = story_build_post(u"x", date);
    ASSERT_TRUE(raw_write(folder / u"Time-007.txt", BOM + std::string(32767 - 3, 'a')));
    ASSERT_EQ(post(u"x"), StoryPostResult::POSTED);
    EXPECT_EQ(raw_read(folder / u"Time-007.txt"), BOM + std::string(32764, 'a') + stored({one}).substr(3));
    EXPECT_FALSE(raw_exists(folder / u"Time-008.txt"));

    ASSERT_TRUE(raw_write(folder / u"Time-007.txt", BOM + std::string(32768 - 3, 'a')));
    ASSERT_EQ(post(u"x"), StoryPostResult::POSTED);
    EXPECT_EQ(raw_read(folder / u"Time-008.txt"), stored({one}));

    ASSERT_TRUE(raw_write(folder / u"Time-999.txt", std::string(32768, 'a')));
    EXPECT_EQ(post(u"x"), StoryPostResult::LIMIT);
    EXPECT_EQ(raw_read(folder / u"Time-999.txt"), std::string(32768, 'a'));
}

TEST_F(StoryFileTest, MissingFolderFails)
{
    std::u16string shown = u"unchanged";
    EXPECT_EQ(story_write_post(folder / u"missing\\", u"x", date, shown), StoryPostResult::FAILED);
    EXPECT_EQ(shown, u"unchanged");
    EXPECT_EQ(story_collect(folder / u"missing\\"), nullptr);
}

// Every write and flush of an append fails in turn: the file keeps its previous
// length (a file made for the post stays, empty) and the append reports failure.
TEST_F(StoryFileTest, FailedAppendLeavesTheFileAsItWas)
{
    const std::u16string path = folder / u"Time-001.txt";
    const std::u16string small = story_reverse(story_build_post(u"short", date));
    const std::u16string large = story_reverse(story_build_post(std::u16string(6000, u'\u00E9'), date));
    for (const std::string& before : {std::string(), BOM + "earlier posts"}) {
        for (const std::u16string* text : {&small, &large}) {
            for (int fail_at = 1;; ++fail_at) {
                SCOPED_TRACE("write " + std::to_string(fail_at) + " of " + std::to_string(text->size()));
                if (before.empty())
                    DeleteFileW(reinterpret_cast<const wchar_t*>(path.c_str()));
                else
                    ASSERT_TRUE(raw_write(path, before));
                faults_install(fail_at);
                const bool ok = story_append(path.c_str(), *text);
                faults_remove();
                if (!faults_struck()) {
                    ASSERT_TRUE(ok);
                    EXPECT_EQ(raw_read(path), (before.empty() ? BOM : before) + utf8_encode(*text));
                    break;
                }
                EXPECT_FALSE(ok);
                EXPECT_TRUE(raw_exists(path));
                EXPECT_EQ(raw_read(path), before);
            }
        }
    }
}

namespace {

constexpr char OTHER_COPY[] = "bytes another copy of the program wrote";

// Where a platform lets a second writer in: its post lands at the end, then this write fails.
BOOL WINAPI write_after_other_copy(HANDLE file, LPCVOID, DWORD, LPDWORD written, LPOVERLAPPED)
{
    DWORD other = 0;
    WriteFile(file, OTHER_COPY, sizeof OTHER_COPY - 1, &other, nullptr);
    *written = 0;
    SetLastError(ERROR_DISK_FULL);
    return FALSE;
}

void set_file_size(const std::u16string& path, std::int64_t size)
{
    HANDLE file = CreateFileW(reinterpret_cast<const wchar_t*>(path.c_str()), GENERIC_WRITE, 0, nullptr, OPEN_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    LARGE_INTEGER at;
    at.QuadPart = size;
    EXPECT_TRUE(SetFilePointerEx(file, at, nullptr, FILE_BEGIN) && SetEndOfFile(file));
    CloseHandle(file);
}

}  // namespace

// A failed append cuts back only its own bytes: what another writer added stays.
TEST_F(StoryFileTest, FailedAppendKeepsWhatAnotherWriterAdded)
{
    const std::u16string path = folder / u"Time-001.txt";
    const std::string before = BOM + "earlier posts";
    ASSERT_TRUE(raw_write(path, before));
    FileSystemOps ops = {CreateFileW, write_after_other_copy, MoveFileExW};
    file_set_system_ops(&ops);
    const bool ok = story_append(path.c_str(), story_reverse(story_build_post(u"mine", date)));
    file_set_system_ops(nullptr);
    EXPECT_FALSE(ok);
    EXPECT_EQ(raw_read(path), before + OTHER_COPY);
}

// While one writer holds a time file, another's append fails and changes nothing; once
// the file is free the same post goes in.
TEST_F(StoryFileTest, AppendFailsWhileAnotherWriterHoldsTheFile)
{
    const std::u16string path = folder / u"Time-001.txt";
    ASSERT_TRUE(raw_write(path, stored({story_build_post(u"first", date)})));
    const std::string before = raw_read(path);
    HANDLE holder = CreateFileW(reinterpret_cast<const wchar_t*>(path.c_str()), GENERIC_READ | GENERIC_WRITE,
                                FILE_SHARE_READ, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(holder, INVALID_HANDLE_VALUE);
    EXPECT_EQ(post(u"second"), StoryPostResult::FAILED);
    CloseHandle(holder);
    EXPECT_EQ(raw_read(path), before);
    EXPECT_EQ(post(u"second"), StoryPostResult::POSTED);
    EXPECT_EQ(collected(), story_build_post(u"second", date) + story_build_post(u"first", date));
}

// Time files up to STORY_READ_LIMIT bytes are read; a larger one, however damaged or
// huge, adds nothing and the rest of the story is still read.
TEST_F(StoryFileTest, FilesOverTheReadLimitAddNothing)
{
    const std::u16string first = story_build_post(u"first", date);
    const std::u16string last = story_build_post(u"last", date);
    ASSERT_TRUE(raw_write(folder / u"Time-001.txt", stored({first})));
    ASSERT_TRUE(raw_write(folder / u"Time-002.txt", stored({story_build_post(u"at the limit", date)})));
    set_file_size(folder / u"Time-002.txt", STORY_READ_LIMIT);
    ASSERT_TRUE(raw_write(folder / u"Time-003.txt", stored({story_build_post(u"over the limit", date)})));
    set_file_size(folder / u"Time-003.txt", STORY_READ_LIMIT + 1);
    set_file_size(folder / u"Time-004.txt", std::int64_t{3} << 30);
    ASSERT_TRUE(raw_write(folder / u"Time-005.txt", stored({last})));
    EXPECT_EQ(collected(), last + story_build_post(u"at the limit", date) + first);
    EXPECT_EQ(story_read_file((folder / u"Time-003.txt").c_str()), u"");
    for (const char16_t* name : {u"Time-002.txt", u"Time-003.txt", u"Time-004.txt"})
        set_file_size(folder / name, 0);
}
