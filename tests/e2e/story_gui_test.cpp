// The story driven through the real program: posting, the time files on disk, the
// viewer, and the search box.
#include "journal_fixture.h"

#include <gtest/gtest.h>

#include <cwctype>

namespace {

const std::wstring HEADER_RULE(51, L'=');
constexpr std::size_t HEADER_LENGTH = 51 + 2 + 19 + 1;

// True for 51 "=", a space and a bracketed "yyyy-mm-dd hh:ii:ss".
bool is_header(const std::wstring& line)
{
    if (line.size() != HEADER_LENGTH || line.compare(0, 51, HEADER_RULE) != 0 || line.compare(51, 2, L" [") != 0
        || line.back() != L']')
        return false;
    const std::wstring stamp = line.substr(53, 19);
    const std::wstring shape = L"dddd-dd-dd dd:dd:dd";
    for (std::size_t i = 0; i < shape.size(); ++i) {
        if (shape[i] == L'd' ? !std::iswdigit(stamp[i]) : stamp[i] != shape[i])
            return false;
    }
    return true;
}

// A stored post as written by another session: header, blank line, body, blank line.
std::wstring post_text(const std::wstring& stamp, const std::wstring& body)
{
    return HEADER_RULE + L" [" + stamp + L"]\r\n\r\n" + body + L"\r\n\r\n";
}

// Characters in reverse order; a surrogate pair stays in order.
std::wstring reversed(const std::wstring& text)
{
    std::wstring result;
    for (std::size_t i = text.size(); i > 0; --i) {
        if (i >= 2 && IS_LOW_SURROGATE(text[i - 1]) && IS_HIGH_SURROGATE(text[i - 2])) {
            result += text[i - 2];
            --i;
            result += text[i];
            continue;
        }
        result += text[i - 1];
    }
    return result;
}

// The content of a time file holding the posts, oldest first.
std::string time_file(const std::vector<std::wstring>& posts)
{
    std::wstring stored;
    for (const std::wstring& post : posts)
        stored += reversed(post);
    return "\xEF\xBB\xBF" + utf8_of(stored);
}

// Rich edit keeps a line break as one CR.
std::wstring as_shown(std::wstring text)
{
    std::wstring shown;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == L'\r' && i + 1 < text.size() && text[i + 1] == L'\n')
            ++i;
        shown += text[i] == L'\n' ? L'\r' : text[i];
    }
    return shown;
}

// A time file of exactly `size` bytes: the mark and short lines, as a long diary has.
std::string filled_time_file(std::size_t size)
{
    std::string bytes = "\xEF\xBB\xBF";
    while (bytes.size() < size)
        bytes += "\n\r.enil trohs a";
    bytes.resize(size);
    return bytes;
}

class StoryTest : public JournalTest {
protected:
    void prepare_story_folder() const { CreateDirectoryW((journal.folder + L"quietstory").c_str(), nullptr); }

    void start()
    {
        ASSERT_TRUE(journal_start(journal));
        ASSERT_TRUE(wait_until([&] { return journal_focus(journal) == journal_part(journal, Part::TXT_EDIT); }));
    }

    // Types the text into the editor and presses Ctrl+Return.
    void post(const std::wstring& text)
    {
        journal_type(journal, text);
        journal_press(journal, VK_RETURN, true);
    }

    std::wstring viewer_text() const { return window_text(journal_part(journal, Part::TXT_STORY)); }
};

