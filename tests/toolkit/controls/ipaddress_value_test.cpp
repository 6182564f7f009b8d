// The IP address field's value apart from any window: the byte swap between the program's
// value and the platform's, the dotted text, and where the four fields lie.
#include "toolkit/controls/ipaddress_value.h"

#include <gtest/gtest.h>

#include <climits>

namespace {

TEST(IpaddressValue, SwapTurnsTheFirstFieldIntoTheHighestByteAndBack)
{
    EXPECT_EQ(ipaddress_swap(0x0100A8C0u), 0xC0A80001u);
    EXPECT_EQ(ipaddress_swap(0xC0A80001u), 0x0100A8C0u);
    for (std::uint32_t value : {0u, 0xFFFFFFFFu, 0x80000000u, 0x7FFFFFFFu, 0x12345678u})
        EXPECT_EQ(ipaddress_swap(ipaddress_swap(value)), value) << value;
    EXPECT_EQ(ipaddress_swap(static_cast<std::uint32_t>(INT_MIN)), 0x80u);
}

TEST(IpaddressValue, TextIsTheFourFieldsFirstFieldFirst)
{
    EXPECT_EQ(ipaddress_text(0x0100A8C0u), u"192.168.0.1");
    EXPECT_EQ(ipaddress_text(0), u"0.0.0.0");
    EXPECT_EQ(ipaddress_text(0xFFFFFFFFu), u"255.255.255.255");
    EXPECT_EQ(ipaddress_text(static_cast<std::uint32_t>(INT_MIN)), u"0.0.0.128");
    EXPECT_EQ(ipaddress_text(static_cast<std::uint32_t>(INT_MAX)), u"255.255.255.127");
    EXPECT_EQ(ipaddress_text(0x0A09640Au), u"10.100.9.10");
}

// A quarter of the width each, 6 in for the dot, 2 short of the next; 2 inside the edges.
TEST(IpaddressValue, FieldsShareTheWidthAndNeverGoNegative)
{
    IpaddressField first = ipaddress_field(0, 200, 24);
    IpaddressField last = ipaddress_field(3, 200, 24);
    EXPECT_EQ(first.x, 6);
    EXPECT_EQ(first.y, 2);
    EXPECT_EQ(first.width, 42);
    EXPECT_EQ(first.height, 20);
    EXPECT_EQ(last.x, 156);
    EXPECT_EQ(last.x + last.width, 198);
    for (int index = 0; index < IPADDRESS_FIELD_COUNT - 1; ++index)
        EXPECT_LT(ipaddress_field(index, 200, 24).x + 42, ipaddress_field(index + 1, 200, 24).x);

    for (int size : {0, 3, -50, INT_MIN}) {
        IpaddressField field = ipaddress_field(2, size, size);
        EXPECT_EQ(field.width, 0) << size;
        EXPECT_EQ(field.height, 0) << size;
    }
    EXPECT_EQ(ipaddress_field(0, ipaddress_width_for_fields(30), 20).width, 30);
    EXPECT_EQ(ipaddress_field(3, ipaddress_width_for_fields(30), 20).width, 30);
    EXPECT_EQ(ipaddress_width_for_fields(-5), ipaddress_width_for_fields(0));
    IpaddressField huge = ipaddress_field(3, INT_MAX, INT_MAX);
    EXPECT_GT(huge.width, 0);
    EXPECT_GT(huge.x, 0);
}

}  // namespace
