// Two copies of the real program on the same folders, both posting as fast as they can:
// one driven by real key presses, the other through its window's own messages. A busy
// time file makes a post fail with "ERROR" (and the post stays to be sent again); every
// post that succeeded is on disk exactly once and whole, and nothing else is.
#include "journal_helpers.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cstdio>
#include <map>
#include <thread>

namespace {

constexpr std::size_t HEADER_LENGTH = 51 + 2 + 19 + 1;
const std::wstring BREAKS = L"\r\n\r\n";

bool is_header(const std::wstring& text, std::size_t at)
{
    return text.compare(at, 51, std::wstring(51, L'=')) == 0 && text.compare(at + 51, 2, L" [") == 0 &&
           text.size() >= at + HEADER_LENGTH && text[at + HEADER_LENGTH - 1] == L']';
}

// Splits the story text of one time file (newest first) into post bodies; false when some
// part of it is not a whole post.
bool split_posts(const std::wstring& text, std::vector<std::wstring>* bodies)
{
    std::size_t at = 0;
    while (at < text.size()) {
        if (!is_header(text, at) || text.compare(at + HEADER_LENGTH, 4, BREAKS) != 0)
            return false;
        const std::size_t body = at + HEADER_LENGTH + 4;
        const std::size_t end = text.find(BREAKS, body);
        if (end == std::wstring::npos)
            return false;
        bodies->push_back(text.substr(body, end - body));
        at = end + 4;
    }
    return true;
}

// Every post body in the story folder with how often it occurs; false when some file
// holds anything but whole posts.
bool stored_posts(const std::wstring& folder, std::map<std::wstring, int>* counts, int* files)
{
    WIN32_FIND_DATAW found;
    HANDLE search = FindFirstFileW((folder + L"Time-*.txt").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE)
        return false;
    bool whole = true;
    do {
        ++*files;
        std::vector<std::wstring> bodies;
        const std::string bytes = read_file_bytes(folder + found.cFileName);
        if (!bytes.empty() && bytes.compare(0, 3, "\xEF\xBB\xBF") != 0)
            whole = false;
        if (!split_posts(story_file_text(folder + found.cFileName), &bodies))
            whole = false;
        for (const std::wstring& body : bodies)
            ++(*counts)[body];
    } while (FindNextFileW(search, &found));
    FindClose(search);
    return whole;
}

class TwoCopiesTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        first.folder = journal_new_folder();
        ASSERT_FALSE(first.folder.empty());
        second.folder = first.folder;
    }

    void TearDown() override
    {
        journal_stop(second);
        journal_stop(first);
        journal_remove_folder(first.folder);
    }

    std::wstring story_folder() const { return first.folder + L"quietstory\\"; }

    // One post through real keys: the text is typed, Ctrl+Return pressed until the post is
    // taken; returns how often the program answered "ERROR" first, -1 when it never took it.
    int post_by_keys(const std::wstring& text)
    {
        HWND editor = journal_part(first, Part::TXT_EDIT);
        HWND state = journal_part(first, Part::LBL_EDIT_STATE);
        // A click on the tab already shown would leave the focus on the tabs.
        if (journal_current_tab(first) != 0)
            journal_show_page(first, Page::EDIT);
        else
            SetForegroundWindow(first.window);
        if (!wait_until([&] { return journal_focus(first) == editor; }))
            return -1;
        journal_type(first, text);
        if (!wait_until([&] { return window_text(editor) == text; }))
            return -1;
        for (int refused = 0; refused < 20; ++refused) {
            SetWindowTextW(state, L"");
            journal_press(first, VK_RETURN, true);
            bool posted = false;
            wait_until([&] {
                posted = journal_current_tab(first) == 1 && window_text(editor).empty();
                return posted || window_text(state) == L"ERROR";
            });
            if (posted)
                return refused;
        }
        return -1;
    }

    Journal first;
    Journal second;
};

}  // namespace