TEST_F(StoryTest, FirstPostCreatesTheFirstTimeFileAndShowsThePostOnTop)
{
    start();
    EXPECT_EQ(journal_current_tab(journal), 0);
    post(L"\n\nDay one \U0001F600 began\n\nsecond line\n\n");
    const std::wstring first = story_path(L"Time-001.txt");
    ASSERT_TRUE(wait_until([&] { return file_exists(first) && !read_file_bytes(first).empty(); }));

    // The mark, then the reversed post; blank lines around the body are gone, inner ones stay.
    const std::string bytes = read_file_bytes(first);
    ASSERT_EQ(bytes.substr(0, 3), "\xEF\xBB\xBF");
    const std::wstring stored = story_file_text(first);
    ASSERT_GT(stored.size(), HEADER_LENGTH);
    EXPECT_TRUE(is_header(stored.substr(0, HEADER_LENGTH))) << utf8_of(stored);
    EXPECT_EQ(stored.substr(HEADER_LENGTH), L"\r\n\r\nDay one \U0001F600 began\r\n\r\nsecond line\r\n\r\n");

    // The story tab with the new post on top, an empty editor and the focus in the search box.
    ASSERT_TRUE(wait_until([&] { return journal_current_tab(journal) == 1; }));
    EXPECT_TRUE(window_text(journal_part(journal, Part::TXT_EDIT)).empty());
    EXPECT_EQ(journal_focus(journal), journal_part(journal, Part::TXT_SEARCH));
    EXPECT_EQ(without_cr(viewer_text()), without_cr(stored));

    // A second post goes to the same file, on top of the first.
    journal_show_page(journal, Page::EDIT);
    post(L"another day");
    ASSERT_TRUE(wait_until([&] { return story_file_text(first).find(L"another day") != std::wstring::npos; }));
    const std::wstring both = story_file_text(first);
    EXPECT_EQ(both.find(L"another day"), HEADER_LENGTH + 4);
    EXPECT_EQ(both.substr(both.size() - stored.size()), stored);
    EXPECT_FALSE(file_exists(story_path(L"Time-002.txt")));
    ASSERT_TRUE(wait_until([&] { return without_cr(viewer_text()) == without_cr(both); }))
        << utf8_of(viewer_text());

    // An unsent post does not keep the program from ending.
    journal_show_page(journal, Page::EDIT);
    journal_type(journal, L"never sent");
    journal_close(journal);
    EXPECT_TRUE(journal_wait_exit(journal));
    EXPECT_EQ(story_file_text(first), both);
}

// The journal keeps its own keys: Tab is typed in the post editor, and neither Ctrl+Tab nor
// Ctrl+PageDown turns its page or takes the focus from the editor.
TEST_F(StoryTest, TabIsTypedAndCtrlTabTurnsNoPage)
{
    start();
    HWND editor = journal_part(journal, Part::TXT_EDIT);
    journal_press(journal, VK_TAB);
    journal_press(journal, VK_TAB, true);
    journal_press(journal, VK_NEXT, true);
    journal_type(journal, L"x");
    ASSERT_TRUE(wait_until([&] { return window_text(editor).find(L'x') != std::wstring::npos; }));
    EXPECT_EQ(window_text(editor).substr(0, 1), L"\t");
    EXPECT_EQ(journal_current_tab(journal), 0);
    EXPECT_EQ(journal_focus(journal), editor);
}

TEST_F(StoryTest, OnlyLineBreaksPostNothing)
{
    start();
    post(L"\n\n\n");
    Sleep(500);
    EXPECT_FALSE(file_exists(story_path(L"Time-001.txt")));
    EXPECT_EQ(journal_current_tab(journal), 0);
}

TEST_F(StoryTest, ViewerShowsTheFilesNewestFirstAndRenamesTheLegacyFile)
{
    prepare_story_folder();
    const std::wstring p1 = post_text(L"2019-06-26 14:03:07", L"first");
    const std::wstring p2 = post_text(L"2019-06-27 08:00:00", L"second");
    const std::wstring p3 = post_text(L"2019-07-01 09:30:00", L"third \U0001F600");
    const std::wstring p4 = post_text(L"2019-07-02 10:00:00", L"fourth");
    ASSERT_TRUE(write_file_bytes(story_path(L"Time-I.txt"), time_file({p1})));
    ASSERT_TRUE(write_file_bytes(story_path(L"Time-002.txt"), time_file({p2})));
    ASSERT_TRUE(write_file_bytes(story_path(L"Time-003.txt"), time_file({p3, p4})));
    // Not time files: a wrong length of number.
    ASSERT_TRUE(write_file_bytes(story_path(L"Time-5.txt"), time_file({post_text(L"2000-01-01 00:00:00", L"x")})));
    start();
    EXPECT_TRUE(file_exists(story_path(L"Time-001.txt")));
    EXPECT_FALSE(file_exists(story_path(L"Time-I.txt")));
    journal_show_page(journal, Page::STORY);
    EXPECT_EQ(without_cr(viewer_text()), without_cr(p4 + p3 + p2 + p1));
    EXPECT_EQ(journal_focus(journal), journal_part(journal, Part::TXT_SEARCH));
}

