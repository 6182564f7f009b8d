// Saving under faults, driven through the real program: the process killed in the middle
// of a large note save, and a disk that is really full while posting and saving.
#include "journal_helpers.h"

#include "app/note_cipher.h"
#include "app/note_key.h"

#include <gtest/gtest.h>

#include <cstdint>

namespace {

constexpr COLORREF RED = RGB(255, 0, 0);
constexpr std::size_t HEADER_LENGTH = 51 + 2 + 19 + 1;
const std::wstring PASSWORD = L"fault \U0001F511 pw";

// A long text as a person pastes it, in paragraphs of a few hundred characters: under
// Wine, rich edit's time to take in one pasted paragraph grows fast with its length.
std::wstring long_text(std::size_t paragraphs, std::size_t paragraph_length, const std::wstring& word)
{
    std::wstring text;
    for (std::size_t p = 0; p < paragraphs; ++p) {
        if (p > 0)
            text += L"\r\n";
        std::wstring paragraph = L"Paragraph " + std::to_wstring(p + 1) + L":";
        while (paragraph.size() < paragraph_length)
            paragraph += L" " + word;
        paragraph.resize(paragraph_length);
        text += paragraph;
    }
    return text;
}

// The text a note file holds under the password; false when it does not decrypt.
bool note_file_text(const std::string& bytes, std::wstring& text)
{
    NoteKey key = {};
    if (!note_derive_key(std::u16string(PASSWORD.begin(), PASSWORD.end()), key))
        return false;
    std::u16string decrypted;
    if (!note_decrypt_text(key, std::vector<std::uint8_t>(bytes.begin(), bytes.end()), decrypted))
        return false;
    text.assign(decrypted.begin(), decrypted.end());
    return true;
}

// Moments of a save at which a round kills the program instead of after a delay.
constexpr int WHEN_TEMPORARY_MADE = -1;
constexpr int WHEN_TEMPORARY_WRITTEN = -2;

// Returns as soon as the file exists with at least `size` bytes, or after 10 s; it
// polls without pausing so as to catch the moment.
void watch_file_size(const std::wstring& path, std::int64_t size)
{
    const DWORD start = GetTickCount();
    while (GetTickCount() - start < 10000) {
        WIN32_FILE_ATTRIBUTE_DATA data = {};
        if (GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data)
            && (static_cast<std::int64_t>(data.nFileSizeHigh) << 32 | data.nFileSizeLow) >= size)
            return;
    }
}

// The names in a folder, "." and ".." left out.
std::vector<std::wstring> folder_entries(const std::wstring& folder)
{
    std::vector<std::wstring> names;
    WIN32_FIND_DATAW entry = {};
    HANDLE scan = FindFirstFileW((folder + L"*").c_str(), &entry);
    if (scan == INVALID_HANDLE_VALUE)
        return names;
    do {
        const std::wstring name = entry.cFileName;
        if (name != L"." && name != L"..")
            names.push_back(name);
    } while (FindNextFileW(scan, &entry));
    FindClose(scan);
    return names;
}

class FaultTest : public ::testing::Test {
protected:
    void TearDown() override
    {
        journal_stop(journal);
        journal_remove_folder(journal.folder);
    }

    std::wstring note_path(const std::wstring& name) const { return journal.folder + L"quietnotes\\" + name + L".bin"; }
    std::wstring temporary_path(const std::wstring& name) const
    {
        return journal.folder + L"quietnotes\\~" + name + L".bin.tmp";
    }
    std::wstring time_file_path() const { return journal.folder + L"quietstory\\Time-001.txt"; }

    void start() { ASSERT_TRUE(journal_start(journal)); }

    std::wstring notes_status() const { return window_text(journal_part(journal, Part::LBL_NOTES_STATE)); }

