// The notes driven through the real program: the password, creating, saving, loading,
// renaming and deleting notes, the list, and leaving with unsaved changes.
#include "journal_fixture.h"

#include "app/note_cipher.h"
#include "app/note_key.h"

#include <gtest/gtest.h>

#include <ole2.h>
#include <richedit.h>

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

class NotesTest : public JournalTest {
protected:
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
    // A name outside ASCII, which the platform's file names take only under a UTF-8 locale.
    new_note(L"Caf\u00E9");
    ASSERT_TRUE(status_becomes(L"'Caf\u00E9' created"));
    EXPECT_EQ(note_label(), L"Caf\u00E9");
    EXPECT_EQ(journal_list_items(journal), std::vector<std::wstring>{L"Caf\u00E9"});
    EXPECT_EQ(list_selection(), 0);
    EXPECT_EQ(read_file_bytes(note_path(L"Caf\u00E9.bin")).size(), 0u);

    const std::wstring text = L"Hello \U0001F600 world\r\nline 2";
    journal_type(journal, L"Hello \U0001F600 world\nline 2");
    ASSERT_TRUE(wait_until([&] { return note_text() == text; }));
    click(L"Save Note");
    ASSERT_TRUE(status_becomes(L"'Caf\u00E9' saved"));
    const std::string saved = read_file_bytes(note_path(L"Caf\u00E9.bin"));
    EXPECT_GE(saved.size(), 2 * text.size() + 64 - 2);
    EXPECT_LE(saved.size(), 2 * text.size() + 128);

    // Unsaved changes: No keeps the program on the Notes tab, Yes ends it without writing.
    journal_click(journal, journal_part(journal, Part::TXT_NOTES));
    journal_type(journal, L" more");
    journal_show_page(journal, Page::EDIT);
    journal_close(journal);
    HWND question = journal_wait_box(L"Unsaved Note ('Caf\u00E9')");
    ASSERT_NE(question, nullptr);
    EXPECT_EQ(box_message(question), L"Quit and lose changes?");
    journal_answer(question, false);
    EXPECT_TRUE(wait_until([&] { return journal_current_tab(journal) == 2; }));
    EXPECT_FALSE(journal_wait_exit(journal, 500));
    journal_close(journal);
    question = journal_wait_box(L"Unsaved Note ('Caf\u00E9')");
    ASSERT_NE(question, nullptr);
    journal_answer(question, true);
    ASSERT_TRUE(journal_wait_exit(journal));
    EXPECT_EQ(read_file_bytes(note_path(L"Caf\u00E9.bin")), saved);

    // A new run loads the note under the same password.
    journal_stop(journal);
    start();
    EXPECT_EQ(journal_list_items(journal), std::vector<std::wstring>{L"Caf\u00E9"});
    set_password(password);
    journal_double_click_item(journal, 0);
    ASSERT_TRUE(status_becomes(L"Loaded 'Caf\u00E9'"));
    EXPECT_EQ(note_text(), text);
    EXPECT_EQ(note_label(), L"Caf\u00E9");

}

// The file is made here with the journal's own note format. A wrong password is refused
// before anything is shown, so nothing unreadable can be saved over the note, and the
// editor keeps the unsaved text it had.
TEST_F(NotesTest, WrongPasswordIsRefusedAndTheNoteKept)
{
    const std::u16string secret = u"Meet at noon by the old mill";
    NoteKey key = {};
    ASSERT_TRUE(note_derive_key(u"right one", key));
    std::vector<std::uint8_t> data;
    ASSERT_EQ(note_encrypt_text(key, secret, data), NoteEncryptResult::OK);
    CreateDirectoryW((journal.folder + L"quietnotes").c_str(), nullptr);
    const std::string stored(data.begin(), data.end());
    ASSERT_TRUE(write_file_bytes(note_path(L"mill.bin"), stored));

    start();
    set_password(L"wrong one");
    journal_click(journal, journal_part(journal, Part::TXT_NOTES));
    journal_type(journal, L"draft");
    ASSERT_TRUE(wait_until([&] { return note_text() == L"draft"; }));
    const std::wstring label = note_label();
    journal_double_click_item(journal, 0);
    HWND question = journal_wait_box(L"Load Note ('mill')");
    ASSERT_NE(question, nullptr);
    journal_answer(question, true);
    ASSERT_TRUE(status_becomes(L"Failed to decrypt 'mill'"));
    EXPECT_TRUE(wait_until([&] { return window_shows_color(journal_part(journal, Part::LBL_NOTES_STATE), RED); }));
    EXPECT_EQ(note_text(), L"draft");
    EXPECT_EQ(note_label(), label);
    // Still no current note, and the draft still counts as changed.
    click(L"New Note");
    question = journal_wait_box(L"New Note");
    ASSERT_NE(question, nullptr);
    EXPECT_EQ(box_message(question), L"Continue and lose changes?");
    journal_answer(question, false);
    EXPECT_EQ(read_file_bytes(note_path(L"mill.bin")), stored);

    set_password(L"right one");
    journal_double_click_item(journal, 0);
    question = journal_wait_box(L"Load Note ('mill')");
    ASSERT_NE(question, nullptr);
    journal_answer(question, true);
    ASSERT_TRUE(status_becomes(L"Loaded 'mill'"));
    EXPECT_EQ(note_text(), std::wstring(secret.begin(), secret.end()));
}

