// A long story arrives in the viewer while the person already works: typing, the newest
// posts, a post, Reload and a search while older files are still coming in.
#include "journal_fixture.h"

#include "tests/support/gui_input.h"

#include <gtest/gtest.h>

namespace {

// Only the oldest post holds it.
constexpr wchar_t OLDEST_WORD[] = L"Quillhaven";

// The newest post as one long paragraph, as a post pasted in one piece, or in short lines.
enum class Newest { ORDINARY, ONE_LETTER, SHORT_WORDS, SHORT_LINES };

struct Diary {
    const char* name;
    int files;
    int posts_per_file;
    Newest newest = Newest::ORDINARY;
    int newest_number = 0;  // the file that holds the long post, above the others by default
};

// Full files, and many short ones: enough that the viewer takes a few seconds under Wine.
constexpr Diary FEW_FULL_FILES = {"FewFullFiles", 32, 110};
constexpr Diary MANY_FILES = {"ManyFiles", 800, 2};
// A full newest file of one post, above many short files.
constexpr Diary LONG_LETTER = {"OneLetter", 800, 1, Newest::ONE_LETTER};
constexpr Diary LONG_WORDS = {"ShortWords", 800, 1, Newest::SHORT_WORDS};
constexpr Diary LONG_LINES = {"ShortLines", 800, 1, Newest::SHORT_LINES};

// A post body that fills a time file: 32 KiB in the shape.
std::wstring long_body(Newest shape)
{
    constexpr std::size_t SIZE = 32768;
    std::wstring body;
    while (body.size() < SIZE)
        body += shape == Newest::ONE_LETTER ? L"q" : shape == Newest::SHORT_WORDS ? L"we sat in the sun " : L"a line\r\n";
    body.resize(SIZE);
    return body;
}

std::wstring post_text(int number, const std::wstring& long_body = L"")
{
    const int day = 1 + number % 28;
    std::wstring body = L"Day " + std::to_wstring(number) + L". We walked to the station and back, the rain kept "
                        L"on all afternoon, and the kettle boiled twice before anyone spoke.\r\n\r\nLater the "
                        L"garden was quiet again; tomorrow will be quieter still.";
    if (number == 0)
        body += L" The ferry to " + std::wstring(OLDEST_WORD) + L" left without me.";
    if (!long_body.empty())
        body = long_body;
    return std::wstring(51, L'=') + L" [2020-01-" + (day < 10 ? L"0" : L"") + std::to_wstring(day) +
           L" 10:00:00]\r\n\r\n" + body + L"\r\n\r\n";
}

std::wstring time_file_name(int number)
{
    wchar_t name[16];
    swprintf(name, 16, L"Time-%03d.txt", number);
    return name;
}

class StoryLoadingTest : public JournalTest, public ::testing::WithParamInterface<Diary> {
protected:
    // Writes the diary's time files and starts the program; `whole` is the story as shown.
    // Nothing here waits for the program to be idle, which it is not while the story arrives.
    void start(const Diary& diary)
    {
        CreateDirectoryW((journal.folder + L"quietstory").c_str(), nullptr);
        std::vector<std::wstring> posts;
        for (int file = 1; file <= diary.files; ++file) {
            for (int i = 0; i < diary.posts_per_file; ++i)
                posts.push_back(post_text(static_cast<int>(posts.size())));
            write_time_file(file, posts, diary.posts_per_file);
        }
        if (diary.newest != Newest::ORDINARY) {
            posts.push_back(post_text(static_cast<int>(posts.size()), long_body(diary.newest)));
            write_time_file(diary.newest_number ? diary.newest_number : diary.files + 1, posts, 1);
        }
        for (auto post = posts.rbegin(); post != posts.rend(); ++post)
            whole += *post;
        newest = posts.back();
        ASSERT_TRUE(journal_launch(journal));
        ASSERT_TRUE(wait_until([&] { return (journal.window = journal_find_window(journal)) != nullptr; }));
        SetForegroundWindow(journal.window);
        ASSERT_TRUE(wait_until([&] { return journal_focus(journal) == journal_part(journal, Part::TXT_EDIT); }));
    }

    // The last `count` posts, stored reversed as the program stores them.
    void write_time_file(int number, const std::vector<std::wstring>& posts, int count)
    {
        std::wstring stored;
        for (auto post = posts.end() - count; post != posts.end(); ++post)
            stored += std::wstring(post->rbegin(), post->rend());
        newest_file = story_path(time_file_name(number));
        ASSERT_TRUE(write_file_bytes(newest_file, "\xEF\xBB\xBF" + utf8_of(stored)));
    }

