#include "services/path.h"

#include <gtest/gtest.h>

TEST(PathFolderPart, UpToTheLastSeparator)
{
    EXPECT_EQ(path_folder_part(u"D:\\a\\b.exe"), u"D:\\a\\");
    EXPECT_EQ(path_folder_part(u"D:/a/b/c.txt"), u"D:/a/b/");
    EXPECT_EQ(path_folder_part(u"D:\\a/b\\"), u"D:\\a/b\\");
    EXPECT_EQ(path_folder_part(u"\"C:\\Program Files\\x.exe\" -a"), u"C:\\Program Files\\");
    EXPECT_EQ(path_folder_part(u"C:\\a\\b.txt|C:\\c\\d.txt"), u"C:\\a\\");
    EXPECT_EQ(path_folder_part(u"name.txt"), u"");
    EXPECT_EQ(path_folder_part(u"|\\x"), u"");
    EXPECT_EQ(path_folder_part(u""), u"");
    EXPECT_EQ(path_folder_part(nullptr), u"");
}

TEST(PathFilePart, NameAfterTheLastSeparator)
{
    EXPECT_EQ(path_file_part(u"D:\\a\\note.bin", 0), u"note.bin");
    EXPECT_EQ(path_file_part(u"D:/a/note.bin", 0), u"note.bin");
    EXPECT_EQ(path_file_part(u"\"C:\\x\\prog.exe\"", 0), u"prog.exe");
    EXPECT_EQ(path_file_part(u"note.bin", 0), u"note.bin");
    EXPECT_EQ(path_file_part(u"D:\\a\\", 0), u"");
    EXPECT_EQ(path_file_part(u"\u00e9t\u00e9\\\U0001F600.txt", 0), u"\U0001F600.txt");
    EXPECT_EQ(path_file_part(nullptr, 0), u"");
    EXPECT_EQ(path_file_part(nullptr, PATH_NO_EXTENSION), u"");
}

TEST(PathFilePart, WithoutExtension)
{
    EXPECT_EQ(path_file_part(u"D:\\a\\note.bin", PATH_NO_EXTENSION), u"note");
    EXPECT_EQ(path_file_part(u"D:\\a\\.bin", PATH_NO_EXTENSION), u".bin");
    EXPECT_EQ(path_file_part(u"D:\\a\\name.", PATH_NO_EXTENSION), u"name.");
    EXPECT_EQ(path_file_part(u"D:\\a\\archive.tar.gz", PATH_NO_EXTENSION), u"archive.tar");
    EXPECT_EQ(path_file_part(u"D:\\a\\my.file name", PATH_NO_EXTENSION), u"my.file name");
    EXPECT_EQ(path_file_part(u"D:\\a.b\\file", PATH_NO_EXTENSION), u"file");
    EXPECT_EQ(path_file_part(u"\"D:\\a\\x.exe\" -q", PATH_NO_EXTENSION), u"x");
}

TEST(PathExtensionPart, TextAfterTheDot)
{
    EXPECT_EQ(path_extension_part(u"D:\\a\\note.bin"), u"bin");
    EXPECT_EQ(path_extension_part(u"archive.tar.gz"), u"gz");
    EXPECT_EQ(path_extension_part(u"\"D:\\a\\x.exe\""), u"exe");
    EXPECT_EQ(path_extension_part(u"D:\\a.b\\file"), u"");
    EXPECT_EQ(path_extension_part(u"D:/a.b/file"), u"");
    EXPECT_EQ(path_extension_part(u"D:\\a\\.txt"), u"");
    EXPECT_EQ(path_extension_part(u".txt"), u"");
    EXPECT_EQ(path_extension_part(u"\".txt"), u"");
    EXPECT_EQ(path_extension_part(u"name."), u"");
    EXPECT_EQ(path_extension_part(u"my.file name"), u"");
    EXPECT_EQ(path_extension_part(u"a.b c.txt"), u"txt");
    EXPECT_EQ(path_extension_part(u""), u"");
    EXPECT_EQ(path_extension_part(nullptr), u"");
}
