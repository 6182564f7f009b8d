#include "images/pixels.h"

#include <algorithm>
#include <cstdlib>
#include <new>

namespace {

std::uint32_t* row_of(const PixelSurface& surface, int y)
{
    return surface.bits + static_cast<std::size_t>(y) * static_cast<std::size_t>(surface.width);
}

std::uint32_t channel(std::uint32_t pixel, int shift)
{
    return (pixel >> shift) & 0xFF;
}

// c * a / 255, rounded, for bytes.
std::uint32_t scale_byte(std::uint32_t c, std::uint32_t a)
{
    std::uint32_t product = c * a + 128;
    return (product + (product >> 8)) >> 8;
}

// Premultiplied "source over target".
std::uint32_t blend_over(std::uint32_t target, std::uint32_t source)
{
    std::uint32_t alpha = source >> 24;
    if (alpha == 255)
        return source;
    if (alpha == 0)
        return target;
    std::uint32_t result = 0;
    for (int shift = 0; shift < 32; shift += 8)
        result |= std::min<std::uint32_t>(255, channel(source, shift) + scale_byte(channel(target, shift), 255 - alpha))
                  << shift;
    return result;
}

// Weighted mean of two pixels, channel by channel; weight of `b` in 1/256ths. Two channels
// at a time: each 8-bit channel has 8 spare bits above it for the product.
std::uint32_t mix(std::uint32_t a, std::uint32_t b, std::uint32_t weight)
{
    constexpr std::uint32_t EVEN = 0x00FF00FF;
    std::uint32_t keep = 256 - weight;
    std::uint32_t low = (((a & EVEN) * keep + (b & EVEN) * weight + 0x00800080) >> 8) & EVEN;
    std::uint32_t high = ((((a >> 8) & EVEN) * keep + ((b >> 8) & EVEN) * weight + 0x00800080) >> 8) & EVEN;
    return low | (high << 8);
}

// For each target position, the lower source index and the weight of the next (1/256ths),
// sampling at pixel centres.
void smooth_axis(int source, int target, std::vector<int>* index, std::vector<std::uint32_t>* weight)
{
    index->resize(static_cast<std::size_t>(target));
    weight->resize(static_cast<std::size_t>(target));
    for (int i = 0; i < target; ++i) {
        std::int64_t position = ((2 * static_cast<std::int64_t>(i) + 1) * source * 256) / (2 * target) - 128;
        position = std::clamp<std::int64_t>(position, 0, (static_cast<std::int64_t>(source) - 1) * 256);
        (*index)[static_cast<std::size_t>(i)] = static_cast<int>(position >> 8);
        (*weight)[static_cast<std::size_t>(i)] = static_cast<std::uint32_t>(position & 0xFF);
    }
}

void scale_nearest(const PixelSurface& source, const PixelSurface& target)
{
    for (int y = 0; y < target.height; ++y) {
        int from_y = static_cast<int>(static_cast<std::int64_t>(y) * source.height / target.height);
        const std::uint32_t* from = row_of(source, from_y);
        std::uint32_t* to = row_of(target, y);
        for (int x = 0; x < target.width; ++x)
            to[x] = from[static_cast<std::int64_t>(x) * source.width / target.width];
    }
}

void scale_smooth(const PixelSurface& source, const PixelSurface& target)
{
    std::vector<int> column;
    std::vector<std::uint32_t> column_weight;
    std::vector<int> line;
    std::vector<std::uint32_t> line_weight;
    smooth_axis(source.width, target.width, &column, &column_weight);
    smooth_axis(source.height, target.height, &line, &line_weight);
    for (int y = 0; y < target.height; ++y) {
        int y0 = line[static_cast<std::size_t>(y)];
        const std::uint32_t* upper = row_of(source, y0);
        const std::uint32_t* lower = row_of(source, std::min(y0 + 1, source.height - 1));
        std::uint32_t wy = line_weight[static_cast<std::size_t>(y)];
        std::uint32_t* to = row_of(target, y);
        for (int x = 0; x < target.width; ++x) {
            int x0 = column[static_cast<std::size_t>(x)];
            int x1 = std::min(x0 + 1, source.width - 1);
            std::uint32_t wx = column_weight[static_cast<std::size_t>(x)];
            to[x] = mix(mix(upper[x0], upper[x1], wx), mix(lower[x0], lower[x1], wx), wy);
        }
    }
}

}  // namespace

std::uint32_t pixel_to_rgba(std::uint32_t pixel)
{
    std::uint32_t alpha = pixel >> 24;
    if (alpha == 0)
        return 0;
    auto straight = [&](int shift) { return std::min<std::uint32_t>(255, (channel(pixel, shift) * 255 + alpha / 2) / alpha); };
    return (alpha << 24) | (straight(0) << 16) | (straight(8) << 8) | straight(16);
}

