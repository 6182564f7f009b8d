// Note names that stay inside the notes folder, and which files are notes.
#include "app/note_name.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

TEST(NoteName, PlainNamesAreAccepted)
{
    for (const char16_t* name : {u"diary", u"Shopping list", u"a.b", u".hidden", u"..x", u"con2", u"com10",
                                 u"console", u"lpt", u"nul_", u"~tilde", u"\u00E9t\u00E9", u"\U0001F511 keys",
                                 u"name.", u"trailing "})
        EXPECT_TRUE(note_name_valid(name));
    EXPECT_TRUE(note_name_valid(std::u16string(NOTE_NAME_MAX, u'n')));
}

TEST(NoteName, NamesThatLeaveTheFolderOrNameADeviceAreRefused)
{
    for (const char16_t* name : {u"", u".", u"..", u"...", u"..\\x", u"a/b", u"c:x", u"a*", u"a?", u"a\"b", u"<a",
                                 u"a>", u"a|b", u"tab\there", u"new\nline", u"\x1F"})
        EXPECT_FALSE(note_name_valid(name));
    for (const char16_t* name : {u"CON", u"con", u"Prn", u"aux", u"NUL", u"com1", u"COM9", u"lpt1", u"LPT9",
                                 u"con.txt", u"nul.bin", u"Com1.tar.gz", u"con.", u"con ", u"aux . ", u"con .txt",
                                 u"com\u00B9", u"LPT\u00B3.x"})
        EXPECT_FALSE(note_name_valid(name));
    EXPECT_FALSE(note_name_valid(std::u16string(NOTE_NAME_MAX + 1, u'n')));
    EXPECT_FALSE(note_name_valid(std::u16string(u"a\0b", 3)));
}

TEST(NoteName, FilesAndListing)
{
    EXPECT_EQ(note_file_name(u"diary"), u"diary.bin");
    const std::u16string temporary = note_temporary_file_name(u"diary");
    EXPECT_EQ(temporary, u"~diary.bin.tmp");
    // A stray temporary file, other extensions and a bare ".bin" are no notes.
    const std::vector<std::u16string> files = {u"zeta.bin", temporary, u"Alpha.BIN", u"beta.Bin", u"x.in",
                                               u"y.binx", u".bin", u"z.bin.bak", u"gamma.txt.bin"};
    EXPECT_EQ(note_names(files), (std::vector<std::u16string>{u"Alpha", u"beta", u"gamma.txt", u"zeta"}));
}