TEST_F(StoryTest, RichTextSignaturesStayTextAndReloadReadsTheFilesAgain)
{
    prepare_story_folder();
    const std::wstring p1 = post_text(L"2020-01-01 10:00:00", L"{\\rtf1\\ansi {\\b stored} plain}");
    ASSERT_TRUE(write_file_bytes(story_path(L"Time-001.txt"), time_file({p1})));
    start();
    post(L"{\\rtf1 typed}");
    ASSERT_TRUE(wait_until([&] { return journal_current_tab(journal) == 1; }));
    const std::wstring stored = story_file_text(story_path(L"Time-001.txt"));
    EXPECT_EQ(stored.substr(HEADER_LENGTH), L"\r\n\r\n{\\rtf1 typed}\r\n\r\n" + p1);
    EXPECT_EQ(without_cr(viewer_text()), without_cr(stored));

    // Files written meanwhile by another copy of the program appear on Reload.
    const std::wstring p2 = post_text(L"2030-01-01 10:00:00", L"from elsewhere");
    ASSERT_TRUE(write_file_bytes(story_path(L"Time-002.txt"), time_file({p2})));
    journal_click(journal, journal_button(journal, Page::STORY, L"Reload"));
    ASSERT_TRUE(wait_until([&] { return without_cr(viewer_text()) == without_cr(p2 + stored); }))
        << utf8_of(viewer_text());
    EXPECT_EQ(journal_focus(journal), journal_part(journal, Part::TXT_STORY));
}

TEST_F(StoryTest, LegacyFileStaysWhenTheFirstTimeFileExists)
{
    prepare_story_folder();
    const std::string legacy = time_file({post_text(L"2010-01-01 00:00:00", L"old")});
    const std::string first = time_file({post_text(L"2011-01-01 00:00:00", L"newer")});
    ASSERT_TRUE(write_file_bytes(story_path(L"Time-I.txt"), legacy));
    ASSERT_TRUE(write_file_bytes(story_path(L"Time-001.txt"), first));
    start();
    EXPECT_EQ(read_file_bytes(story_path(L"Time-I.txt")), legacy);
    EXPECT_EQ(read_file_bytes(story_path(L"Time-001.txt")), first);
}

TEST_F(StoryTest, SearchMovesThroughTheMatchesAndWraps)
{
    prepare_story_folder();
    const std::wstring post = post_text(L"2020-01-01 10:00:00", L"An apple.\r\nTwo Apples.\r\nThree APPLE pies.");
    ASSERT_TRUE(write_file_bytes(story_path(L"Time-001.txt"), time_file({post})));
    start();
    journal_show_page(journal, Page::STORY);
    std::wstring shown = as_shown(post);
    for (wchar_t& unit : shown)
        unit = static_cast<wchar_t>(std::towlower(unit));
    std::vector<int> matches;
    for (std::size_t at = 0; (at = shown.find(L"apple", at)) != std::wstring::npos; ++at)
        matches.push_back(static_cast<int>(at));
    ASSERT_EQ(matches.size(), 3u);
    HWND viewer = journal_part(journal, Part::TXT_STORY);
    auto selected_at = [&](int expected) {
        return wait_until([&] {
            int start = 0, end = 0;
            journal_selection(journal, viewer, &start, &end);
            return start == expected && end == expected + 5;
        });
    };

    journal_type(journal, L"aPPle");
    journal_press(journal, VK_RETURN);
    EXPECT_TRUE(selected_at(matches[0]));
    journal_press(journal, VK_RETURN);
    EXPECT_TRUE(selected_at(matches[1]));
    journal_press(journal, VK_F3);
    EXPECT_TRUE(selected_at(matches[2]));
    journal_press(journal, VK_F3);
    EXPECT_TRUE(selected_at(matches[0]));
    journal_press(journal, VK_F4);
    EXPECT_TRUE(selected_at(matches[2]));
    journal_press(journal, VK_F4);
    EXPECT_TRUE(selected_at(matches[1]));
    EXPECT_EQ(journal_focus(journal), journal_part(journal, Part::TXT_SEARCH));

    // Return is an ordinary key on the other tabs.
    journal_show_page(journal, Page::EDIT);
    journal_type(journal, L"a\nb");
    EXPECT_TRUE(wait_until([&] { return window_text(journal_part(journal, Part::TXT_EDIT)) == L"a\r\nb"; }));
}