// Copies rich text (bold and coloured) from a rich edit of this process to the clipboard,
// as a person copies from another program; false when that fails.
bool copy_rich_text()
{
    // Rich edit puts its formats on the clipboard through OLE.
    if (FAILED(OleInitialize(nullptr)) || !LoadLibraryW(L"RICHED20.DLL"))
        return false;
    HWND source = CreateWindowExW(0, L"RichEdit20W", L"", ES_MULTILINE, 0, 0, 200, 100, nullptr, nullptr,
                                  GetModuleHandleW(nullptr), nullptr);
    if (!source)
        return false;
    SETTEXTEX rich = {ST_DEFAULT, CP_ACP};
    const char rtf[] = "{\\rtf1\\ansi{\\colortbl;\\red255\\green0\\blue0;}{\\b\\cf1 Bold red} pasted}";
    SendMessageW(source, EM_SETTEXTEX, reinterpret_cast<WPARAM>(&rich), reinterpret_cast<LPARAM>(rtf));
    SendMessageW(source, EM_SETSEL, 0, -1);
    SendMessageW(source, WM_COPY, 0, 0);
    // Renders every format now: this thread does not pump messages while the program pastes.
    OleFlushClipboard();
    DestroyWindow(source);
    return IsClipboardFormatAvailable(RegisterClipboardFormatW(L"Rich Text Format")) != FALSE;
}

// Edits the program cannot merge into one: single replacements of the selection.
int undo_steps_available(HWND editor, int edits)
{
    for (int i = 0; i < edits; ++i) {
        SendMessageW(editor, EM_SETSEL, 0, 0);
        SendMessageW(editor, EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(L"u"));
    }
    int undone = 0;
    while (undone < edits && SendMessageW(editor, EM_CANUNDO, 0, 0) && SendMessageW(editor, EM_UNDO, 0, 0))
        ++undone;
    return undone;
}

