// The IP address field's value and field places, apart from any window. The program's value
// holds the address's first field in its lowest byte; the platform control's in its highest.
#pragma once

#include <cstdint>
#include <string>

// Turns one byte order into the other; the same swap serves both ways.
std::uint32_t ipaddress_swap(std::uint32_t value);

// The program's value as four decimal fields joined by ".", the first field first.
std::u16string ipaddress_text(std::uint32_t value);

struct IpaddressField {
    int x;
    int y;
    int width;
    int height;
};

constexpr int IPADDRESS_FIELD_COUNT = 4;

// The control width at which every field is `field_text_width` wide.
int ipaddress_width_for_fields(int field_text_width);

// Where field `index` (0 to 3) lies in a control of the given client size: each field takes
// a quarter of the width, less room for the dot before it and the gap after it, and the height
// inside the sunken edge. Sizes never go below 0.
IpaddressField ipaddress_field(int index, int client_width, int client_height);
