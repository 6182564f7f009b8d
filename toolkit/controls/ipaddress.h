// IP address fields (kind 13): the four decimal fields of an IPv4 address. The state is the
// address with its first field in the lowest byte; the text is the dotted address, and setting
// the text to "" clears the fields (any other text changes nothing). Focus changes raise
// EVENTTYPE_FOCUS and EVENTTYPE_LOST_FOCUS; a changed field raises its platform code, 768.
#pragma once

#include "core/object.h"

constexpr int CONTROL_KIND_IPADDRESS = 13;

// Returns the number for GK_ANY, else the platform handle; 0 on failure.
ObjectNumber ipaddress_create(ObjectNumber number, int x, int y, int width, int height);
