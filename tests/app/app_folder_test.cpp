// The folder levels made at start-up: every path form the program may run from (a drive,
// a network share, their long forms) gives its folders after the root, never the root.
#include "app/app_folder.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using Levels = std::vector<std::u16string>;

}  // namespace

TEST(AppFolderLevels, EveryRootFormIsSkipped)
{
    EXPECT_EQ(app_folder_levels(u"C:\\Users\\me\\quietstory\\"),
              (Levels{u"C:\\Users\\", u"C:\\Users\\me\\", u"C:\\Users\\me\\quietstory\\"}));
    EXPECT_EQ(app_folder_levels(u"\\\\server\\share\\dir\\quietstory\\"),
              (Levels{u"\\\\server\\share\\dir\\", u"\\\\server\\share\\dir\\quietstory\\"}));
    EXPECT_EQ(app_folder_levels(u"\\\\server\\share\\quietnotes\\"), (Levels{u"\\\\server\\share\\quietnotes\\"}));
    EXPECT_EQ(app_folder_levels(u"\\\\?\\UNC\\server\\share\\dir\\quietnotes\\"),
              (Levels{u"\\\\?\\UNC\\server\\share\\dir\\", u"\\\\?\\UNC\\server\\share\\dir\\quietnotes\\"}));
    EXPECT_EQ(app_folder_levels(u"\\\\?\\unc\\server\\share\\q\\"), (Levels{u"\\\\?\\unc\\server\\share\\q\\"}));
    EXPECT_EQ(app_folder_levels(u"\\\\?\\C:\\dir\\quietnotes\\"),
              (Levels{u"\\\\?\\C:\\dir\\", u"\\\\?\\C:\\dir\\quietnotes\\"}));
    EXPECT_EQ(app_folder_levels(u"\\\\.\\C:\\q\\"), (Levels{u"\\\\.\\C:\\q\\"}));
    EXPECT_EQ(app_folder_levels(u"\\\\?\\Volume{1234}\\q\\"), (Levels{u"\\\\?\\Volume{1234}\\q\\"}));
    EXPECT_EQ(app_folder_levels(u"//server/share/q/"), (Levels{u"//server/share/q/"}));
}

TEST(AppFolderLevels, RelativeRootedAndOddPaths)
{
    EXPECT_EQ(app_folder_levels(u"quietstory\\"), (Levels{u"quietstory\\"}));
    EXPECT_EQ(app_folder_levels(u"a\\b"), (Levels{u"a\\", u"a\\b"}));
    EXPECT_EQ(app_folder_levels(u"\\top\\q\\"), (Levels{u"\\top\\", u"\\top\\q\\"}));
    EXPECT_EQ(app_folder_levels(u"C:q\\"), (Levels{u"C:q\\"}));
    // A doubled separator names no folder of its own.
    EXPECT_EQ(app_folder_levels(u"C:\\a\\\\b\\"), (Levels{u"C:\\a\\", u"C:\\a\\\\b\\"}));
    // Roots alone and incomplete shares have nothing to make.
    for (const char16_t* root : {u"", u"C:\\", u"C:", u"\\", u"\\\\server\\share\\", u"\\\\server\\share",
                                 u"\\\\server", u"\\\\?\\C:\\", u"\\\\?\\UNC\\server\\share\\", u"\\\\?\\"})
        EXPECT_TRUE(app_folder_levels(root).empty());
}