TEST_F(StoryTest, ShortcutsBelongToTheirTabs)
{
    start();
    EXPECT_TRUE(file_exists(journal.folder + L"quietstory"));
    EXPECT_TRUE(file_exists(journal.folder + L"quietnotes"));
    journal_type(journal, L"draft");
    // Ctrl+Return posts only from the "New Story" tab.
    journal_show_page(journal, Page::NOTES);
    journal_press(journal, VK_RETURN, true);
    journal_show_page(journal, Page::STORY);
    journal_press(journal, VK_RETURN, true);
    Sleep(300);
    EXPECT_FALSE(file_exists(story_path(L"Time-001.txt")));
    // Tab does not move the focus away from the search box.
    HWND search = journal_part(journal, Part::TXT_SEARCH);
    EXPECT_EQ(journal_focus(journal), search);
    journal_press(journal, VK_TAB);
    Sleep(200);
    EXPECT_EQ(journal_focus(journal), search);
    // F3 searches nothing on the "New Story" tab.
    journal_type(journal, L"dr");
    journal_show_page(journal, Page::EDIT);
    journal_press(journal, VK_F3);
    EXPECT_EQ(window_text(journal_part(journal, Part::TXT_EDIT)), L"draft");
}

TEST_F(StoryTest, NewFileStartsOnceTheNewestHasReachedTheLimit)
{
    prepare_story_folder();
    // 32,767 bytes: the next post still goes in.
    ASSERT_TRUE(write_file_bytes(story_path(L"Time-001.txt"), filled_time_file(32767)));
    start();
    post(L"fits");
    ASSERT_TRUE(wait_until([&] { return read_file_bytes(story_path(L"Time-001.txt")).size() > 32767; }));
    EXPECT_FALSE(file_exists(story_path(L"Time-002.txt")));
    // Now past 32,768 bytes: the next post starts Time-002.txt.
    journal_show_page(journal, Page::EDIT);
    post(L"overflows");
    ASSERT_TRUE(wait_until([&] { return file_exists(story_path(L"Time-002.txt")); }));
    EXPECT_EQ(story_file_text(story_path(L"Time-002.txt")).find(L"overflows"), HEADER_LENGTH + 4);
}

TEST_F(StoryTest, ExactlyFullFileStartsTheNextNumber)
{
    prepare_story_folder();
    ASSERT_TRUE(write_file_bytes(story_path(L"Time-007.txt"), filled_time_file(32768)));
    start();
    post(L"next");
    ASSERT_TRUE(wait_until([&] { return file_exists(story_path(L"Time-008.txt")); }));
    EXPECT_EQ(read_file_bytes(story_path(L"Time-007.txt")).size(), 32768u);
}

TEST_F(StoryTest, LastFileFullRefusesThePost)
{
    prepare_story_folder();
    ASSERT_TRUE(write_file_bytes(story_path(L"Time-999.txt"), filled_time_file(32768)));
    start();
    post(L"too much");
    HWND state = journal_part(journal, Part::LBL_EDIT_STATE);
    ASSERT_TRUE(wait_until([&] { return window_text(state) == L"Times limit (999) is reached!"; }));
    EXPECT_EQ(window_text(journal_part(journal, Part::TXT_EDIT)), L"too much");
    EXPECT_EQ(journal_current_tab(journal), 0);
    EXPECT_EQ(read_file_bytes(story_path(L"Time-999.txt")).size(), 32768u);
}

