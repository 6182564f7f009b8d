// The notes driven through the real program: the password, creating, saving, loading,
// renaming and deleting notes, the list, and leaving with unsaved changes.
#include "journal_helpers.h"

#include "app/note_cipher.h"
#include "app/note_key.h"
#include "services/random.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>

namespace {

// The question a message box asks: its static text that is not empty.
std::wstring box_message(HWND box)
{
    for (HWND child = FindWindowExW(box, nullptr, L"Static", nullptr); child;
         child = FindWindowExW(box, child, L"Static", nullptr)) {
        std::wstring text = window_text(child);
        if (!text.empty())
            return text;
    }
    return L"";
}

class NotesTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        journal.folder = journal_new_folder();
        ASSERT_FALSE(journal.folder.empty());
    }

    void TearDown() override
    {
        journal_stop(journal);
        journal_remove_folder(journal.folder);
    }

    std::wstring note_path(const std::wstring& name) const { return journal.folder + L"quietnotes\\" + name; }

    void start()
    {
        ASSERT_TRUE(journal_start(journal));
        journal_show_page(journal, Page::NOTES);
        ASSERT_EQ(journal_current_tab(journal), 2);
    }

    std::wstring status() const { return window_text(journal_part(journal, Part::LBL_NOTES_STATE)); }
    std::wstring note_text() const { return window_text(journal_part(journal, Part::TXT_NOTES)); }
    std::wstring note_label() const { return window_text(journal_part(journal, Part::LBL_NOTES)); }

    bool status_becomes(const std::wstring& text) const
    {
        return wait_until([&] { return status() == text; });
    }

    HWND button(const wchar_t* text) const { return journal_button(journal, Page::NOTES, text); }

    // Clicks the button once the button-state timer has enabled it.
    void click(const wchar_t* text)
    {
        HWND target = button(text);
        ASSERT_NE(target, nullptr) << text;
        ASSERT_TRUE(wait_until([&] { return IsWindowEnabled(target) != FALSE; })) << text;
        journal_click(journal, target);
    }

    void set_password(const std::wstring& password)
    {
        click(L"Set Password...");
        ASSERT_TRUE(journal_enter_input(journal, L"Notes Password", password));
        ASSERT_TRUE(status_becomes(L"PWD defined"));
    }

    void new_note(const std::wstring& name)
    {
        click(L"New Note");
        ASSERT_TRUE(journal_enter_input(journal, L"New Note", name));
    }

    void rename_note(const std::wstring& name)
    {
        click(L"Rename");
        ASSERT_TRUE(journal_enter_input(journal, (L"Rename ('" + note_label() + L"')").c_str(), name));
    }

    int list_selection() const
    {
        return static_cast<int>(SendMessageW(journal_part(journal, Part::LIST_NOTES), LB_GETCURSEL, 0, 0));
    }

    Journal journal;
};

constexpr COLORREF RED = RGB(255, 0, 0);
constexpr COLORREF GREEN = RGB(46, 151, 0);

TEST_F(NotesTest, NoteSurvivesQuitQuestionAndRestart)
{
    start();
    EXPECT_EQ(journal_focus(journal), journal_part(journal, Part::TXT_NOTES));
    // Without a password only the password button works.
    EXPECT_TRUE(wait_until(
        [&] { return !IsWindowEnabled(button(L"Save Note")) && !IsWindowEnabled(button(L"New Note")); }));
    EXPECT_TRUE(IsWindowEnabled(button(L"Set Password...")));

    const std::wstring password = L"pa\U0001F511ss";
    set_password(password);
    new_note(L"Diary");
    ASSERT_TRUE(status_becomes(L"'Diary' created"));
    EXPECT_EQ(note_label(), L"Diary");
    EXPECT_EQ(journal_list_items(journal), std::vector<std::wstring>{L"Diary"});
    EXPECT_EQ(list_selection(), 0);
    EXPECT_EQ(read_file_bytes(note_path(L"Diary.bin")).size(), 0u);

    const std::wstring text = L"Hello \U0001F600 world\r\nline 2";
    journal_type(journal, L"Hello \U0001F600 world\nline 2");
    ASSERT_TRUE(wait_until([&] { return note_text() == text; }));
    click(L"Save Note");
    ASSERT_TRUE(status_becomes(L"'Diary' saved"));
    const std::string saved = read_file_bytes(note_path(L"Diary.bin"));
    EXPECT_GE(saved.size(), 2 * text.size() + 64 - 2);
    EXPECT_LE(saved.size(), 2 * text.size() + 128);

    // Unsaved changes: No keeps the program on the Notes tab, Yes ends it without writing.
    journal_click(journal, journal_part(journal, Part::TXT_NOTES));
    journal_type(journal, L" more");
    journal_show_page(journal, Page::EDIT);
    journal_close(journal);
    HWND question = journal_wait_box(L"Unsaved Note ('Diary')");
    ASSERT_NE(question, nullptr);
    EXPECT_EQ(box_message(question), L"Quit and lose changes?");
    journal_answer(question, false);
    EXPECT_TRUE(wait_until([&] { return journal_current_tab(journal) == 2; }));
    EXPECT_FALSE(journal_wait_exit(journal, 500));
    journal_close(journal);
    question = journal_wait_box(L"Unsaved Note ('Diary')");
    ASSERT_NE(question, nullptr);
    journal_answer(question, true);
    ASSERT_TRUE(journal_wait_exit(journal));
    EXPECT_EQ(read_file_bytes(note_path(L"Diary.bin")), saved);

    // A new run loads the note under the same password.
    journal_stop(journal);
    start();
    EXPECT_EQ(journal_list_items(journal), std::vector<std::wstring>{L"Diary"});
    set_password(password);
    journal_double_click_item(journal, 0);
    ASSERT_TRUE(status_becomes(L"Loaded 'Diary'"));
    EXPECT_EQ(note_text(), text);
    EXPECT_EQ(note_label(), L"Diary");

}

