// The Tab order's arithmetic: controls sorted by their place in the definition, controls made
// outside it kept after the one walked before them (the windows built from definitions, where
// every control has its place, are driven with real keys in the dialog tests).
#include "toolkit/focus_order.h"

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

}  // namespace
