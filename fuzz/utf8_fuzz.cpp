// UTF-8 <-> UTF-16: decoding never writes more units than bytes, and what decoding gives
// survives encoding and decoding again; encoding a UTF-16 text (lone surrogates included)
// and decoding it gives the text with each lone surrogate as U+FFFD.
#include "fuzz_support.h"

#include "services/utf8.h"

#include <string_view>

namespace {

std::u16string with_lone_surrogates_replaced(const std::u16string& text)
{
    std::u16string out = text;
    for (std::size_t i = 0; i < out.size(); ++i) {
        const char16_t unit = out[i];
        const bool high = unit >= 0xD800 && unit <= 0xDBFF;
        const bool low = unit >= 0xDC00 && unit <= 0xDFFF;
        if (high && i + 1 < out.size() && out[i + 1] >= 0xDC00 && out[i + 1] <= 0xDFFF)
            ++i;
        else if (high || low)
            out[i] = 0xFFFD;
    }
    return out;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const std::u16string decoded = utf8_decode(bytes);
    FUZZ_CHECK(decoded.size() <= size);
    const std::string encoded = utf8_encode(decoded);
    FUZZ_CHECK(encoded.size() == utf8_encoded_length(decoded));
    FUZZ_CHECK(utf8_decode(encoded) == decoded);

    const std::u16string units = fuzz_units(data, size);
    const std::string units_encoded = utf8_encode(units);
    FUZZ_CHECK(units_encoded.size() == utf8_encoded_length(units));
    FUZZ_CHECK(utf8_decode(units_encoded) == with_lone_surrogates_replaced(units));
    return 0;
}
