// The Tab order's arithmetic: controls sorted by their place in the definition, controls made
// outside it kept after the one walked before them, and the step to the next stop; the
// mnemonic of a text.
#include "toolkit/focus_order.h"
#include "toolkit/mnemonic.h"

#include <gtest/gtest.h>

namespace {

TEST(FocusOrderTest, DefinitionPlaceWinsAndUnrankedControlsFollowTheirWalkPredecessor)
{
    // Walked as the platform lists them: a panel raised to the top, options made last.
    std::vector<FocusEntry> entries = {{5, 0, true}, {0, 1, false}, {2, 2, true}, {0, 3, true}, {9, 4, true},
                                       {7, 5, true}};
    focus_order_sort(&entries);
    std::vector<int> walked;
    for (const FocusEntry& entry : entries)
        walked.push_back(entry.walk);
    EXPECT_EQ(walked, (std::vector<int>{2, 3, 0, 1, 5, 4}));
}

TEST(FocusOrderTest, StepSkipsWhatIsNoStopAndWrapsBothWays)
{
    std::vector<FocusEntry> entries = {{1, 0, true}, {2, 1, false}, {3, 2, true}, {4, 3, false}};
    EXPECT_EQ(focus_order_step(entries, 0, true), 2);
    EXPECT_EQ(focus_order_step(entries, 1, true), 2);  // from a label to the control after it
    EXPECT_EQ(focus_order_step(entries, 2, true), 0);
    EXPECT_EQ(focus_order_step(entries, 0, false), 2);
    EXPECT_EQ(focus_order_step(entries, -1, true), 0);
    EXPECT_EQ(focus_order_step(entries, -1, false), 2);
    EXPECT_EQ(focus_order_step({{1, 0, false}}, 0, true), -1);
}

TEST(FocusOrderTest, MnemonicIsTheLetterAfterASingleAmpersand)
{
    EXPECT_EQ(mnemonic_of(u"&Save"), u'S');
    EXPECT_EQ(mnemonic_of(u"Fish && &Chips"), u'C');
    EXPECT_EQ(mnemonic_of(u"Fish && Chips"), 0);
    EXPECT_EQ(mnemonic_of(u"End&"), 0);
}

}  // namespace
