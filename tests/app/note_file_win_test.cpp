// Note files on a real disk: saving replaces the file in one step, failures at every
// write, flush and move keep the previous note and leave no temporary file, and only
// ".bin" files are listed.
#include "app/note_cipher.h"
#include "app/note_file.h"
#include "app/note_name.h"

#include "services/file.h"
#include "services/file_system_ops.h"

#include "journal_folder.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <string>
#include <vector>

namespace {

using Bytes = std::vector<std::uint8_t>;

class NoteFileTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(file_start()); }
    void TearDown() override
    {
        faults_remove();
        file_end();
    }

    // True when nothing but the note files named is in the folder.
    bool only(std::vector<std::u16string> expected)
    {
        std::vector<std::u16string> names = raw_names(folder.path);
        std::sort(names.begin(), names.end());
        std::sort(expected.begin(), expected.end());
        return names == expected;
    }

    JournalFolder folder;
};

std::string as_text(const Bytes& bytes)
{
    return std::string(bytes.begin(), bytes.end());
}

int locked_moves = 0;

BOOL WINAPI move_while_locked(LPCWSTR from, LPCWSTR to, DWORD flags)
{
    if (locked_moves > 0) {
        --locked_moves;
        SetLastError(ERROR_SHARING_VIOLATION);
        return FALSE;
    }
    return MoveFileExW(from, to, flags);
}

}  // namespace

TEST_F(NoteFileTest, SaveLoadAndReplace)
{
    Bytes data;
    EXPECT_FALSE(note_read_file(folder.path, u"diary", data));
    const Bytes first(100, 0x11);
    const Bytes second(300, 0x22);
    ASSERT_TRUE(note_write_file(folder.path, u"diary", first));
    ASSERT_TRUE(note_read_file(folder.path, u"diary", data));
    EXPECT_EQ(data, first);
    ASSERT_TRUE(note_write_file(folder.path, u"diary", second));
    ASSERT_TRUE(note_read_file(folder.path, u"diary", data));
    EXPECT_EQ(data, second);
    EXPECT_TRUE(only({u"diary.bin"}));

    // The empty file a new note starts as reads as no bytes, which is an empty note.
    ASSERT_TRUE(raw_write(folder / u"new.bin", ""));
    ASSERT_TRUE(note_read_file(folder.path, u"new", data));
    EXPECT_TRUE(data.empty());

    // A name that would leave the folder is refused before anything is touched.
    EXPECT_FALSE(note_write_file(folder.path, u"..\\escape", first));
    EXPECT_FALSE(note_write_file(folder.path, u"CON", first));
    EXPECT_FALSE(note_read_file(folder.path, u"a/b", data));
    EXPECT_TRUE(only({u"diary.bin", u"new.bin"}));
}