    // Save Note succeeds: the file holds the text and no temporary file is left.
    void expect_saved(const std::wstring& name, const std::wstring& expected)
    {
        click(L"Save Note");
        ASSERT_TRUE(notes_status_becomes(L"'" + name + L"' saved"));
        std::wstring text;
        ASSERT_TRUE(note_file_text(read_file_bytes(note_path(name)), text));
        EXPECT_EQ(text, expected);
        EXPECT_FALSE(file_exists(temporary_path(name)));
    }

    bool notes_status_becomes(const std::wstring& text) const
    {
        return wait_until([&] { return notes_status() == text; });
    }

    // Clicks a Notes button once the button-state timer has enabled it.
    void click(const wchar_t* text, int settle_ms = 30)
    {
        HWND target = journal_button(journal, Page::NOTES, text);
        ASSERT_NE(target, nullptr) << text;
        ASSERT_TRUE(wait_until([&] { return IsWindowEnabled(target) != FALSE; })) << text;
        journal_click(journal, target, settle_ms);
    }

    void open_notes_with_password()
    {
        journal_show_page(journal, Page::NOTES);
        ASSERT_EQ(journal_current_tab(journal), 2);
        click(L"Set Password...");
        ASSERT_TRUE(journal_enter_input(journal, L"Notes Password", PASSWORD));
        ASSERT_TRUE(notes_status_becomes(L"PWD defined"));
    }

    void create_note(const std::wstring& name, const std::wstring& text)
    {
        click(L"New Note");
        ASSERT_TRUE(journal_enter_input(journal, L"New Note", name));
        ASSERT_TRUE(notes_status_becomes(L"'" + name + L"' created"));
        journal_type(journal, text);
        click(L"Save Note");
        ASSERT_TRUE(notes_status_becomes(L"'" + name + L"' saved"));
    }

    // Clicks into the editor, selects its whole text with Ctrl+A and pastes the new text over it.
    void replace_text_by_paste(HWND editor, const std::wstring& text)
    {
        journal_click(journal, editor);
        journal_press(journal, 'A', true);
        ASSERT_TRUE(journal_paste(journal, text));
        ASSERT_TRUE(wait_until([&] { return window_text(editor) == text; }, 30000))
            << window_text(editor).size() << " of " << text.size() << " characters";
    }

    Journal journal;
};

// Each round starts from the saved short text, replaces it by a long one, clicks "Save
// Note" and kills the program: after a fixed delay, or at a moment of the save seen on
// disk (the temporary file made, the temporary file written whole). The note file must
// always hold one of the two texts whole.
TEST_F(FaultTest, KilledDuringALargeSaveLeavesTheOldOrTheNewNoteWhole)
{
    const std::wstring name = L"Ledger";
    const std::wstring old_text = L"Old text \U0001F600 that must survive";
    // About 300 KiB in the note file.
    const std::wstring new_text = long_text(500, 300, L"ledger\u00E9");
    const std::int64_t new_file_size = 2 * static_cast<std::int64_t>(new_text.size()) + NOTE_PADDING_MIN;
    journal.folder = journal_new_folder();
    ASSERT_FALSE(journal.folder.empty());
    start();
    open_notes_with_password();
    create_note(name, old_text);
    const std::string old_file = read_file_bytes(note_path(name));
    std::wstring stored;
    ASSERT_TRUE(note_file_text(old_file, stored));
    ASSERT_EQ(stored, old_text);
    journal_stop(journal);

    for (int delay : {WHEN_TEMPORARY_MADE, WHEN_TEMPORARY_WRITTEN, 0, 1, 2, 5, 10, 20, 40}) {
        SCOPED_TRACE(delay == WHEN_TEMPORARY_MADE      ? "killed once the temporary file is made"
                     : delay == WHEN_TEMPORARY_WRITTEN ? "killed once the temporary file is written"
                                                       : "killed " + std::to_string(delay) + " ms after the click");
        ASSERT_TRUE(write_file_bytes(note_path(name), old_file));
        start();
        // A temporary file left by the previous round is never listed.
        EXPECT_EQ(journal_list_items(journal), std::vector<std::wstring>{name});
        open_notes_with_password();
        journal_double_click_item(journal, 0);
        ASSERT_TRUE(notes_status_becomes(L"Loaded '" + name + L"'"));
        replace_text_by_paste(journal_part(journal, Part::TXT_NOTES), new_text);

        DeleteFileW(temporary_path(name).c_str());
        click(L"Save Note", 0);
        if (delay == WHEN_TEMPORARY_MADE)
            watch_file_size(temporary_path(name), 0);
        else if (delay == WHEN_TEMPORARY_WRITTEN)
            watch_file_size(temporary_path(name), new_file_size);
        else
            Sleep(static_cast<DWORD>(delay));
        TerminateProcess(journal.process.hProcess, 1);
        journal_stop(journal);

        const std::string file = read_file_bytes(note_path(name));
        std::wstring text;
        ASSERT_TRUE(note_file_text(file, text)) << file.size() << " bytes";
        EXPECT_TRUE(text == old_text || text == new_text)
            << file.size() << " bytes holding " << text.size() << " characters";
    }

    // A following save still works and leaves no temporary file behind.
    start();
    EXPECT_EQ(journal_list_items(journal), std::vector<std::wstring>{name});
    open_notes_with_password();
    journal_double_click_item(journal, 0);
    ASSERT_TRUE(notes_status_becomes(L"Loaded '" + name + L"'"));
    const std::wstring last_text = L"Written after the kills";
    replace_text_by_paste(journal_part(journal, Part::TXT_NOTES), last_text);
    expect_saved(name, last_text);
}

