#include "app/accumulator.h"

#include <cstdlib>
#include <cstring>

namespace {

constexpr std::size_t HEADER_BYTES = sizeof(std::int32_t);
constexpr std::size_t FIRST_BLOCK_BYTES = 20480 + HEADER_BYTES;
// Growth factor of the block, so that joining n pieces costs amortised linear time.
constexpr double GROWTH = 1.28;

std::int32_t stored_count(const std::uint8_t* block)
{
    std::int32_t count = 0;
    std::memcpy(&count, block, sizeof count);
    return count;
}

}  // namespace

struct TextAccumulator {
    std::uint8_t* block;
    std::size_t block_bytes;
};

TextAccumulator* accumulator_new()
{
    auto* accumulator = static_cast<TextAccumulator*>(std::malloc(sizeof(TextAccumulator)));
    if (!accumulator)
        return nullptr;
    accumulator->block = static_cast<std::uint8_t*>(std::malloc(FIRST_BLOCK_BYTES));
    if (!accumulator->block) {
        std::free(accumulator);
        return nullptr;
    }
    accumulator->block_bytes = FIRST_BLOCK_BYTES;
    std::memset(accumulator->block, 0, HEADER_BYTES);
    return accumulator;
}

bool accumulator_append(TextAccumulator* accumulator, const char16_t* text, std::int32_t count)
{
    if (!accumulator || !text)
        return true;
    std::size_t added = count < 1 ? std::char_traits<char16_t>::length(text) : static_cast<std::size_t>(count);
    if (added == 0)
        return true;
    const std::int32_t present = stored_count(accumulator->block);
    const std::size_t total = static_cast<std::size_t>(present) + added;
    if (total > INT32_MAX)
        return false;
    const std::size_t needed = total * sizeof(char16_t);
    if (needed > accumulator->block_bytes - HEADER_BYTES) {
        const auto bytes = static_cast<std::size_t>(static_cast<double>(needed) * GROWTH + HEADER_BYTES + 0.5);
        auto* grown = static_cast<std::uint8_t*>(std::realloc(accumulator->block, bytes));
        if (!grown)
            return false;
        accumulator->block = grown;
        accumulator->block_bytes = bytes;
    }
    std::memcpy(accumulator->block + HEADER_BYTES + static_cast<std::size_t>(present) * sizeof(char16_t), text,
                added * sizeof(char16_t));
    const auto stored = static_cast<std::int32_t>(total);
    std::memcpy(accumulator->block, &stored, sizeof stored);
    return true;
}

bool accumulator_reserve(TextAccumulator* accumulator, std::int32_t count)
{
    if (!accumulator || count < 1)
        return true;
    const std::size_t bytes = static_cast<std::size_t>(count) * sizeof(char16_t) + HEADER_BYTES;
    if (bytes <= accumulator->block_bytes)
        return true;
    auto* grown = static_cast<std::uint8_t*>(std::realloc(accumulator->block, bytes));
    if (!grown)
        return false;
    accumulator->block = grown;
    accumulator->block_bytes = bytes;
    return true;
}

std::u16string_view accumulator_text(const TextAccumulator* accumulator)
{
    if (!accumulator)
        return std::u16string_view();
    const auto count = static_cast<std::size_t>(stored_count(accumulator->block));
    return std::u16string_view(reinterpret_cast<const char16_t*>(accumulator->block + HEADER_BYTES), count);
}

void accumulator_free(TextAccumulator* accumulator)
{
    if (!accumulator)
        return;
    std::free(accumulator->block);
    std::free(accumulator);
}
