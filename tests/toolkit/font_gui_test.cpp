#include "toolkit/font.h"

#include <gtest/gtest.h>

#include <windows.h>

namespace {

LOGFONTW description_of(void* handle)
{
    LOGFONTW description = {};
    GetObjectW(static_cast<HFONT>(handle), sizeof(description), &description);
    return description;
}

bool is_font(void* handle)
{
    return handle && GetObjectType(static_cast<HGDIOBJ>(handle)) == OBJ_FONT;
}

class FontGuiTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_EQ(font_start(), 1); }
    void TearDown() override { font_free(GK_ANY); }
};

TEST_F(FontGuiTest, HeightFollowsPointSizeAndDisplayResolutionAndFlagsChooseTheStyle)
{
    HDC display = CreateDCW(L"DISPLAY", nullptr, nullptr, nullptr);
    int dots = GetDeviceCaps(display, LOGPIXELSY);
    DeleteDC(display);
    for (int points : {6, 8, 9, 10, 11, 12, 14, 20, 36, 72}) {
        LOGFONTW plain = description_of(font_handle(font_load(GK_ANY, u"Verdana", points)));
        EXPECT_EQ(plain.lfHeight, -MulDiv(points, dots, 72)) << points << " points";
        EXPECT_EQ(plain.lfWeight, FW_NORMAL);
        EXPECT_FALSE(plain.lfItalic || plain.lfUnderline || plain.lfStrikeOut);
        EXPECT_EQ(plain.lfQuality, DEFAULT_QUALITY);
    }
    int all = FONT_BOLD | FONT_ITALIC | FONT_UNDERLINE | FONT_STRIKEOUT | FONT_HIGH_QUALITY;
    LOGFONTW styled = description_of(font_handle(font_load(GK_ANY, u"Verdana", 9, all)));
    EXPECT_EQ(styled.lfWeight, FW_BOLD);
    EXPECT_TRUE(styled.lfItalic && styled.lfUnderline && styled.lfStrikeOut);
    EXPECT_EQ(styled.lfQuality, PROOF_QUALITY);
    EXPECT_STREQ(styled.lfFaceName, L"Verdana");
}

TEST_F(FontGuiTest, NumbersHandlesAndFreeing)
{
    // A fixed number returns the handle; loading it again replaces the font.
    ObjectNumber first = font_load(3, u"Verdana", 9);
    ASSERT_TRUE(is_font(reinterpret_cast<void*>(first)));
    EXPECT_EQ(reinterpret_cast<void*>(first), font_handle(3));
    ObjectNumber second = font_load(3, u"Verdana", 12);
    EXPECT_EQ(reinterpret_cast<void*>(second), font_handle(3));
    if (second != first) {
        EXPECT_FALSE(is_font(reinterpret_cast<void*>(first)));
    }
    EXPECT_EQ(font_free(3), 1);
    EXPECT_FALSE(is_font(reinterpret_cast<void*>(second)));
    EXPECT_EQ(font_handle(3), nullptr);
    EXPECT_EQ(font_free(3), 0);

    ObjectNumber dynamic = font_load(GK_ANY, u"Verdana", 9);
    void* handle = font_handle(dynamic);
    ASSERT_TRUE(is_font(handle));
    EXPECT_NE(reinterpret_cast<void*>(dynamic), handle);
    EXPECT_EQ(font_free(dynamic), 1);
    EXPECT_FALSE(is_font(handle));
    EXPECT_EQ(font_handle(dynamic), nullptr);
    EXPECT_EQ(font_free(dynamic), 0);

    ObjectNumber a = font_load(GK_ANY, u"Verdana", 9);
    ASSERT_NE(font_load(7, u"Verdana", 9), 0);
    void* handles[] = {font_handle(a), font_handle(7)};
    EXPECT_EQ(font_free(GK_ANY), 1);
    EXPECT_FALSE(is_font(handles[0]) || is_font(handles[1]));
    EXPECT_TRUE(font_handle(a) == nullptr && font_handle(7) == nullptr);
}

TEST_F(FontGuiTest, UnknownNumbersAndBadArgumentsFail)
{
    for (ObjectNumber unknown : {ObjectNumber(0), ObjectNumber(12345), ObjectNumber(0x7fff1230)}) {
        EXPECT_EQ(font_handle(unknown), nullptr);
        EXPECT_EQ(font_free(unknown), 0);
    }
    EXPECT_EQ(font_load(4, nullptr, 9), 0);
    EXPECT_EQ(font_load(4, u"", 9), 0);
    EXPECT_EQ(font_load(4, u"Verdana", 0), 0);
    EXPECT_EQ(font_load(-5, u"Verdana", 9), 0);
    EXPECT_EQ(font_handle(4), nullptr);
}

}  // namespace