// The file is made here with the journal's own note format and a fixed random seed, so
// that the unreadable text is the same on every run.
TEST_F(NotesTest, WrongPasswordShowsUnreadableTextAsLoaded)
{
    const std::u16string secret = u"Meet at noon by the old mill";
    random_seed(20261207);
    NoteKey key = {};
    ASSERT_TRUE(note_derive_key(u"right one", key));
    std::vector<std::uint8_t> data;
    ASSERT_EQ(note_encrypt_text(key, secret, data), NoteEncryptResult::OK);
    CreateDirectoryW((journal.folder + L"quietnotes").c_str(), nullptr);
    ASSERT_TRUE(write_file_bytes(note_path(L"mill.bin"), std::string(data.begin(), data.end())));

    start();
    set_password(L"wrong one");
    journal_double_click_item(journal, 0);
    ASSERT_TRUE(status_becomes(L"Loaded 'mill'"));
    const std::wstring expected(secret.begin(), secret.end());
    EXPECT_FALSE(note_text().empty());
    EXPECT_NE(note_text(), expected);

    set_password(L"right one");
    click(L"Reload");
    ASSERT_TRUE(wait_until([&] { return note_text() == expected; }));
    EXPECT_EQ(status(), L"Loaded 'mill'");
}

TEST_F(NotesTest, RenameAndDeleteAskAndReport)
{
    start();
    set_password(L"pw");
    new_note(L"alpha");
    ASSERT_TRUE(status_becomes(L"'alpha' created"));
    new_note(L"beta");
    ASSERT_TRUE(status_becomes(L"'beta' created"));
    EXPECT_EQ(journal_list_items(journal), (std::vector<std::wstring>{L"alpha", L"beta"}));

    rename_note(L"ALPHA");
    ASSERT_TRUE(status_becomes(L"'ALPHA' already exists"));
    rename_note(L"gamma");
    ASSERT_TRUE(status_becomes(L"Renamed 'beta' to 'gamma'"));
    EXPECT_EQ(note_label(), L"gamma");
    EXPECT_TRUE(file_exists(note_path(L"gamma.bin")));
    EXPECT_FALSE(file_exists(note_path(L"beta.bin")));
    EXPECT_EQ(journal_list_items(journal), (std::vector<std::wstring>{L"alpha", L"gamma"}));
    EXPECT_EQ(list_selection(), -1);

    // A name that would leave the notes folder is refused.
    rename_note(L"..\\outside");
    ASSERT_TRUE(status_becomes(L"Renaming 'gamma' to '..\\outside' failed"));
    EXPECT_TRUE(file_exists(note_path(L"gamma.bin")));
    EXPECT_FALSE(file_exists(journal.folder + L"outside.bin"));

    click(L"Delete");
    HWND question = journal_wait_box(L"Delete ('gamma')");
    ASSERT_NE(question, nullptr);
    EXPECT_EQ(box_message(question), L"Are you sure to delete 'gamma.bin'?");
    journal_answer(question, false);
    EXPECT_TRUE(file_exists(note_path(L"gamma.bin")));
    click(L"Delete");
    question = journal_wait_box(L"Delete ('gamma')");
    ASSERT_NE(question, nullptr);
    journal_answer(question, true);
    ASSERT_TRUE(status_becomes(L"Deleted 'gamma'"));
    EXPECT_FALSE(file_exists(note_path(L"gamma.bin")));
    EXPECT_EQ(note_label(), L"");
    EXPECT_EQ(journal_list_items(journal), std::vector<std::wstring>{L"alpha"});
    EXPECT_TRUE(wait_until([&] { return !IsWindowEnabled(button(L"Delete")) && !IsWindowEnabled(button(L"Rename")); }));
}

