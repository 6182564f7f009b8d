// A definition's sizes at a display scale: rounded as the platform rounds, applied to the
// layout's inputs only (so a tree whose controls need twice as much is laid out twice as
// large at 200 %), and given again for any scale without drift.
#include "dialog_fixture.h"

#include "dialog/dialog_scale.h"
#include "toolkit/scale.h"

#include <gtest/gtest.h>

#include <cstdlib>

namespace {

TEST(DialogScale, RoundsAsThePlatformDoesHalvesAwayFromZero)
{
    EXPECT_EQ(scale_pixels(1, 144), 2);    // 1.5
    EXPECT_EQ(scale_pixels(-3, 144), -5);  // -4.5
    EXPECT_EQ(scale_pixels(5, 120), 6);    // 6.25
    EXPECT_EQ(scale_pixels(7, 120), 9);    // 8.75
    EXPECT_EQ(scale_pixels(33, 96), 33);
    EXPECT_EQ(scale_between(2147483647, 192, 96), 2147483647);  // saturates
}

// A window with margins, a frame (built-in insets), a box with spacing, a scroll area (built-in
// bar room, inner size) and a grid, every size given in the definition.
const char16_t* const DEFINITION =
    u"<window name='w' margin='7' minwidth='300' maxheight='auto'>"
    u"<vbox spacing='3'>"
    u"<frame name='f' text='Frame' margin='5'><button name='b' width='61'/></frame>"
    u"<scrollarea name='s' scrolling='vertical' innerheight='150' height='90'>"
    u"<gridbox columns='2' colspacing='4' rowspacing='2'>"
    u"<button name='g1'/><button name='g2' width='33'/><button name='g3' height='21'/><empty width='-1'/>"
    u"</gridbox></scrollarea>"
    u"</vbox></window>";

struct Laid {
    int width = 0;
    int height = 0;
    std::map<std::u16string, Placement> placements;
};

// Lays the tree out at the resolution, with every control needing its size at 96 scaled.
Laid lay_out(DialogTree* tree, DialogScale* scale, int dpi)
{
    FakeHost fake;
    for (auto [name, size] : std::map<std::u16string, Size>{{u"b", {40, 23}}, {u"g1", {30, 20}}, {u"g2", {25, 20}},
                                                              {u"g3", {44, 20}}})
        fake.natural[name] = {scale_pixels(size.width, dpi), scale_pixels(size.height, dpi)};
    fake.caption_height = scale_pixels(13, dpi);
    LayoutHost host = fake.host();
    host.edge_height = scale_pixels(2, dpi);
    host.border_width = scale_pixels(1, dpi);
    dialog_scale_measures(&host, dpi);
    dialog_scale_apply(scale, dpi);
    Laid laid;
    layout_window(tree->root, &host, &laid.width, &laid.height);
    laid.placements = fake.placements;
    return laid;
}

TEST(DialogScale, AtTwiceTheResolutionEveryRectangleIsTwiceAndBackAtNinetySixAsBefore)
{
    DialogTree tree;
    DialogMessage message;
    ASSERT_TRUE(read_definition(DEFINITION, nullptr, &tree, &message)) << message.text;
    DialogScale scale;
    dialog_scale_capture(&scale, tree);
    Laid before = lay_out(&tree, &scale, 96);
    Laid doubled = lay_out(&tree, &scale, 192);
    EXPECT_EQ(doubled.width, 2 * before.width);
    EXPECT_EQ(doubled.height, 2 * before.height);
    ASSERT_FALSE(before.placements.empty());
    // Twice, but for the layout's own division of free room, which truncates.
    for (const auto& [name, at] : before.placements) {
        const Placement& is = doubled.placements[name];
        EXPECT_LE(std::abs(is.x - 2 * at.x) + std::abs(is.y - 2 * at.y), 1) << std::string(name.begin(), name.end());
        EXPECT_LE(std::abs(is.width - 2 * at.width) + std::abs(is.height - 2 * at.height), 1)
            << std::string(name.begin(), name.end());
    }
    // Through another scale and back: the grid forgets what it measured at 192, and nothing drifts.
    lay_out(&tree, &scale, 144);
    Laid again = lay_out(&tree, &scale, 96);
    EXPECT_EQ(again.width, before.width);
    EXPECT_EQ(again.height, before.height);
    EXPECT_EQ(again.placements, before.placements);
}

TEST(DialogScale, MarksStayMarksAndBoundsStayWithinTheirRange)
{
    DialogTree tree;
    DialogMessage message;
    ASSERT_TRUE(read_definition(u"<window name='w' minwidth='auto' maxwidth='30000'><scrollarea name='s' "
                                u"innerwidth='auto'><empty width='-1' height='12'/></scrollarea></window>",
                                nullptr, &tree, &message))
        << message.text;
    DialogScale scale;
    dialog_scale_capture(&scale, tree);
    dialog_scale_apply(&scale, 192);
    EXPECT_EQ(tree.root->min_width, BOUND_AUTO);
    EXPECT_EQ(tree.root->max_width, 32767);
    EXPECT_EQ(tree.root->min_height, BOUND_NOT_GIVEN);
    auto* area = static_cast<ContainerElement*>(tree.root->child);
    EXPECT_EQ(area->inner_width, -1);
    EXPECT_EQ(area->child->width, -1);
    EXPECT_EQ(area->child->height, 24);
}

}  // namespace