PixelRect pixel_clip(PixelRect rect, int width, int height)
{
    std::int64_t left = std::max<std::int64_t>(rect.x, 0);
    std::int64_t top = std::max<std::int64_t>(rect.y, 0);
    std::int64_t right = std::min<std::int64_t>(static_cast<std::int64_t>(rect.x) + std::max(rect.width, 0), width);
    std::int64_t bottom = std::min<std::int64_t>(static_cast<std::int64_t>(rect.y) + std::max(rect.height, 0), height);
    if (right <= left || bottom <= top)
        return PixelRect{};
    return PixelRect{static_cast<int>(left), static_cast<int>(top), static_cast<int>(right - left),
                     static_cast<int>(bottom - top)};
}

bool pixels_put(const PixelSurface& surface, int x, int y, std::uint32_t pixel)
{
    if (x < 0 || y < 0 || x >= surface.width || y >= surface.height)
        return false;
    row_of(surface, y)[x] = pixel;
    return true;
}

std::uint32_t pixels_get(const PixelSurface& surface, int x, int y)
{
    if (x < 0 || y < 0 || x >= surface.width || y >= surface.height)
        return 0;
    return row_of(surface, y)[x];
}

void pixels_fill_rect(const PixelSurface& surface, PixelRect rect, std::uint32_t pixel)
{
    PixelRect inside = pixel_clip(rect, surface.width, surface.height);
    for (int y = inside.y; y < inside.y + inside.height; ++y)
        std::fill_n(row_of(surface, y) + inside.x, inside.width, pixel);
}

void pixels_frame_rect(const PixelSurface& surface, PixelRect rect, std::uint32_t pixel)
{
    if (rect.width <= 0 || rect.height <= 0)
        return;
    // The far edges are computed wide; one past the surface is not drawn at all, so none of
    // them overflows an int.
    std::int64_t right = static_cast<std::int64_t>(rect.x) + rect.width - 1;
    std::int64_t bottom = static_cast<std::int64_t>(rect.y) + rect.height - 1;
    pixels_fill_rect(surface, {rect.x, rect.y, rect.width, 1}, pixel);
    pixels_fill_rect(surface, {rect.x, rect.y, 1, rect.height}, pixel);
    if (bottom < surface.height)
        pixels_fill_rect(surface, {rect.x, static_cast<int>(bottom), rect.width, 1}, pixel);
    if (right < surface.width)
        pixels_fill_rect(surface, {static_cast<int>(right), rect.y, 1, rect.height}, pixel);
}

// Scan lines: each taken seed fills its run left and right, then seeds the runs above and
// below; the stack holds seeds, never recursion. A stack that cannot grow (memory runs out)
// ends the fill with false instead of ending the process.
namespace {

// The flood fill's seeds, grown without the allocator's abort on failure.
struct SeedStack {
    struct Seed {
        int x;
        int y;
    };
    Seed* items = nullptr;
    std::size_t count = 0;
    std::size_t capacity = 0;

    SeedStack() = default;
    SeedStack(const SeedStack&) = delete;
    SeedStack& operator=(const SeedStack&) = delete;
    ~SeedStack() { std::free(items); }

    bool push(int x, int y)
    {
        if (count == capacity) {
            std::size_t grown = capacity ? capacity * 2 : 256;
            auto* more = static_cast<Seed*>(std::realloc(items, grown * sizeof(Seed)));
            if (!more)
                return false;
            items = more;
            capacity = grown;
        }
        items[count++] = {x, y};
        return true;
    }
};

}  // namespace

bool pixels_flood_fill(const PixelSurface& surface, int x, int y, std::uint32_t pixel)
{
    if (x < 0 || y < 0 || x >= surface.width || y >= surface.height)
        return false;
    const std::uint32_t old = row_of(surface, y)[x];
    if (old == pixel)
        return false;
    SeedStack seeds;
    if (!seeds.push(x, y))
        return false;
    while (seeds.count > 0) {
        auto [sx, sy] = seeds.items[--seeds.count];
        std::uint32_t* row = row_of(surface, sy);
        if (row[sx] != old)
            continue;
        int left = sx;
        while (left > 0 && row[left - 1] == old)
            --left;
        int right = sx;
        while (right + 1 < surface.width && row[right + 1] == old)
            ++right;
        std::fill(row + left, row + right + 1, pixel);
        for (int ny : {sy - 1, sy + 1}) {
            if (ny < 0 || ny >= surface.height)
                continue;
            const std::uint32_t* next = row_of(surface, ny);
            for (int nx = left; nx <= right; ++nx) {
                if (next[nx] == old && (nx == left || next[nx - 1] != old) && !seeds.push(nx, ny))
                    return false;
            }
        }
    }
    return true;
}