TEST_F(NotesTest, NewNoteRefusesBadNamesAndAsksBeforeOverwriting)
{
    start();
    set_password(L"pw");
    for (const wchar_t* bad : {L"CON", L"a:b", L"..", L"x*y"}) {
        new_note(bad);
        ASSERT_TRUE(status_becomes(std::wstring(L"Failed to add '") + bad + L"'")) << utf8_of(bad);
    }
    EXPECT_TRUE(journal_list_items(journal).empty());

    new_note(L"kept");
    ASSERT_TRUE(status_becomes(L"'kept' created"));
    journal_type(journal, L"keep me");
    click(L"Save Note");
    ASSERT_TRUE(status_becomes(L"'kept' saved"));
    const std::string saved = read_file_bytes(note_path(L"kept.bin"));

    new_note(L"kept");
    HWND question = journal_wait_box(L"New Note");
    ASSERT_NE(question, nullptr);
    EXPECT_EQ(box_message(question), L"File already exists. Overwrite 'kept.bin'?");
    journal_answer(question, false);
    ASSERT_TRUE(status_becomes(L"'kept' already exists"));
    EXPECT_EQ(read_file_bytes(note_path(L"kept.bin")), saved);
}

TEST_F(NotesTest, SaveWithoutNoteAsksForANameAndKeepsRtfTextAsTyped)
{
    start();
    set_password(L"pw");
    const std::wstring text = L"{\\rtf1 not formatting}";
    journal_click(journal, journal_part(journal, Part::TXT_NOTES));
    journal_type(journal, text);
    // No name: nothing is created.
    click(L"Save Note");
    ASSERT_TRUE(journal_enter_input(journal, L"New Note", L""));
    ASSERT_TRUE(status_becomes(L"'' not saved"));
    EXPECT_TRUE(journal_list_items(journal).empty());
    click(L"Save Note");
    ASSERT_TRUE(journal_enter_input(journal, L"New Note", L"plain"));
    ASSERT_TRUE(status_becomes(L"'plain' saved"));
    EXPECT_EQ(journal_list_items(journal), std::vector<std::wstring>{L"plain"});
    EXPECT_EQ(list_selection(), 0);

    click(L"Reload");
    ASSERT_TRUE(status_becomes(L"Loaded 'plain'"));
    EXPECT_EQ(note_text(), text);
}

TEST_F(NotesTest, ListShowsOnlyNoteFilesAndRefreshesFromItsMenu)
{
    CreateDirectoryW((journal.folder + L"quietnotes").c_str(), nullptr);
    for (const wchar_t* name : {L"b.bin", L"A.BIN", L"c.in", L"d", L"e.txt", L"f.bin.txt"})
        ASSERT_TRUE(write_file_bytes(note_path(name), "0123456789abcdef"));
    ASSERT_TRUE(CreateDirectoryW(note_path(L"folder.bin").c_str(), nullptr));
    start();
    EXPECT_EQ(journal_list_items(journal), (std::vector<std::wstring>{L"A", L"b"}));

    ASSERT_TRUE(write_file_bytes(note_path(L"c.bin"), ""));
    journal_right_click_item(journal, 0);
    ASSERT_TRUE(wait_until([&] { return FindWindowW(L"#32768", nullptr) != nullptr; }));
    journal_press(journal, VK_DOWN);
    journal_press(journal, VK_RETURN);
    EXPECT_TRUE(wait_until([&] { return journal_list_items(journal).size() == 3; }));
    EXPECT_EQ(journal_list_items(journal), (std::vector<std::wstring>{L"A", L"b", L"c"}));

    // A file shorter than one block is an empty note.
    set_password(L"pw");
    journal_double_click_item(journal, 2);
    ASSERT_TRUE(status_becomes(L"Loaded 'c'"));
    EXPECT_EQ(note_text(), L"");
}

// Sends WM_QUERYENDSESSION from another thread, as Windows does at log-off, and returns
// the answer; the calling thread answers the question meanwhile.
struct SessionQuery {
    std::atomic<LRESULT> answer{-1};
    std::atomic<bool> done{false};
    std::thread sender;

    explicit SessionQuery(HWND window)
        : sender([this, window] {
              answer = SendMessageW(window, WM_QUERYENDSESSION, 0, ENDSESSION_LOGOFF);
              done = true;
          })
    {
    }
    ~SessionQuery() { sender.join(); }
};