    void click(HWND window) const
    {
        SetForegroundWindow(journal.window);
        RECT bounds = {};
        GetWindowRect(window, &bounds);
        gui_click_screen(bounds.left + 8, (bounds.top + bounds.bottom) / 2);
    }

    std::wstring viewer_text() const { return without_cr(window_text(journal_part(journal, Part::TXT_STORY))); }
    // The viewer's length counts a line break as CR LF, as the story does; it is read first,
    // since the whole text takes the program a while to hand out.
    int viewer_length() const
    {
        return static_cast<int>(SendMessageW(journal_part(journal, Part::TXT_STORY), WM_GETTEXTLENGTH, 0, 0));
    }
    bool loading(const std::wstring& story) const { return viewer_length() < static_cast<int>(story.size()); }
    bool shows(const std::wstring& story) const
    {
        return !loading(story) && viewer_text() == without_cr(story);
    }

    std::wstring whole;
    std::wstring newest;
    std::wstring newest_file;
};

}  // namespace

TEST_P(StoryLoadingTest, TypingWorksAtOnceAndTheNewestPostsComeFirst)
{
    start(GetParam());
    HWND editor = journal_part(journal, Part::TXT_EDIT);
    journal_type(journal, L"k");
    ASSERT_TRUE(wait_until([&] { return window_text(editor) == L"k"; }));
    EXPECT_TRUE(loading(whole));
    journal_show_page(journal, Page::STORY);
    EXPECT_EQ(viewer_text().substr(0, without_cr(newest).size()), without_cr(newest));
    EXPECT_TRUE(loading(whole));
    ASSERT_TRUE(wait_until([&] { return shows(whole); }, 120000));
    // At the top, as a story loaded in one go is.
    HWND viewer = journal_part(journal, Part::TXT_STORY);
    EXPECT_EQ(SendMessageW(viewer, EM_GETFIRSTVISIBLELINE, 0, 0), 0);
    int first = -1, last = -1;
    journal_selection(journal, viewer, &first, &last);
    EXPECT_EQ(first, 0);
    EXPECT_EQ(last, 0);
}

INSTANTIATE_TEST_SUITE_P(Diaries, StoryLoadingTest, ::testing::Values(FEW_FULL_FILES, MANY_FILES),
                         [](const ::testing::TestParamInfo<Diary>& info) { return std::string(info.param.name); });

