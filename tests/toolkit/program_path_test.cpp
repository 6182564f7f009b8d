// The program's own file name in its long forms: the drive form and the network form.
#include "toolkit/program.h"

#include <gtest/gtest.h>

TEST(ProgramPath, LongPrefixGivesTheOrdinaryPath)
{
    EXPECT_EQ(program_without_long_prefix(u"\\\\?\\C:\\dir\\QuietNote.exe"), u"C:\\dir\\QuietNote.exe");
    EXPECT_EQ(program_without_long_prefix(u"\\\\?\\UNC\\server\\share\\dir\\QuietNote.exe"),
              u"\\\\server\\share\\dir\\QuietNote.exe");
    EXPECT_EQ(program_without_long_prefix(u"\\\\server\\share\\QuietNote.exe"), u"\\\\server\\share\\QuietNote.exe");
    EXPECT_EQ(program_without_long_prefix(u"C:\\QuietNote.exe"), u"C:\\QuietNote.exe");
    EXPECT_EQ(program_without_long_prefix(u"UNC\\server\\share\\QuietNote.exe"), u"\\\\server\\share\\QuietNote.exe");
}