TEST_F(NotesTest, SessionEndWithUnsavedChangesAsksAndCanBeBlocked)
{
    start();
    set_password(L"pw");
    new_note(L"open");
    ASSERT_TRUE(status_becomes(L"'open' created"));
    journal_type(journal, L"unsaved");
    journal_show_page(journal, Page::STORY);
    {
        SessionQuery query(journal.window);
        HWND question = journal_wait_box(L"Unsaved Note ('open')");
        ASSERT_NE(question, nullptr);
        journal_answer(question, false);
        ASSERT_TRUE(wait_until([&] { return query.done.load(); }));
        EXPECT_EQ(query.answer, FALSE);
    }
    EXPECT_EQ(journal_current_tab(journal), 2);
    {
        SessionQuery query(journal.window);
        HWND question = journal_wait_box(L"Unsaved Note ('open')");
        ASSERT_NE(question, nullptr);
        journal_answer(question, true);
        ASSERT_TRUE(wait_until([&] { return query.done.load(); }));
        EXPECT_EQ(query.answer, TRUE);
    }
    click(L"Save Note");
    ASSERT_TRUE(status_becomes(L"'open' saved"));
    {
        SessionQuery query(journal.window);
        ASSERT_TRUE(wait_until([&] { return query.done.load(); }));
        EXPECT_EQ(query.answer, TRUE);
    }
}

TEST_F(NotesTest, EmptyPasswordLocksTheNotesAgain)
{
    start();
    set_password(L"pw");
    HWND label = journal_part(journal, Part::LBL_NOTES_STATE);
    EXPECT_TRUE(wait_until([&] { return window_shows_color(label, GREEN) && !window_shows_color(label, RED); }));
    EXPECT_TRUE(wait_until([&] { return IsWindowEnabled(button(L"New Note")) != FALSE; }));
    click(L"Set Password...");
    ASSERT_TRUE(journal_enter_input(journal, L"Notes Password", L""));
    ASSERT_TRUE(status_becomes(L"PWD not defined"));
    EXPECT_TRUE(wait_until([&] { return window_shows_color(label, RED) && !window_shows_color(label, GREEN); }));
    EXPECT_TRUE(wait_until([&] { return !IsWindowEnabled(button(L"New Note")); }));
}

TEST_F(NotesTest, UnsavedChangesAreQuestionedBeforeTheyAreLost)
{
    start();
    set_password(L"pw");
    for (const wchar_t* name : {L"one", L"two"}) {
        new_note(name);
        journal_type(journal, name);
        click(L"Save Note");
        ASSERT_TRUE(status_becomes(std::wstring(L"'") + name + L"' saved"));
    }
    journal_click(journal, journal_part(journal, Part::TXT_NOTES));
    journal_type(journal, L" changed");
    // Typed keys arrive a moment later on a busy machine.
    const std::wstring changed = L"two changed";
    ASSERT_TRUE(wait_until([&] { return note_text() == changed; })) << utf8_of(note_text());

    // The note already shown is not loaded again, so nothing is asked.
    journal_double_click_item(journal, 1);
    Sleep(300);
    EXPECT_EQ(FindWindowW(L"#32770", nullptr), nullptr);
    EXPECT_EQ(note_text(), changed);

    journal_double_click_item(journal, 0);
    HWND question = journal_wait_box(L"Load Note ('one')");
    ASSERT_NE(question, nullptr);
    EXPECT_EQ(box_message(question), L"Load 'one' and lose changes?");
    journal_answer(question, false);
    EXPECT_EQ(note_text(), changed);

    click(L"Reload");
    question = journal_wait_box(L"two");
    ASSERT_NE(question, nullptr);
    EXPECT_EQ(box_message(question), L"Reload 'two' and lose changes?");
    journal_answer(question, false);
    EXPECT_EQ(note_text(), changed);

    click(L"New Note");
    question = journal_wait_box(L"New Note");
    ASSERT_NE(question, nullptr);
    EXPECT_EQ(box_message(question), L"Continue and lose changes?");
    journal_answer(question, false);
    EXPECT_EQ(note_label(), L"two");

    journal_double_click_item(journal, 0);
    question = journal_wait_box(L"Load Note ('one')");
    ASSERT_NE(question, nullptr);
    journal_answer(question, true);
    ASSERT_TRUE(status_becomes(L"Loaded 'one'"));
    EXPECT_EQ(note_text(), L"one");
    // Loading clears the change mark: closing asks nothing.
    journal_close(journal);
    EXPECT_TRUE(journal_wait_exit(journal));
}

}  // namespace
