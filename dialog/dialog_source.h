// The text of a dialog definition read from a file: UTF-16 (either byte order) or UTF-8, with
// or without a byte-order mark.
#pragma once

#include <string>
#include <string_view>

// A leading mark decides; without one, a text whose first unit has a zero high byte is
// UTF-16 little-endian, anything else UTF-8. An odd trailing byte of UTF-16 is dropped.
std::u16string dialog_decode_definition(std::string_view bytes);
