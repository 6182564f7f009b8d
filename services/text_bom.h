// Byte-order marks: the bytes that open a text file and name its encoding.
#pragma once

#include "services/file.h"

#include <cstddef>
#include <cstdint>
#include <string_view>

struct TextBom {
    std::int32_t format;   // TEXT_ANSI when there is no mark
    std::size_t size;      // the mark's length in bytes; 0 when there is none
};

// The mark the bytes begin with. The UTF-32 little-endian mark is taken before the UTF-16
// one it begins with.
TextBom text_bom_detect(std::string_view bytes);

// The mark of a format; empty for TEXT_ANSI and formats without one.
std::string_view text_bom_bytes(std::int32_t format);