// A long note moves the editor to a new platform window; that window still takes plain
// text only (pasted formatting is dropped) and keeps the long undo history.
TEST_F(NotesTest, LongNoteKeepsTheEditorPlainWithItsUndoHistory)
{
    std::u16string long_text;
    while (long_text.size() < 100000)
        long_text += u"A long day at the mill, written down line by line.\r\n";
    NoteKey key = {};
    ASSERT_TRUE(note_derive_key(u"pw", key));
    CreateDirectoryW((journal.folder + L"quietnotes").c_str(), nullptr);
    for (const auto& [name, text] : {std::pair<const wchar_t*, std::u16string>{L"big.bin", long_text},
                                     std::pair<const wchar_t*, std::u16string>{L"small.bin", u"small"}}) {
        std::vector<std::uint8_t> data;
        ASSERT_EQ(note_encrypt_text(key, text, data), NoteEncryptResult::OK);
        ASSERT_TRUE(write_file_bytes(note_path(name), std::string(data.begin(), data.end())));
    }

    start();
    set_password(L"pw");
    HWND before = journal_part(journal, Part::TXT_NOTES);
    journal_double_click_item(journal, 0);
    ASSERT_TRUE(status_becomes(L"Loaded 'big'"));
    EXPECT_GE(note_text().size(), 100000u);
    journal_double_click_item(journal, 1);
    ASSERT_TRUE(status_becomes(L"Loaded 'small'"));
    HWND editor = journal_part(journal, Part::TXT_NOTES);
    ASSERT_NE(editor, before);  // the long text was replaced through a new window

    ASSERT_TRUE(copy_rich_text());
    journal_click(journal, editor);
    journal_press(journal, VK_END, true);
    journal_press(journal, 'V', true);
    ASSERT_TRUE(wait_until([&] { return note_text().find(L"Bold red pasted") != std::wstring::npos; }))
        << utf8_of(note_text());
    EXPECT_EQ(SendMessageW(editor, EM_GETTEXTMODE, 0, 0) & TM_PLAINTEXT, TM_PLAINTEXT);
    // The platform's default history holds 100 steps; the journal's holds far more.
    const std::wstring pasted = note_text();
    EXPECT_EQ(undo_steps_available(editor, 150), 150);
    EXPECT_EQ(note_text(), pasted);
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

    // Yes empties the file (through the safe write) and the editor.
    new_note(L"kept");
    question = journal_wait_box(L"New Note");
    ASSERT_NE(question, nullptr);
    journal_answer(question, true);
    ASSERT_TRUE(status_becomes(L"'kept' created"));
    EXPECT_TRUE(wait_until([&] { return note_text().empty(); }));
    EXPECT_EQ(read_file_bytes(note_path(L"kept.bin")), "");
    EXPECT_FALSE(file_exists(note_path(L"~kept.bin.tmp")));
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

// Saving without a current note over an existing file, answered Yes: only the safe write
// touches the old file, so when that write fails (a folder sits where its temporary file
// goes) the old note is whole, and the next save succeeds under the new name.
TEST_F(NotesTest, SaveOverAnExistingNoteKeepsItWhenTheWriteFails)
{
    NoteKey key = {};
    ASSERT_TRUE(note_derive_key(u"pw", key));
    std::vector<std::uint8_t> data;
    ASSERT_EQ(note_encrypt_text(key, u"old words", data), NoteEncryptResult::OK);
    CreateDirectoryW((journal.folder + L"quietnotes").c_str(), nullptr);
    const std::string stored(data.begin(), data.end());
    ASSERT_TRUE(write_file_bytes(note_path(L"kept.bin"), stored));
    const std::wstring blocker = note_path(L"~kept.bin.tmp");
    ASSERT_TRUE(CreateDirectoryW(blocker.c_str(), nullptr));

    start();
    set_password(L"pw");
    journal_click(journal, journal_part(journal, Part::TXT_NOTES));
    journal_type(journal, L"new words");
    click(L"Save Note");
    ASSERT_TRUE(journal_enter_input(journal, L"New Note", L"kept"));
    HWND question = journal_wait_box(L"New Note");
    ASSERT_NE(question, nullptr);
    EXPECT_EQ(box_message(question), L"File already exists. Overwrite 'kept.bin'?");
    journal_answer(question, true);
    ASSERT_TRUE(status_becomes(L"'kept' not saved"));
    EXPECT_EQ(read_file_bytes(note_path(L"kept.bin")), stored);
    EXPECT_EQ(note_label(), L"kept");

    ASSERT_TRUE(RemoveDirectoryW(blocker.c_str()));
    click(L"Save Note");
    ASSERT_TRUE(status_becomes(L"'kept' saved"));
    const std::string saved = read_file_bytes(note_path(L"kept.bin"));
    std::u16string text;
    ASSERT_TRUE(note_decrypt_text(key, std::vector<std::uint8_t>(saved.begin(), saved.end()), text));
    EXPECT_EQ(text, u"new words");
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
    ASSERT_TRUE(journal_choose_menu_item(0));
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

// An empty entry drops the key: nothing can be opened or saved until a password is given
// again, and the same password then opens the note as before.
TEST_F(NotesTest, EmptyPasswordLocksTheNotesAgain)
{
    NoteKey key = {};
    ASSERT_TRUE(note_derive_key(u"pw", key));
    std::vector<std::uint8_t> data;
    ASSERT_EQ(note_encrypt_text(key, u"locked words", data), NoteEncryptResult::OK);
    CreateDirectoryW((journal.folder + L"quietnotes").c_str(), nullptr);
    const std::string stored(data.begin(), data.end());
    ASSERT_TRUE(write_file_bytes(note_path(L"locked.bin"), stored));

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
    EXPECT_TRUE(wait_until([&] { return !IsWindowEnabled(button(L"Save Note")); }));

    // Cleared here, so that the refusal of the open shows as a new message.
    SetWindowTextW(label, L"");
    journal_double_click_item(journal, 0);
    ASSERT_TRUE(status_becomes(L"PWD not defined"));
    EXPECT_EQ(note_text(), L"");
    EXPECT_EQ(read_file_bytes(note_path(L"locked.bin")), stored);

    set_password(L"pw");
    journal_double_click_item(journal, 0);
    ASSERT_TRUE(status_becomes(L"Loaded 'locked'"));
    EXPECT_EQ(note_text(), L"locked words");
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