// Reload, a post and a search, each while the story is still arriving.
TEST_F(StoryLoadingTest, ReloadPostAndSearchWhileLoadingKeepTheStoryWholeAndInOrder)
{
    start(MANY_FILES);
    journal_show_page(journal, Page::STORY);
    click(journal_button(journal, Page::STORY, L"Reload"));
    ASSERT_TRUE(wait_until([&] { return journal_focus(journal) == journal_part(journal, Part::TXT_STORY); }));
    EXPECT_TRUE(loading(whole));

    // The post lands on disk once, on top of the newest file, and on top of the viewer.
    const std::wstring before = story_file_text(newest_file);
    journal_show_page(journal, Page::EDIT);
    journal_type(journal, L"Written while the story arrives");
    journal_press(journal, VK_RETURN, true);
    ASSERT_TRUE(wait_until([&] { return journal_current_tab(journal) == 1; }));
    const std::wstring after = story_file_text(newest_file);
    const std::wstring post = after.substr(0, after.size() - before.size());
    EXPECT_EQ(after.substr(post.size()), before);
    EXPECT_NE(post.find(L"Written while the story arrives"), std::wstring::npos);
    EXPECT_TRUE(loading(post + whole));
    ASSERT_TRUE(wait_until([&] { return shows(post + whole); }, 120000));

    // A search goes on from where the reader clicked, though the rest of the story is put
    // in first: the reader's place in the viewer stays.
    click(journal_button(journal, Page::STORY, L"Reload"));
    ASSERT_TRUE(wait_until([&] { return journal_focus(journal) == journal_part(journal, Part::TXT_STORY); }));
    HWND viewer = journal_part(journal, Part::TXT_STORY);
    RECT bounds = {};
    GetWindowRect(viewer, &bounds);
    gui_click_screen(bounds.left + 40, bounds.top + (bounds.bottom - bounds.top) * 2 / 3);
    int clicked = 0, unused = 0;
    ASSERT_TRUE(wait_until([&] {
        journal_selection(journal, viewer, &clicked, &unused);
        return clicked > 0;
    }));
    click(journal_part(journal, Part::TXT_SEARCH));
    journal_type(journal, L"kettle");
    EXPECT_TRUE(loading(post + whole));
    journal_press(journal, VK_RETURN);
    const int next = static_cast<int>(without_cr(post + whole).find(L"kettle", clicked));
    ASSERT_GT(next, static_cast<int>(without_cr(post + whole).find(L"kettle")));
    EXPECT_TRUE(wait_until([&] {
        int first = 0, last = 0;
        journal_selection(journal, journal_part(journal, Part::TXT_STORY), &first, &last);
        return first == next && last == next + 6;
    }, 120000));

    // A search finds a word of the oldest file at once: the rest of the story is put in first.
    click(journal_button(journal, Page::STORY, L"Reload"));
    ASSERT_TRUE(wait_until([&] { return journal_focus(journal) == journal_part(journal, Part::TXT_STORY); }));
    click(journal_part(journal, Part::TXT_SEARCH));
    journal_press(journal, VK_END);
    for (int i = 0; i < 6; ++i)
        journal_press(journal, VK_BACK);
    journal_type(journal, L"quillhaven");
    EXPECT_TRUE(loading(post + whole));
    journal_press(journal, VK_RETURN);
    const int expected = static_cast<int>(without_cr(post + whole).find(OLDEST_WORD));
    EXPECT_TRUE(wait_until([&] {
        int first = 0, last = 0;
        journal_selection(journal, journal_part(journal, Part::TXT_STORY), &first, &last);
        return first == expected && last == expected + 10;
    }, 120000));
    EXPECT_EQ(viewer_text(), without_cr(post + whole));

    // Closing does not wait for the story either.
    click(journal_button(journal, Page::STORY, L"Reload"));
    ASSERT_TRUE(wait_until([&] { return journal_focus(journal) == journal_part(journal, Part::TXT_STORY); }));
    EXPECT_TRUE(loading(post + whole));
    journal_close(journal);
    EXPECT_TRUE(journal_wait_exit(journal));
}

namespace {

// A long post pasted in one piece, with thousands of short posts below it.
class LongPostTest : public StoryLoadingTest {};

constexpr Diary FULL_LAST_FILE = {"FullLastFile", 0, 0, Newest::ONE_LETTER, 999};

}  // namespace

// Keys typed at once wait only for the long post to go in; the post then goes to a new file,
// once and whole, and on top of the story, which arrives below it.
TEST_P(LongPostTest, APostSentWhileTheStoryArrivesIsStoredOnceWholeOnTop)
{
    start(GetParam());
    const std::string before = read_file_bytes(newest_file);
    journal_type(journal, L"Sent while it arrives");
    journal_press(journal, VK_RETURN, true);
    const std::wstring next_file = story_path(time_file_name(GetParam().files + 2));
    ASSERT_TRUE(wait_until([&] { return file_exists(next_file); }, 60000));
    const std::wstring post = story_file_text(next_file);
    EXPECT_TRUE(loading(post + whole));
    EXPECT_EQ(read_file_bytes(newest_file), before);
    EXPECT_EQ(post.find(L"Sent while it arrives"), post.rfind(L"Sent while it arrives"));
    EXPECT_EQ(post.substr(post.size() - 25), L"Sent while it arrives\r\n\r\n");
    ASSERT_TRUE(wait_until([&] { return shows(post + whole); }, 120000));
}

INSTANTIATE_TEST_SUITE_P(Shapes, LongPostTest, ::testing::Values(LONG_LETTER, LONG_WORDS, LONG_LINES),
                         [](const ::testing::TestParamInfo<Diary>& info) { return std::string(info.param.name); });

TEST_F(StoryLoadingTest, AFullLastFileOfOneParagraphRefusesAPostTypedAtOnce)
{
    start(FULL_LAST_FILE);
    const std::string before = read_file_bytes(newest_file);
    journal_type(journal, L"too late");
    journal_press(journal, VK_RETURN, true);
    HWND state = journal_part(journal, Part::LBL_EDIT_STATE);
    ASSERT_TRUE(wait_until([&] { return window_text(state) == L"Times limit (999) is reached!"; }, 60000));
    EXPECT_EQ(window_text(journal_part(journal, Part::TXT_EDIT)), L"too late");
    EXPECT_EQ(read_file_bytes(newest_file), before);
    ASSERT_TRUE(wait_until([&] { return shows(whole); }, 60000));
}