// A drive whose free space the test takes up with a filler file: a small tmpfs that
// cmake/with-full-disk mounts and names in QN_FULL_DISK. The journal's folder, filler
// included, is on it and goes at the end of each test.
class FullDiskTest : public FaultTest {
protected:
    void SetUp() override
    {
        wchar_t value[MAX_PATH] = {};
        const DWORD length = GetEnvironmentVariableW(L"QN_FULL_DISK", value, MAX_PATH);
        if (length == 0 || length >= MAX_PATH)
            GTEST_SKIP() << "QN_FULL_DISK names no drive: run through cmake/with-full-disk as root to mount one";
        drive = value;
        if (drive.back() != L'\\')
            drive += L'\\';
        // An earlier test's copy of the program is deleted, but its space comes back only
        // once Wine has let go of the image, a moment after the process ended.
        ASSERT_TRUE(wait_until([&] { return free_bytes() == total_bytes(); }))
            << free_bytes() << " of " << total_bytes() << " bytes free on " << utf8_of(drive);
        journal.folder = journal_new_folder(drive);
        ASSERT_FALSE(journal.folder.empty()) << "no room for the program on " << utf8_of(drive);
        filler = journal.folder + L"filler.bin";
    }

    std::uint64_t free_bytes() const
    {
        ULARGE_INTEGER available = {};
        GetDiskFreeSpaceExW(drive.c_str(), &available, nullptr, nullptr);
        return available.QuadPart;
    }

    std::uint64_t total_bytes() const
    {
        ULARGE_INTEGER total = {};
        GetDiskFreeSpaceExW(drive.c_str(), nullptr, &total, nullptr);
        return total.QuadPart;
    }