// A note file up to NOTE_READ_LIMIT bytes is read whole; a larger one is refused before
// anything is allocated for it, however large it claims to be.
TEST_F(NoteFileTest, FilesOverTheReadLimitAreRefused)
{
    const auto sized = [&](const char16_t* name, std::int64_t size) {
        HANDLE file = CreateFileW(reinterpret_cast<const wchar_t*>((folder / name).c_str()), GENERIC_WRITE, 0,
                                  nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
        LARGE_INTEGER at;
        at.QuadPart = size;
        const bool made = file != INVALID_HANDLE_VALUE && SetFilePointerEx(file, at, nullptr, FILE_BEGIN) &&
                          SetEndOfFile(file);
        CloseHandle(file);
        return made;
    };
    ASSERT_TRUE(sized(u"limit.bin", NOTE_READ_LIMIT));
    ASSERT_TRUE(sized(u"over.bin", NOTE_READ_LIMIT + 1));
    ASSERT_TRUE(sized(u"huge.bin", std::int64_t{3} << 30));
    Bytes data;
    ASSERT_TRUE(note_read_file(folder.path, u"limit", data));
    EXPECT_EQ(data.size(), static_cast<std::size_t>(NOTE_READ_LIMIT));
    Bytes kept = {1, 2, 3};
    EXPECT_FALSE(note_read_file(folder.path, u"over", kept));
    EXPECT_FALSE(note_read_file(folder.path, u"huge", kept));
    EXPECT_EQ(kept, (Bytes{1, 2, 3}));
    for (const char16_t* name : {u"limit.bin", u"over.bin", u"huge.bin"})
        sized(name, 0);
}

TEST_F(NoteFileTest, NoteTooLargeToReadIsNeverWritten)
{
    ASSERT_TRUE(raw_write(folder / u"big.bin", "old"));
    const Bytes over(static_cast<std::size_t>(NOTE_READ_LIMIT) + 1, 0x41);
    EXPECT_FALSE(note_write_file(folder.path, u"big", over));
    EXPECT_EQ(raw_read(folder / u"big.bin"), "old");
    EXPECT_TRUE(only({u"big.bin"}));
}

TEST_F(NoteFileTest, EncryptedNoteRoundTrip)
{
    NoteKey key{};
    ASSERT_TRUE(note_derive_key(u"pass \U0001F511", key));
    const std::u16string text = u"line one\r\nline \u00E9 \U0001F600";
    Bytes data;
    ASSERT_EQ(note_encrypt_text(key, text, data), NoteEncryptResult::OK);
    ASSERT_TRUE(note_write_file(folder.path, u"secret", data));
    Bytes read;
    std::u16string loaded;
    ASSERT_TRUE(note_read_file(folder.path, u"secret", read));
    ASSERT_TRUE(note_decrypt_text(key, read, loaded));
    EXPECT_EQ(loaded, text);
}

TEST_F(NoteFileTest, FailedSaveKeepsThePreviousNote)
{
    const Bytes old_note(200, 0x0A);
    for (const Bytes& note : {Bytes(64, 0x5B), Bytes(9000, 0x5C)}) {
        for (bool existed : {true, false}) {
            for (int fail_at = 1;; ++fail_at) {
                SCOPED_TRACE("operation " + std::to_string(fail_at));
                if (existed)
                    ASSERT_TRUE(raw_write(folder / u"n.bin", as_text(old_note)));
                else
                    DeleteFileW(reinterpret_cast<const wchar_t*>((folder / u"n.bin").c_str()));
                faults_install(fail_at);
                const bool ok = note_write_file(folder.path, u"n", note);
                faults_remove();
                if (!faults_struck()) {
                    ASSERT_TRUE(ok);
                    EXPECT_EQ(raw_read(folder / u"n.bin"), as_text(note));
                    EXPECT_TRUE(only({u"n.bin"}));
                    EXPECT_GE(fail_at, 4);  // write, flush and move were each failed once
                    break;
                }
                EXPECT_FALSE(ok);
                EXPECT_EQ(raw_read(folder / u"n.bin"), existed ? as_text(old_note) : std::string());
                EXPECT_TRUE(only(existed ? std::vector<std::u16string>{u"n.bin"} : std::vector<std::u16string>{}));
            }
        }
    }
}

TEST_F(NoteFileTest, ReplacingWaitsForALockedNote)
{
    ASSERT_TRUE(raw_write(folder / u"n.bin", "old"));
    const FileSystemOps ops = {nullptr, nullptr, move_while_locked};
    file_set_system_ops(&ops);
    locked_moves = 2;
    EXPECT_TRUE(note_write_file(folder.path, u"n", Bytes(64, 1)));
    EXPECT_EQ(raw_read(folder / u"n.bin"), std::string(64, 1));

    // Held for good: the save gives up, and the old note stays.
    locked_moves = 1000;
    EXPECT_FALSE(note_write_file(folder.path, u"n", Bytes(64, 2)));
    EXPECT_EQ(raw_read(folder / u"n.bin"), std::string(64, 1));
    EXPECT_TRUE(only({u"n.bin"}));
}

TEST_F(NoteFileTest, OnlyBinFilesAreNotes)
{
    for (const char16_t* name : {u"b.bin", u"A.BIN", u"~c.bin.tmp", u"d.in", u"e", u"f.binx", u"Time-001.txt"})
        ASSERT_TRUE(raw_write(folder / name, "x"));
    ASSERT_TRUE(CreateDirectoryW(reinterpret_cast<const wchar_t*>((folder / u"folder.bin").c_str()), nullptr));
    EXPECT_EQ(note_list(folder.path), (std::vector<std::u16string>{u"A", u"b"}));
    EXPECT_TRUE(note_list(folder / u"missing\\").empty());
}
