#include "services/file.h"
#include "services/file_system_ops.h"
#include "services/folder.h"

#include "tests/support/temp_folder.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <map>
#include <string>

namespace {

class FolderTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(file_start()); }
    void TearDown() override
    {
        file_set_system_ops(nullptr);
        file_end();
    }

    // Every entry of a scan, by name, with its type.
    std::map<std::u16string, std::int32_t> scan_all(ObjectNumber scan)
    {
        std::map<std::u16string, std::int32_t> entries;
        while (dir_next_entry(scan))
            entries[dir_entry_name(scan)] = dir_entry_type(scan);
        return entries;
    }

    TempFolder folder;
};

// A drive letter that names no drive, for the root tests.
std::u16string unused_drive()
{
    DWORD drives = GetLogicalDrives();
    for (int letter = 25; letter >= 3; --letter) {
        if (!(drives & (1u << letter)))
            return std::u16string(1, static_cast<char16_t>(u'A' + letter)) + u":";
    }
    return u"";
}

}  // namespace

TEST_F(FolderTest, ScanListsFilesAndFolders)
{
    ASSERT_TRUE(raw_write(folder / u"a.txt", "a"));
    ASSERT_TRUE(raw_write(folder / u"b.bin", "bb"));
    ASSERT_TRUE(dir_create((folder / u"sub").c_str()));
    ObjectNumber scan = dir_examine(GK_ANY, folder.path.c_str(), nullptr);
    ASSERT_NE(scan, 0);
    EXPECT_EQ(dir_entry_type(scan), 0);  // nothing handed out yet
    EXPECT_EQ(dir_entry_name(scan), u"");
    const std::map<std::u16string, std::int32_t> expected = {
        {u".", ENTRY_DIRECTORY}, {u"..", ENTRY_DIRECTORY}, {u"a.txt", ENTRY_FILE},
        {u"b.bin", ENTRY_FILE},  {u"sub", ENTRY_DIRECTORY},
    };
    EXPECT_EQ(scan_all(scan), expected);
    EXPECT_FALSE(dir_next_entry(scan));
    dir_finish(scan);
    EXPECT_FALSE(dir_next_entry(scan));
    EXPECT_EQ(dir_entry_name(scan), u"");

    // A folder path without the final backslash, a pattern, and a fixed number.
    std::u16string bare = folder.path.substr(0, folder.path.size() - 1);
    ASSERT_NE(dir_examine(3, bare.c_str(), u"*.txt"), 0);
    EXPECT_EQ(scan_all(3), (std::map<std::u16string, std::int32_t>{{u"a.txt", ENTRY_FILE}}));
    ASSERT_NE(dir_examine(3, folder.path.c_str(), u""), 0);  // reuses the number
    EXPECT_EQ(scan_all(3).size(), 5u);
}

TEST_F(FolderTest, ScanOfNothing)
{
    ObjectNumber empty = dir_examine(GK_ANY, folder.path.c_str(), u"*.none");
    ASSERT_NE(empty, 0);
    EXPECT_FALSE(dir_next_entry(empty));
    EXPECT_EQ(dir_entry_type(empty), 0);
    dir_finish(empty);
    EXPECT_EQ(dir_examine(GK_ANY, (folder / u"missing").c_str(), nullptr), 0);
    EXPECT_EQ(dir_examine(5, (folder / u"missing").c_str(), nullptr), 0);
    EXPECT_FALSE(dir_next_entry(5));
    const ObjectNumber unknown[] = {0, 5, 77, GK_ANY, -3, 0x12345678};
    for (ObjectNumber number : unknown) {
        EXPECT_FALSE(dir_next_entry(number));
        EXPECT_EQ(dir_entry_type(number), 0);
        EXPECT_EQ(dir_entry_name(number), u"");
    }
    dir_finish(77);
    EXPECT_EQ(dir_examine(-2, folder.path.c_str(), nullptr), 0);
}

// A failed scan with a new number gives its record back.
TEST_F(FolderTest, FailedScansLeaveNoRecord)
{
    const std::u16string missing = folder / u"missing";
    const std::size_t before = dir_dynamic_records();
    for (int i = 0; i < 1000; ++i)
        ASSERT_EQ(dir_examine(GK_ANY, missing.c_str(), nullptr), 0);
    EXPECT_EQ(dir_dynamic_records(), before);
    const ObjectNumber scan = dir_examine(GK_ANY, folder.path.c_str(), nullptr);
    ASSERT_NE(scan, 0);
    EXPECT_EQ(dir_dynamic_records(), before + 1);
    dir_finish(scan);
    EXPECT_EQ(dir_dynamic_records(), before);
}

TEST_F(FolderTest, FinishAllEndsEveryScan)
{
    ObjectNumber a = dir_examine(GK_ANY, folder.path.c_str(), nullptr);
    ASSERT_NE(dir_examine(2, folder.path.c_str(), nullptr), 0);
    dir_finish(GK_ANY);
    EXPECT_FALSE(dir_next_entry(a));
    EXPECT_FALSE(dir_next_entry(2));
}

