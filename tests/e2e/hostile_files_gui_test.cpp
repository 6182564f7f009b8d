// Files of any size and content in the program's folders: empty, huge (sparse, so the test
// stays light on the disk), all zeros or damaged. The program starts, shows the rest of
// the story, takes posts and reports a note it cannot read; it never falls over.
#include "journal_fixture.h"

#include <gtest/gtest.h>

namespace {

constexpr COLORREF RED = RGB(255, 0, 0);
constexpr std::int64_t GIB = std::int64_t{1} << 30;

// A file of that size whose bytes are zeros; no disk space is used for them.
bool write_sparse(const std::wstring& path, std::int64_t size)
{
    HANDLE file =
        CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    LARGE_INTEGER at;
    at.QuadPart = size;
    const bool made = SetFilePointerEx(file, at, nullptr, FILE_BEGIN) && SetEndOfFile(file);
    CloseHandle(file);
    return made;
}

std::wstring post_text(const std::wstring& stamp, const std::wstring& body)
{
    return std::wstring(51, L'=') + L" [" + stamp + L"]\r\n\r\n" + body + L"\r\n\r\n";
}

// A time file holding one post, stored reversed (the texts here are plain ASCII).
std::string time_file(const std::wstring& post)
{
    return "\xEF\xBB\xBF" + utf8_of(std::wstring(post.rbegin(), post.rend()));
}

class HostileFilesTest : public JournalTest {
protected:
    void SetUp() override
    {
        JournalTest::SetUp();
        CreateDirectoryW((journal.folder + L"quietstory").c_str(), nullptr);
        CreateDirectoryW((journal.folder + L"quietnotes").c_str(), nullptr);
    }
};

}  // namespace

TEST_F(HostileFilesTest, HugeEmptyAndDamagedTimeFilesLeaveTheRestOfTheStoryShownAndPostable)
{
    const std::wstring oldest = post_text(L"2020-01-01 08:00:00", L"The oldest day");
    const std::wstring newest = post_text(L"2020-01-09 08:00:00", L"The newest day");
    ASSERT_TRUE(write_file_bytes(story_path(L"Time-001.txt"), time_file(oldest)));
    ASSERT_TRUE(write_file_bytes(story_path(L"Time-002.txt"), ""));
    ASSERT_TRUE(write_sparse(story_path(L"Time-003.txt"), GIB));
    ASSERT_TRUE(write_sparse(story_path(L"Time-004.txt"), 3 * GIB));
    // Bytes no program wrote: a stray continuation byte reads as "?", a cut sequence as U+FFFD.
    ASSERT_TRUE(write_file_bytes(story_path(L"Time-005.txt"), "\xEF\xBB\xBF\xE2\x82\n\r!degamad\x80"));
    ASSERT_TRUE(write_file_bytes(story_path(L"Time-006.txt"), std::string(1 << 20, '\0')));
    ASSERT_TRUE(write_file_bytes(story_path(L"Time-007.txt"), time_file(newest)));

    ASSERT_TRUE(journal_start(journal));
    HWND viewer = journal_part(journal, Part::TXT_STORY);
    const std::wstring shown = newest + L"?damaged!\r\n\xFFFD" + oldest;
    ASSERT_TRUE(wait_until([&] { return without_cr(window_text(viewer)) == without_cr(shown); }))
        << "viewer holds " << window_text(viewer).size() << " characters";

    // Posting still works and goes to the newest file, which has room.
    ASSERT_TRUE(wait_until([&] { return journal_focus(journal) == journal_part(journal, Part::TXT_EDIT); }));
    journal_type(journal, L"After the big files");
    journal_press(journal, VK_RETURN, true);
    ASSERT_TRUE(wait_until([&] { return journal_current_tab(journal) == 1; }));
    EXPECT_NE(story_file_text(story_path(L"Time-007.txt")).find(L"After the big files"), std::wstring::npos);
    // On top of the viewer: the header line and a blank line before it.
    EXPECT_EQ(without_cr(window_text(viewer)).find(L"After the big files"), 73u + 2u);
    EXPECT_NE(window_text(viewer).find(L"The oldest day"), std::wstring::npos);

    for (const wchar_t* name : {L"Time-003.txt", L"Time-004.txt"})
        write_sparse(story_path(name), 0);
}

TEST_F(HostileFilesTest, HugeNoteFilesAreReportedUnreadableAndChangeNothing)
{
    ASSERT_TRUE(write_file_bytes(note_path(L"empty.bin"), ""));
    ASSERT_TRUE(write_sparse(note_path(L"huge.bin"), 3 * GIB));
    ASSERT_TRUE(write_sparse(note_path(L"zeros.bin"), GIB));

    ASSERT_TRUE(journal_start(journal));
    journal_show_page(journal, Page::NOTES);
    HWND state = journal_part(journal, Part::LBL_NOTES_STATE);
    HWND editor = journal_part(journal, Part::TXT_NOTES);
    HWND label = journal_part(journal, Part::LBL_NOTES);
    HWND password = journal_button(journal, Page::NOTES, L"Set Password...");
    journal_click(journal, password);
    ASSERT_TRUE(journal_enter_input(journal, L"Notes Password", L"any password"));
    ASSERT_TRUE(wait_until([&] { return window_text(state) == L"PWD defined"; }));
    ASSERT_EQ(journal_list_items(journal), (std::vector<std::wstring>{L"empty", L"huge", L"zeros"}));

    journal_double_click_item(journal, 0);
    ASSERT_TRUE(wait_until([&] { return window_text(state) == L"Loaded 'empty'"; }));
    journal_type(journal, L"unsaved words");
    ASSERT_TRUE(wait_until([&] { return window_text(editor) == L"unsaved words"; }));

    for (int index : {1, 2}) {
        const std::wstring name = journal_list_items(journal)[index];
        journal_double_click_item(journal, index);
        // Unsaved changes are asked about first; the answer Yes goes on to the read.
        HWND question = journal_wait_box((L"Load Note ('" + name + L"')").c_str());
        ASSERT_NE(question, nullptr);
        journal_answer(question, true);
        ASSERT_TRUE(wait_until([&] { return window_text(state) == L"Failed to read '" + name + L"'"; }));
        EXPECT_TRUE(wait_until([&] { return window_shows_color(state, RED); }));
        EXPECT_EQ(window_text(editor), L"unsaved words");
        EXPECT_EQ(window_text(label), L"empty");
    }

    for (const wchar_t* name : {L"huge.bin", L"zeros.bin"})
        write_sparse(note_path(name), 0);
}
