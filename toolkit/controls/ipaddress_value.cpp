#include "toolkit/controls/ipaddress_value.h"

#include <algorithm>

namespace {

// Room before each field for the dot and after it for the gap, and the sunken edge above and
// below; the platform control places its fields this way when it is created.
constexpr int FIELD_LEAD = 6;
constexpr int FIELD_TRAIL = 2;
constexpr int EDGE = 2;

}  // namespace

std::uint32_t ipaddress_swap(std::uint32_t value)
{
    return (value >> 24) | ((value >> 8) & 0xFF00u) | ((value << 8) & 0xFF0000u) | (value << 24);
}

std::u16string ipaddress_text(std::uint32_t value)
{
    std::u16string text;
    for (int field = 0; field < IPADDRESS_FIELD_COUNT; ++field) {
        if (field > 0)
            text += u'.';
        unsigned byte = (value >> (8 * field)) & 0xFFu;
        if (byte >= 100)
            text += static_cast<char16_t>(u'0' + byte / 100);
        if (byte >= 10)
            text += static_cast<char16_t>(u'0' + byte / 10 % 10);
        text += static_cast<char16_t>(u'0' + byte % 10);
    }
    return text;
}

int ipaddress_width_for_fields(int field_text_width)
{
    return IPADDRESS_FIELD_COUNT * (std::max(field_text_width, 0) + FIELD_LEAD + FIELD_TRAIL);
}

IpaddressField ipaddress_field(int index, int client_width, int client_height)
{
    int quarter = std::max(client_width, 0) / IPADDRESS_FIELD_COUNT;
    IpaddressField field;
    field.x = index * quarter + FIELD_LEAD;
    field.y = EDGE;
    field.width = std::max(quarter - FIELD_LEAD - FIELD_TRAIL, 0);
    field.height = std::max(std::max(client_height, 0) - 2 * EDGE, 0);
    return field;
}