TEST_F(FolderTest, SizeOfFilesAndFolders)
{
    ASSERT_TRUE(raw_write(folder / u"empty", ""));
    ASSERT_TRUE(raw_write(folder / u"five", "12345"));
    EXPECT_EQ(file_size((folder / u"empty").c_str()), 0);
    EXPECT_EQ(file_size((folder / u"five").c_str()), 5);
    EXPECT_EQ(file_size((folder / u"missing").c_str()), FILE_SIZE_MISSING);
    EXPECT_EQ(file_size(folder.path.c_str()), FILE_SIZE_FOLDER);
    EXPECT_EQ(file_size((folder.path + u"\\/").c_str()), FILE_SIZE_FOLDER);
    EXPECT_EQ(file_size(folder.path.substr(0, folder.path.size() - 1).c_str()), FILE_SIZE_FOLDER);
    EXPECT_EQ(file_size((folder / u"f*").c_str()), FILE_SIZE_MISSING);  // no wildcard matching
    EXPECT_EQ(file_size(nullptr), FILE_SIZE_MISSING);
    EXPECT_EQ(file_size(u""), FILE_SIZE_MISSING);
    EXPECT_EQ(file_size((folder / u"..").c_str()), FILE_SIZE_FOLDER);
    // A path longer than 260 characters is cut there.
    std::u16string long_path = folder.path + std::u16string(300, u'x');
    EXPECT_EQ(file_size(long_path.c_str()), FILE_SIZE_MISSING);
}

TEST_F(FolderTest, SizeOfDriveRoots)
{
    EXPECT_EQ(file_size(u"C:"), FILE_SIZE_FOLDER);
    EXPECT_EQ(file_size(u"C:\\"), FILE_SIZE_FOLDER);
    EXPECT_EQ(file_size(u"c:"), FILE_SIZE_FOLDER);
    const std::u16string drive = unused_drive();
    ASSERT_FALSE(drive.empty());
    EXPECT_EQ(file_size(drive.c_str()), FILE_SIZE_MISSING);
    EXPECT_EQ(file_size((drive + u"\\").c_str()), FILE_SIZE_MISSING);
    EXPECT_EQ(file_size(u"\\\\no-such-host-qn\\share"), FILE_SIZE_MISSING);
}

TEST_F(FolderTest, RenameNeverOverwrites)
{
    const std::u16string a = folder / u"a.bin";
    const std::u16string b = folder / u"b.bin";
    ASSERT_TRUE(raw_write(a, "first"));
    EXPECT_TRUE(file_rename(a.c_str(), b.c_str()));
    EXPECT_FALSE(raw_exists(a));
    EXPECT_EQ(raw_read(b), "first");
    ASSERT_TRUE(raw_write(a, "second"));
    EXPECT_FALSE(file_rename(a.c_str(), b.c_str()));
    EXPECT_EQ(raw_read(a), "second");
    EXPECT_EQ(raw_read(b), "first");
    EXPECT_FALSE(file_rename(nullptr, b.c_str()));
    EXPECT_FALSE(file_rename(a.c_str(), nullptr));
    EXPECT_FALSE(file_rename((folder / u"missing").c_str(), (folder / u"c").c_str()));
    ASSERT_TRUE(dir_create((folder / u"sub").c_str()));
    EXPECT_TRUE(file_rename((folder / u"sub").c_str(), (folder / u"moved").c_str()));
    EXPECT_EQ(file_size((folder / u"moved").c_str()), FILE_SIZE_FOLDER);
}

namespace {

BOOL WINAPI refuse_move(LPCWSTR, LPCWSTR, DWORD)
{
    SetLastError(ERROR_ACCESS_DENIED);
    return FALSE;
}

}  // namespace

TEST_F(FolderTest, RenameGoesThroughTheSystemTable)
{
    const std::u16string a = folder / u"a.bin";
    ASSERT_TRUE(raw_write(a, "x"));
    const FileSystemOps ops = {CreateFileW, WriteFile, refuse_move};
    file_set_system_ops(&ops);
    EXPECT_FALSE(file_rename(a.c_str(), (folder / u"b.bin").c_str()));
    EXPECT_TRUE(raw_exists(a));
}

TEST_F(FolderTest, DeleteWithAndWithoutForce)
{
    const std::u16string plain = folder / u"plain";
    const std::u16string locked = folder / u"locked";
    ASSERT_TRUE(raw_write(plain, "p"));
    ASSERT_TRUE(raw_write(locked, "l"));
    ASSERT_TRUE(SetFileAttributesW(reinterpret_cast<const wchar_t*>(locked.c_str()), FILE_ATTRIBUTE_READONLY));
    EXPECT_TRUE(file_delete(plain.c_str(), 0));
    EXPECT_FALSE(raw_exists(plain));
    EXPECT_FALSE(file_delete(locked.c_str(), 0));
    EXPECT_TRUE(raw_exists(locked));
    EXPECT_TRUE(file_delete(locked.c_str(), DELETE_FORCE));
    EXPECT_FALSE(raw_exists(locked));
    EXPECT_FALSE(file_delete(plain.c_str(), DELETE_FORCE));  // already gone
    EXPECT_FALSE(file_delete(nullptr, DELETE_FORCE));
    EXPECT_FALSE(file_delete(u"", 0));
}

TEST_F(FolderTest, CreateOneFolderLevel)
{
    const std::u16string made = folder / u"made";
    EXPECT_TRUE(dir_create(made.c_str()));
    EXPECT_EQ(file_size(made.c_str()), FILE_SIZE_FOLDER);
    EXPECT_FALSE(dir_create(made.c_str()));  // exists
    EXPECT_TRUE(dir_create((folder / u"trimmed \\/ ").c_str()));
    EXPECT_EQ(file_size((folder / u"trimmed").c_str()), FILE_SIZE_FOLDER);
    EXPECT_FALSE(dir_create((folder / u"a\\b").c_str()));  // two levels
    EXPECT_FALSE(raw_exists(folder / u"a"));
    EXPECT_FALSE(dir_create(nullptr));
    EXPECT_FALSE(dir_create(u""));
    EXPECT_FALSE(dir_create(u" \\ "));
}