void pixels_blend(const PixelSurface& target, const PixelSurface& source, int x, int y)
{
    PixelRect inside = pixel_clip({x, y, source.width, source.height}, target.width, target.height);
    for (int row = inside.y; row < inside.y + inside.height; ++row) {
        const std::uint32_t* from = row_of(source, row - y) + (inside.x - x);
        std::uint32_t* to = row_of(target, row) + inside.x;
        for (int i = 0; i < inside.width; ++i)
            to[i] = blend_over(to[i], from[i]);
    }
}

void pixels_scale(const PixelSurface& source, const PixelSurface& target, int mode)
{
    if (source.width <= 0 || source.height <= 0 || target.width <= 0 || target.height <= 0)
        return;
    if (mode == SCALE_SMOOTH)
        scale_smooth(source, target);
    else
        scale_nearest(source, target);
}

void pixels_copy_from(const PixelSurface& source, const PixelSurface& target, int x, int y)
{
    pixels_fill_rect(target, {0, 0, target.width, target.height}, 0);
    PixelRect inside = pixel_clip({x, y, target.width, target.height}, source.width, source.height);
    for (int row = inside.y; row < inside.y + inside.height; ++row)
        std::copy_n(row_of(source, row) + inside.x, inside.width, row_of(target, row - y) + (inside.x - x));
}

std::vector<std::uint8_t> pixels_to_straight(const PixelSurface& surface)
{
    std::vector<std::uint8_t> bytes(static_cast<std::size_t>(surface.width) * surface.height * 4);
    std::size_t at = 0;
    for (int y = 0; y < surface.height; ++y) {
        const std::uint32_t* row = row_of(surface, y);
        for (int x = 0; x < surface.width; ++x) {
            std::uint32_t rgba = pixel_to_rgba(row[x]);
            bytes[at++] = static_cast<std::uint8_t>(rgba >> 16);
            bytes[at++] = static_cast<std::uint8_t>(rgba >> 8);
            bytes[at++] = static_cast<std::uint8_t>(rgba);
            bytes[at++] = static_cast<std::uint8_t>(rgba >> 24);
        }
    }
    return bytes;
}

std::vector<std::uint8_t> pixels_to_bgr(const PixelSurface& surface, std::size_t* stride)
{
    *stride = (static_cast<std::size_t>(surface.width) * 3 + 3) & ~static_cast<std::size_t>(3);
    std::vector<std::uint8_t> bytes(*stride * static_cast<std::size_t>(surface.height));
    for (int y = 0; y < surface.height; ++y) {
        const std::uint32_t* row = row_of(surface, y);
        std::uint8_t* to = bytes.data() + *stride * static_cast<std::size_t>(y);
        for (int x = 0; x < surface.width; ++x) {
            std::uint32_t white = 255 - (row[x] >> 24);
            for (int c = 0; c < 3; ++c)
                *to++ = static_cast<std::uint8_t>(channel(row[x], 8 * c) + white);
        }
    }
    return bytes;
}

void pixels_from_bgr(const PixelSurface& surface, const std::uint8_t* rows, std::size_t stride)
{
    for (int y = 0; y < surface.height; ++y) {
        const std::uint8_t* from = rows + stride * static_cast<std::size_t>(y);
        std::uint32_t* to = row_of(surface, y);
        for (int x = 0; x < surface.width; ++x, from += 3)
            to[x] = 0xFF000000u | (std::uint32_t{from[2]} << 16) | (std::uint32_t{from[1]} << 8) | from[0];
    }
}

bool pixels_alpha_mark(const PixelSurface& surface, PixelRect rect, PixelAlphaSave* saved)
{
    PixelRect inside = pixel_clip(rect, surface.width, surface.height);
    saved->reset(new (std::nothrow) std::uint8_t[static_cast<std::size_t>(inside.width) *
                                                 static_cast<std::size_t>(inside.height)]);
    if (!*saved)
        return false;
    std::size_t at = 0;
    for (int y = inside.y; y < inside.y + inside.height; ++y) {
        std::uint32_t* row = row_of(surface, y) + inside.x;
        for (int x = 0; x < inside.width; ++x) {
            (*saved)[at++] = static_cast<std::uint8_t>(row[x] >> 24);
            row[x] |= 0xFF000000u;
        }
    }
    return true;
}

void pixels_alpha_settle(const PixelSurface& surface, PixelRect rect, const PixelAlphaSave& saved)
{
    PixelRect inside = pixel_clip(rect, surface.width, surface.height);
    std::size_t at = 0;
    for (int y = inside.y; y < inside.y + inside.height; ++y) {
        std::uint32_t* row = row_of(surface, y) + inside.x;
        for (int x = 0; x < inside.width; ++x, ++at) {
            std::uint32_t alpha = (row[x] >> 24) == 0 ? 255u : saved[at];
            row[x] = (row[x] & 0x00FFFFFFu) | (alpha << 24);
        }
    }
}