    // Leaves FREE_LEFT bytes of the drive free: the filler takes the rest.
    void fill_disk()
    {
        const std::uint64_t free = free_bytes();
        ASSERT_GT(free, FREE_LEFT);
        HANDLE file = CreateFileW(filler.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
        ASSERT_NE(file, INVALID_HANDLE_VALUE);
        const std::string chunk(1 << 16, 'f');
        for (std::uint64_t left = free - FREE_LEFT; left > 0;) {
            const DWORD size = static_cast<DWORD>(left < chunk.size() ? left : chunk.size());
            DWORD written = 0;
            if (!WriteFile(file, chunk.data(), size, &written, nullptr) || written == 0)
                break;
            left -= written;
        }
        CloseHandle(file);
        ASSERT_LE(free_bytes(), FREE_LEFT);
    }

    void free_disk() { ASSERT_TRUE(DeleteFileW(filler.c_str())); }

    static constexpr std::uint64_t FREE_LEFT = 8192;
    std::wstring drive;
    std::wstring filler;
};

TEST_F(FullDiskTest, PostRefusedOnAFullDiskLeavesTheTimeFileAndSucceedsOnceThereIsRoom)
{
    start();
    HWND editor = journal_part(journal, Part::TXT_EDIT);
    HWND state = journal_part(journal, Part::LBL_EDIT_STATE);
    journal_type(journal, L"An earlier day");
    journal_press(journal, VK_RETURN, true);
    ASSERT_TRUE(wait_until([&] { return journal_current_tab(journal) == 1; }));
    const std::string before = read_file_bytes(time_file_path());
    ASSERT_NE(story_file_text(time_file_path()).find(L"An earlier day"), std::wstring::npos);

    fill_disk();
    // Larger than the free space and the room left in the time file's last page.
    const std::wstring post = long_text(100, 400, L"diary");
    journal_show_page(journal, Page::EDIT);
    replace_text_by_paste(editor, post);
    journal_press(journal, VK_RETURN, true);
    ASSERT_TRUE(wait_until([&] { return window_text(state) == L"ERROR"; }));
    EXPECT_TRUE(wait_until([&] { return window_shows_color(state, RED); }));
    EXPECT_EQ(read_file_bytes(time_file_path()), before);
    EXPECT_EQ(window_text(editor), post);
    EXPECT_EQ(journal_current_tab(journal), 0);

    // With room again the same post goes in, on top of the earlier one.
    free_disk();
    journal_press(journal, VK_RETURN, true);
    ASSERT_TRUE(wait_until([&] { return journal_current_tab(journal) == 1; }));
    EXPECT_TRUE(wait_until([&] { return window_text(state).empty(); }));
    const std::string after = read_file_bytes(time_file_path());
    EXPECT_EQ(after.substr(0, before.size()), before);
    const std::wstring stored = story_file_text(time_file_path());
    EXPECT_EQ(stored.find(post), HEADER_LENGTH + 4);
    const std::wstring viewer = window_text(journal_part(journal, Part::TXT_STORY));
    EXPECT_EQ(without_cr(viewer), without_cr(stored));
    EXPECT_TRUE(window_text(editor).empty());
}

TEST_F(FullDiskTest, NoteSaveRefusedOnAFullDiskKeepsTheOldFileAndSucceedsOnceThereIsRoom)
{
    const std::wstring name = L"Plan";
    start();
    open_notes_with_password();
    create_note(name, L"a short plan");
    const std::string saved = read_file_bytes(note_path(name));

    fill_disk();
    // Its file is larger than the free space.
    const std::wstring larger = long_text(50, 400, L"plan");
    HWND editor = journal_part(journal, Part::TXT_NOTES);
    replace_text_by_paste(editor, larger);
    click(L"Save Note");
    ASSERT_TRUE(notes_status_becomes(L"'" + name + L"' not saved"));
    EXPECT_TRUE(wait_until([&] { return window_shows_color(journal_part(journal, Part::LBL_NOTES_STATE), RED); }));
    EXPECT_EQ(read_file_bytes(note_path(name)), saved);
    EXPECT_EQ(folder_entries(journal.folder + L"quietnotes\\"), std::vector<std::wstring>{name + L".bin"});
    EXPECT_EQ(window_text(editor), larger);
    // The list, read again from the folder through its menu, shows no temporary file.
    journal_right_click_item(journal, 0);
    ASSERT_TRUE(journal_choose_menu_item(0));
    EXPECT_EQ(journal_list_items(journal), std::vector<std::wstring>{name});

    free_disk();
    expect_saved(name, larger);
}

}  // namespace