// The wine server keeps one program's time file closed to another program while it is
// open for writing, as Windows does: a post meanwhile shows "ERROR" and lands once free.
TEST_F(TwoCopiesTest, TimeFileHeldByAnotherProgramRefusesThePostUntilFree)
{
    ASSERT_TRUE(journal_start(first));
    HWND state = journal_part(first, Part::LBL_EDIT_STATE);
    journal_type(first, L"Before anyone else");
    journal_press(first, VK_RETURN, true);
    ASSERT_TRUE(wait_until([&] { return journal_current_tab(first) == 1; }));
    const std::wstring path = story_folder() + L"Time-001.txt";
    const std::string before = read_file_bytes(path);

    HANDLE holder = CreateFileW(path.c_str(), GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(holder, INVALID_HANDLE_VALUE);
    journal_show_page(first, Page::EDIT);
    ASSERT_TRUE(wait_until([&] { return journal_focus(first) == journal_part(first, Part::TXT_EDIT); }));
    journal_type(first, L"While the file is busy");
    journal_press(first, VK_RETURN, true);
    EXPECT_TRUE(wait_until([&] { return window_text(state) == L"ERROR"; }));
    EXPECT_EQ(read_file_bytes(path), before);
    CloseHandle(holder);

    journal_press(first, VK_RETURN, true);
    ASSERT_TRUE(wait_until([&] { return journal_current_tab(first) == 1; }));
    std::map<std::wstring, int> counts;
    int files = 0;
    EXPECT_TRUE(stored_posts(story_folder(), &counts, &files));
    EXPECT_EQ(counts, (std::map<std::wstring, int>{{L"Before anyone else", 1}, {L"While the file is busy", 1}}));
}

TEST_F(TwoCopiesTest, BothPostingAtOnceLoseNothingAndDoubleNothing)
{
    ASSERT_TRUE(journal_start(first));
    ASSERT_TRUE(journal_launch(second));
    ASSERT_TRUE(wait_until([&] { return (second.window = journal_find_window(second)) != nullptr; }, 20000));
    DWORD_PTR answer = 0;
    ASSERT_TRUE(SendMessageTimeoutW(second.window, WM_NULL, 0, 0, SMTO_NORMAL, 20000, &answer));
    HWND second_state = journal_part(second, Part::LBL_EDIT_STATE);
    ASSERT_TRUE(second_state && journal_part(second, Part::TXT_EDIT));
    // Minimized, the second copy cannot take the focus (and so the keys) from the first
    // when a post moves its own focus to the search box.
    ShowWindow(second.window, SW_MINIMIZE);
    ASSERT_TRUE(wait_until([&] { return IsIconic(second.window) != FALSE; }));

    // The second copy posts a long text as often as it can, through Ctrl+Return's command.
    std::atomic<bool> stop{false};
    std::vector<std::wstring> second_posted;
    std::vector<std::wstring> second_refused;
    std::thread poster([&] {
        for (int n = 1; !stop; ++n) {
            const std::wstring body = L"second copy " + std::to_wstring(n) + L" " + std::wstring(6000, L'b');
            // The editor is looked up each time: a long text may give it a fresh window.
            HWND editor = journal_part(second, Part::TXT_EDIT);
            SendMessageW(second_state, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L""));
            if (!SendMessageW(editor, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(body.c_str())))
                continue;
            SendMessageW(second.window, WM_COMMAND, MAKEWPARAM(1, 1), 0);
            if (window_text(journal_part(second, Part::TXT_EDIT)).empty())
                second_posted.push_back(body);
            else if (window_text(second_state) == L"ERROR")
                second_refused.push_back(body);
        }
    });

    std::vector<std::wstring> first_posted;
    int first_refused = 0;
    for (int n = 1; n <= 12; ++n) {
        const std::wstring body = L"first copy " + std::to_wstring(n);
        const int refused = post_by_keys(body);
        EXPECT_GE(refused, 0) << body << " was never taken";
        if (refused < 0)
            break;
        first_refused += refused;
        first_posted.push_back(body);
    }
    stop = true;
    poster.join();
    journal_close(second);
    journal_close(first);
    EXPECT_TRUE(journal_wait_exit(second));
    EXPECT_TRUE(journal_wait_exit(first));

    std::map<std::wstring, int> counts;
    int files = 0;
    EXPECT_TRUE(stored_posts(story_folder(), &counts, &files)) << "a time file holds a part of a post";
    std::map<std::wstring, int> expected;
    for (const std::wstring& body : first_posted)
        expected[body] = 1;
    for (const std::wstring& body : second_posted)
        expected[body] = 1;
    EXPECT_EQ(counts.size(), expected.size());
    EXPECT_TRUE(counts == expected) << "a post that succeeded is missing or doubled, or a refused one is stored";
    std::printf("two copies: first %zu posts (%d refused while busy), second %zu posts (%zu refused), %d files\n",
                first_posted.size(), first_refused, second_posted.size(), second_refused.size(), files);
    EXPECT_GT(second_posted.size(), first_posted.size());
}
