// Shared pieces of the fuzz targets: the input as text or as an XML document, and a failed
// property as a crash that libFuzzer records with its input.
#pragma once

#include "services/utf8.h"
#include "xml/xml.h"

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

// Stops the run with a message: libFuzzer keeps the input that got here.
#define FUZZ_CHECK(condition)                                                          \
    do {                                                                               \
        if (!(condition)) {                                                            \
            std::fprintf(stderr, "fuzz check failed: %s (%s:%d)\n", #condition, __FILE__, \
                         __LINE__);                                                    \
            std::abort();                                                              \
        }                                                                              \
    } while (0)

// The input as UTF-16LE units (an odd last byte is dropped).
inline std::u16string fuzz_units(const std::uint8_t* data, std::size_t size)
{
    std::u16string text(size / 2, u'\0');
    for (std::size_t i = 0; i < text.size(); ++i)
        text[i] = static_cast<char16_t>(data[2 * i] | (data[2 * i + 1] << 8));
    return text;
}

// The input read as UTF-8 and parsed into a new XML document (the XML component is started
// on first use); the caller frees it.
inline ObjectNumber fuzz_xml_document(const std::uint8_t* data, std::size_t size)
{
    static const bool started = xml_start();
    FUZZ_CHECK(started);
    const std::u16string text = utf8_decode(std::string_view(reinterpret_cast<const char*>(data), size));
    return xml_parse_string(GK_ANY, text.c_str());
}