TEST_F(StoryTest, UnwritableTimeFileKeepsThePostAndShowsError)
{
    prepare_story_folder();
    // A folder where the first time file would go.
    ASSERT_TRUE(CreateDirectoryW(story_path(L"Time-001.txt").c_str(), nullptr));
    start();
    post(L"kept");
    HWND state = journal_part(journal, Part::LBL_EDIT_STATE);
    ASSERT_TRUE(wait_until([&] { return window_text(state) == L"ERROR"; }));
    EXPECT_EQ(window_text(journal_part(journal, Part::TXT_EDIT)), L"kept");
    // The next successful post empties the message.
    RemoveDirectoryW(story_path(L"Time-001.txt").c_str());
    journal_press(journal, VK_RETURN, true);
    ASSERT_TRUE(wait_until([&] { return file_exists(story_path(L"Time-001.txt")); }));
    EXPECT_TRUE(wait_until([&] { return window_text(state).empty(); }));
}

}  // namespace

namespace {

// The prefix's folder as a Windows path, when the program runs under Wine; "" otherwise.
std::wstring wine_prefix_folder()
{
    wchar_t prefix[MAX_PATH] = {};
    const DWORD length = GetEnvironmentVariableW(L"WINEPREFIX", prefix, MAX_PATH);
    if (length == 0 || length >= MAX_PATH || prefix[0] != L'/')
        return L"";
    std::wstring folder = L"Z:" + std::wstring(prefix, length);
    for (wchar_t& unit : folder)
        if (unit == L'/')
            unit = L'\\';
    return folder + L"\\";
}

// Starts the program from `program_folder` (a path form of `local_folder`), posts once and
// checks that both folders were made and the post landed in the first time file.
void run_from(const std::wstring& program_folder, const std::wstring& local_folder)
{
    Journal journal;
    journal.folder = program_folder;
    ASSERT_TRUE(journal_start(journal)) << utf8_of(program_folder);
    EXPECT_TRUE(wait_until([&] { return file_exists(local_folder + L"quietnotes"); }));
    EXPECT_TRUE(file_exists(local_folder + L"quietstory"));
    journal_type(journal, L"from afar");
    journal_press(journal, VK_RETURN, true);
    const std::wstring first = local_folder + L"quietstory\\Time-001.txt";
    EXPECT_TRUE(wait_until([&] { return story_file_text(first).find(L"from afar") != std::wstring::npos; }));
    journal_stop(journal);
}

}  // namespace

// A program on a network share makes its folders there like anywhere else. Wine serves
// "\\server\share" from the prefix's dosdevices\unc\server\share folder.
TEST(StoryFolders, ProgramOnANetworkShareMakesItsFolders)
{
    const std::wstring prefix = wine_prefix_folder();
    if (prefix.empty())
        GTEST_SKIP() << "needs Wine's mapping of network paths";
    const std::wstring share = L"qnshare-" + std::to_wstring(GetCurrentProcessId());
    std::wstring local = prefix + L"dosdevices\\unc";
    CreateDirectoryW(local.c_str(), nullptr);
    local += L"\\localhost";
    CreateDirectoryW(local.c_str(), nullptr);
    local += L"\\" + share + L"\\";
    ASSERT_TRUE(CreateDirectoryW(local.c_str(), nullptr));
    const std::wstring folder = journal_new_folder(local);
    ASSERT_FALSE(folder.empty());
    const std::wstring name = folder.substr(local.size());  // ends with a backslash
    run_from(L"\\\\localhost\\" + share + L"\\" + name, folder);
    journal_remove_folder(folder);
    RemoveDirectoryW(local.c_str());
}

// The long form of a drive path runs the same way.
TEST(StoryFolders, ProgramStartedThroughALongPathMakesItsFolders)
{
    const std::wstring folder = journal_new_folder();
    ASSERT_FALSE(folder.empty());
    run_from(L"\\\\?\\" + folder, folder);
    journal_remove_folder(folder);
}
