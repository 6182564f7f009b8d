// The explorer views' folder logic: a text split into folder and patterns, wildcard names,
// the rows the flags keep and their order, the ".." row, and the watcher's coalescing.
#include "toolkit/controls/explorer_logic.h"

#include <gtest/gtest.h>

namespace {

ExplorerEntry entry(const char16_t* name, bool folder, std::uint64_t size = 0, const char16_t* type = u"")
{
    return ExplorerEntry{name, type, size, 0, folder, 0};
}

std::vector<std::u16string> names(const std::vector<ExplorerEntry>& entries)
{
    std::vector<std::u16string> result;
    for (const ExplorerEntry& item : entries)
        result.push_back(item.name);
    return result;
}

TEST(ExplorerLogic, TextSplitsIntoFolderAndPatterns)
{
    ExplorerPath plain = explorer_split_path(u"C:/notes/2026");
    EXPECT_EQ(plain.folder, u"C:\\notes\\2026\\");
    EXPECT_TRUE(plain.patterns.empty());
    ExplorerPath patterned = explorer_split_path(u"C:\\notes\\*.txt;;*.MD");
    EXPECT_EQ(patterned.folder, u"C:\\notes\\");
    EXPECT_EQ(patterned.patterns, (std::vector<std::u16string>{u"*.txt", u"*.MD"}));
    EXPECT_EQ(explorer_split_path(u"").folder, u"");
    EXPECT_EQ(explorer_split_path(u"*.txt").folder, u"");
}

TEST(ExplorerLogic, WildcardsMatchByTheAsciiCaseRule)
{
    EXPECT_TRUE(explorer_name_matches(u"Diary.TXT", u"*.txt"));
    EXPECT_TRUE(explorer_name_matches(u"a.b.txt", u"*.*t"));
    EXPECT_TRUE(explorer_name_matches(u"note1", u"note?"));
    EXPECT_FALSE(explorer_name_matches(u"note12", u"note?"));
    EXPECT_FALSE(explorer_name_matches(u"txt", u"*.txt"));
    EXPECT_FALSE(explorer_name_matches(u"\u00c4.txt", u"\u00e4.txt"));  // only A-Z fold
    EXPECT_TRUE(explorer_matches_any(u"x.md", {u"*.txt", u"*.md"}));
    EXPECT_TRUE(explorer_matches_any(u"x", {}));
}

TEST(ExplorerLogic, ParentStopsAtTheRoot)
{
    EXPECT_EQ(explorer_parent(u"C:\\a\\b\\"), u"C:\\a\\");
    EXPECT_EQ(explorer_parent(u"C:\\"), u"");
    EXPECT_EQ(explorer_parent(u""), u"");
    EXPECT_TRUE(explorer_shows_parent_row(u"C:\\a\\", 0));
    EXPECT_FALSE(explorer_shows_parent_row(u"C:\\", 0));
    EXPECT_FALSE(explorer_shows_parent_row(u"C:\\a\\", GK_Explorer_NoParentFolder));
    EXPECT_FALSE(explorer_shows_parent_row(u"C:\\a\\", GK_Explorer_NoDirectoryChange));
}

TEST(ExplorerLogic, FlagsAndPatternsChooseTheRowsFoldersFirst)
{
    std::vector<ExplorerEntry> all = {entry(u"b.txt", false, 5, u"Text"), entry(u".", true), entry(u"..", true),
                                      entry(u"Zed", true), entry(u"a.md", false, 9, u"Markdown"),
                                      entry(u"alpha", true)};
    std::vector<ExplorerEntry> rows = all;
    explorer_choose_rows(&rows, {}, 0, {EXPLORER_BY_NAME, false});
    EXPECT_EQ(names(rows), (std::vector<std::u16string>{u"alpha", u"Zed", u"a.md", u"b.txt"}));
    rows = all;
    explorer_choose_rows(&rows, {u"*.TXT"}, 0, {EXPLORER_BY_NAME, true});
    EXPECT_EQ(names(rows), (std::vector<std::u16string>{u"Zed", u"alpha", u"b.txt"}));
    rows = all;
    explorer_choose_rows(&rows, {}, GK_Explorer_NoFiles, {EXPLORER_BY_NAME, false});
    EXPECT_EQ(names(rows), (std::vector<std::u16string>{u"alpha", u"Zed"}));
    rows = all;
    explorer_choose_rows(&rows, {}, GK_Explorer_NoFolders, {EXPLORER_BY_SIZE, true});
    EXPECT_EQ(names(rows), (std::vector<std::u16string>{u"a.md", u"b.txt"}));
    rows = all;
    explorer_choose_rows(&rows, {}, GK_Explorer_NoFolders, {EXPLORER_BY_TYPE, false});
    EXPECT_EQ(names(rows), (std::vector<std::u16string>{u"a.md", u"b.txt"}));
    rows = all;
    explorer_choose_rows(&rows, {}, GK_Explorer_NoSort, {EXPLORER_BY_NAME, false});
    EXPECT_EQ(names(rows), (std::vector<std::u16string>{u"b.txt", u"Zed", u"a.md", u"alpha"}));
}

TEST(ExplorerLogic, SizesShowInWholeKilobytesRoundedUp)
{
    EXPECT_EQ(explorer_size_text(0), u"0 KB");
    EXPECT_EQ(explorer_size_text(1), u"1 KB");
    EXPECT_EQ(explorer_size_text(1024), u"1 KB");
    EXPECT_EQ(explorer_size_text(1025), u"2 KB");
    EXPECT_EQ(explorer_size_text(1024ull * 1234567), u"1,234,567 KB");
    EXPECT_EQ(explorer_size_text(~0ull), u"18,014,398,509,481,984 KB");
}

// 10,000 changes one every 0.1 ms (a second's burst) ask for a bounded number of refreshes.
TEST(ExplorerLogic, ABurstOfChangesGivesFewRefreshes)
{
    EXPECT_FALSE(explorer_refresh_due(1000, 1100, 1200));
    EXPECT_TRUE(explorer_refresh_due(1000, 1100, 1100 + EXPLORER_QUIET_MS));
    EXPECT_TRUE(explorer_refresh_due(1000, 1599, 1000 + EXPLORER_LONGEST_DELAY_MS));
    EXPECT_TRUE(explorer_refresh_due(0xFFFFFFF0u, 0xFFFFFFF0u, 0xFFFFFFF0u + EXPLORER_QUIET_MS));  // clock wraps
    int refreshes = 0;
    std::uint32_t first = 0;
    bool pending = false;
    for (std::uint32_t tenth = 0; tenth < 10000; ++tenth) {
        std::uint32_t now = tenth / 10;
        if (!pending)
            first = now;
        pending = true;
        if (explorer_refresh_due(first, now, now + 1)) {
            ++refreshes;
            pending = false;
        }
    }
    EXPECT_LE(refreshes, 1000 / static_cast<int>(EXPLORER_LONGEST_DELAY_MS) + 1);
}

}  // namespace
