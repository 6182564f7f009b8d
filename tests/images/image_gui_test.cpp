// Images and drawing under Wine: files written byte by byte load with their exact size and
// pixels, saved files load back, bad files fail cleanly, scaling, cropping and drawing keep
// to their pixels, and thousands of images and failed loads leave nothing behind.
#include "images/draw.h"
#include "images/image.h"
#include "images/image_internal_win.h"
#include "services/file_system_ops.h"
#include "tests/support/temp_folder.h"
#include "toolkit/font.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

namespace {

constexpr std::uint32_t OPAQUE_RED = 0xFF0000FF;  // 0xAABBGGRR as draw_read_pixel gives it
constexpr std::uint32_t OPAQUE_WHITE = 0xFFFFFFFF;

void put32be(std::string* out, std::uint32_t value)
{
    for (int shift = 24; shift >= 0; shift -= 8)
        out->push_back(static_cast<char>(value >> shift));
}

void put_le(std::string* out, std::uint32_t value, int bytes)
{
    for (int i = 0; i < bytes; ++i)
        out->push_back(static_cast<char>(value >> (8 * i)));
}

std::uint32_t crc32(const std::string& bytes)
{
    std::uint32_t crc = 0xFFFFFFFF;
    for (unsigned char byte : bytes) {
        crc ^= byte;
        for (int bit = 0; bit < 8; ++bit)
            crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1)));
    }
    return ~crc;
}

void png_chunk(std::string* out, const char* type, const std::string& data)
{
    put32be(out, static_cast<std::uint32_t>(data.size()));
    std::string body = std::string(type, 4) + data;
    *out += body;
    put32be(out, crc32(body));
}

// An RGBA PNG whose pixel data is one stored (uncompressed) deflate block.
std::string png_file(std::uint32_t width, std::uint32_t height, const std::vector<std::uint32_t>& rgba)
{
    std::string raw;
    for (std::uint32_t y = 0; y < height; ++y) {
        raw.push_back(0);
        for (std::uint32_t x = 0; x < width && !rgba.empty(); ++x)
            put32be(&raw, rgba[y * width + x]);
    }
    std::uint32_t a = 1, b = 0;
    for (unsigned char byte : raw)
        a = (a + byte) % 65521, b = (b + a) % 65521;
    std::string zlib = "\x78\x01\x01";
    put_le(&zlib, static_cast<std::uint32_t>(raw.size()), 2);
    put_le(&zlib, static_cast<std::uint32_t>(~raw.size()), 2);
    zlib += raw;
    put32be(&zlib, (b << 16) | a);
    std::string header;
    put32be(&header, width);
    put32be(&header, height);
    header += std::string("\x08\x06\x00\x00\x00", 5);
    std::string file = "\x89PNG\r\n\x1a\n";
    png_chunk(&file, "IHDR", header);
    png_chunk(&file, "IDAT", zlib);
    png_chunk(&file, "IEND", "");
    return file;
}

// A 24-bit bottom-up BMP; `bgr` holds the rows top-down.
std::string bmp_file(std::int32_t width, std::int32_t height, const std::vector<std::uint32_t>& rgb)
{
    std::uint32_t stride = (static_cast<std::uint32_t>(width) * 3 + 3) & ~3u;
    std::string file = "BM";
    put_le(&file, 54 + stride * static_cast<std::uint32_t>(height), 4);
    put_le(&file, 0, 4);
    put_le(&file, 54, 4);
    put_le(&file, 40, 4);
    put_le(&file, static_cast<std::uint32_t>(width), 4);
    put_le(&file, static_cast<std::uint32_t>(height), 4);
    put_le(&file, 1, 2);
    put_le(&file, 24, 2);
    file += std::string(24, '\0');
    for (std::int32_t y = height - 1; y >= 0 && !rgb.empty(); --y) {
        for (std::int32_t x = 0; x < width; ++x)
            put_le(&file, rgb[static_cast<std::size_t>(y * width + x)], 3);
        file += std::string(stride - static_cast<std::uint32_t>(width) * 3, '\0');
    }
    return file;
}

// A GIF with a 4-colour table; a clear code after every two pixels keeps the codes 3 bits wide.
std::string gif_file(int width, int height, const std::vector<int>& indexes, const std::uint32_t palette[4])
{
    std::string file = "GIF89a";
    put_le(&file, static_cast<std::uint32_t>(width), 2);
    put_le(&file, static_cast<std::uint32_t>(height), 2);
    file += std::string("\x81\x00\x00", 3);
    for (int i = 0; i < 4; ++i)
        put_le(&file, palette[i], 3);  // 0x00BBGGRR: red first
    file += ",";
    put_le(&file, 0, 4);
    put_le(&file, static_cast<std::uint32_t>(width), 2);
    put_le(&file, static_cast<std::uint32_t>(height), 2);
    file += std::string("\x00\x02", 2);
    std::vector<int> codes;
    for (std::size_t i = 0; i < indexes.size(); ++i) {
        if (i % 2 == 0)
            codes.push_back(4);
        codes.push_back(indexes[i]);
    }
    codes.push_back(5);
    std::string data;
    std::uint32_t bits = 0;
    int count = 0;
    for (int code : codes) {
        bits |= static_cast<std::uint32_t>(code) << count;
        for (count += 3; count >= 8; count -= 8, bits >>= 8)
            data.push_back(static_cast<char>(bits));
    }
    if (count > 0)
        data.push_back(static_cast<char>(bits));
    file.push_back(static_cast<char>(data.size()));
    file += data + std::string("\x00;", 2);
    return file;
}

DWORD gdi_objects()
{
    return GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS);
}

// Every pixel of the image, through drawing.
std::vector<std::uint32_t> pixels_of(ObjectNumber image)
{
    std::vector<std::uint32_t> pixels;
    draw_begin_image(image);
    for (int y = 0; y < image_height(image); ++y)
        for (int x = 0; x < image_width(image); ++x)
            pixels.push_back(draw_read_pixel(x, y));
    draw_end();
    return pixels;
}

class ImageTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(image_start() && font_start()); }
    void TearDown() override { image_free(GK_ANY); }

    std::u16string write(const char16_t* name, const std::string& bytes)
    {
        std::u16string path = folder / name;
        EXPECT_TRUE(raw_write(path, bytes));
        return path;
    }

    TempFolder folder{"qn-images"};
};

TEST_F(ImageTest, FilesOfEachFormatLoadWithTheirSizeAndPixels)
{
    // PNG: left half opaque red, right half transparent.
    ObjectNumber png = image_load(GK_ANY, write(u"half.png", png_file(4, 2, {0xFF0000FF, 0xFF0000FF, 0, 0,
                                                                            0xFF0000FF, 0xFF0000FF, 0, 0})).c_str());
    ASSERT_NE(png, 0);
    EXPECT_EQ(image_width(png), 4);
    EXPECT_EQ(image_height(png), 2);
    EXPECT_EQ(pixels_of(png), (std::vector<std::uint32_t>{OPAQUE_RED, OPAQUE_RED, 0, 0, OPAQUE_RED, OPAQUE_RED, 0, 0}));

    std::vector<std::uint32_t> rgb = {0x0000FF, 0x00FF00, 0xFF0000, 0x123456, 0xFFFFFF, 0x000000};
    ObjectNumber handle = image_load(7, write(u"six.bmp", bmp_file(3, 2, rgb)).c_str());
    ASSERT_EQ(handle, reinterpret_cast<ObjectNumber>(image_bitmap(7)));
    std::vector<std::uint32_t> expected;
    for (std::uint32_t color : rgb)  // 0xRRGGBB in the file, 0xAABBGGRR read back
        expected.push_back(0xFF000000 | ((color & 0xFF) << 16) | (color & 0xFF00) | (color >> 16));
    EXPECT_EQ(pixels_of(7), expected);

    const std::uint32_t palette[4] = {0x0000FF, 0x00FF00, 0xFF0000, 0xFFFFFF};
    ObjectNumber gif = image_load(GK_ANY, write(u"four.gif", gif_file(3, 2, {0, 1, 2, 3, 2, 1}, palette)).c_str());
    ASSERT_NE(gif, 0);
    EXPECT_EQ(pixels_of(gif), (std::vector<std::uint32_t>{0xFF0000FF, 0xFF00FF00, 0xFFFF0000, 0xFFFFFFFF,
                                                           0xFFFF0000, 0xFF00FF00}));

    // JPEG from the platform's own encoder: four flat quarters, within a small tolerance.
    ObjectNumber quarters = image_create(GK_ANY, 32, 32, 0x0000FF);
    draw_begin_image(quarters);
    draw_rectangle(16, 0, 16, 32, 0xFF0000);
    draw_end();
    ASSERT_EQ(image_save(quarters, (folder / u"q.jpg").c_str(), IMAGE_JPEG, 100), 1);
    ObjectNumber jpeg = image_load(GK_ANY, (folder / u"q.jpg").c_str());
    ASSERT_EQ(image_width(jpeg), 32);
    std::vector<std::uint32_t> original = pixels_of(quarters), loaded = pixels_of(jpeg);
    for (int i : {0, 5 * 32 + 3, 20 * 32 + 27, 31 * 32 + 31})
        for (int shift = 0; shift < 32; shift += 8)
            EXPECT_NEAR(static_cast<int>((loaded[i] >> shift) & 0xFF), static_cast<int>((original[i] >> shift) & 0xFF), 12);
}

TEST_F(ImageTest, SavedPngAndBmpLoadBackPixelForPixel)
{
    ObjectNumber image = image_create(GK_ANY, 9, 7, IMAGE_TRANSPARENT);
    draw_begin_image(image);
    draw_rectangle(0, 0, 5, 7, 0x336699);
    draw_pixel(8, 6, 0x00FF00);
    draw_end();
    ASSERT_EQ(image_save(image, (folder / u"a.png").c_str(), IMAGE_PNG), 1);
    ASSERT_NE(image_load(1, (folder / u"a.png").c_str()), 0);
    EXPECT_EQ(pixels_of(1), pixels_of(image));

    ObjectNumber opaque = image_create(GK_ANY, 5, 3, 0xFFFFFF);
    draw_begin_image(opaque);
    draw_line(0, 0, 4, 2, 0x0000FF);
    draw_end();
    ASSERT_EQ(image_save(opaque, (folder / u"a.bmp").c_str(), IMAGE_BMP), 1);
    ASSERT_NE(image_load(2, (folder / u"a.bmp").c_str()), 0);
    EXPECT_EQ(pixels_of(2), pixels_of(opaque));

    EXPECT_EQ(image_save(opaque, (folder / u"a.xyz").c_str(), 99), 0);
    EXPECT_FALSE(raw_exists(folder / u"a.xyz"));
    EXPECT_EQ(image_save(opaque, (folder / u"missing\\a.png").c_str(), IMAGE_PNG), 0);
    EXPECT_EQ(image_save(12345, (folder / u"b.png").c_str(), IMAGE_PNG), 0);
}

namespace {

// The disk fills after this many more bytes (ERROR_DISK_FULL, as a real full disk gives).
std::int64_t g_room = 0;

BOOL WINAPI write_until_full(HANDLE file, LPCVOID bytes, DWORD length, LPDWORD written, LPOVERLAPPED overlapped)
{
    if (static_cast<std::int64_t>(length) > g_room) {
        *written = 0;
        SetLastError(ERROR_DISK_FULL);
        return FALSE;
    }
    g_room -= length;
    return WriteFile(file, bytes, length, written, overlapped);
}

}  // namespace

// A save that fails at any point (a full disk, the encoder) leaves the old picture byte for
// byte and no other file; a save that succeeds replaces it whole.
TEST_F(ImageTest, AFailedSaveKeepsTheOldFile)
{
    // Taller than one strip of rows that a save hands over at a time.
    ObjectNumber image = image_create(GK_ANY, 64, 150, 0x336699);
    draw_begin_image(image);
    draw_pixel(63, 149, 0x00FF00);
    draw_end();
    std::u16string path = folder / u"keep.png";
    ASSERT_EQ(image_save(image, path.c_str(), IMAGE_BMP), 1);
    const std::string old = raw_read(path);
    ASSERT_GT(old.size(), 1000u);
    const FileSystemOps full = {nullptr, write_until_full, nullptr};
    file_set_system_ops(&full);
    for (std::int64_t room : {0, 100, 4000}) {
        g_room = room;
        EXPECT_EQ(image_save(image, path.c_str(), IMAGE_BMP), 0) << room;
    }
    file_set_system_ops(nullptr);
    EXPECT_EQ(raw_read(path), old);
    image_set_save_limit(200);
    EXPECT_EQ(image_save(image, path.c_str(), IMAGE_PNG), 0);
    image_set_save_limit(0);
    EXPECT_EQ(raw_read(path), old);
    EXPECT_EQ(raw_names(folder.path), std::vector<std::u16string>{u"keep.png"});
    ASSERT_EQ(image_save(image, path.c_str(), IMAGE_PNG), 1);
    EXPECT_NE(raw_read(path), old);
    EXPECT_EQ(raw_names(folder.path), std::vector<std::u16string>{u"keep.png"});
    ASSERT_NE(image_load(3, path.c_str()), 0);
    EXPECT_EQ(pixels_of(3), pixels_of(image));
}

// The component starts again after an end, and loads work again.
TEST_F(ImageTest, StartsAgainAfterAnEnd)
{
    ObjectNumber image = image_create(GK_ANY, 4, 4, 0x00FF00);
    ASSERT_EQ(image_save(image, (folder / u"a.png").c_str(), IMAGE_PNG), 1);
    image_end();
    ASSERT_EQ(image_start(), 1);
    ObjectNumber loaded = image_load(GK_ANY, (folder / u"a.png").c_str());
    ASSERT_NE(loaded, 0);
    EXPECT_EQ(image_width(loaded), 4);
}

TEST_F(ImageTest, ScaleAndCrop)
{
    ObjectNumber pair = image_create(GK_ANY, 2, 1, 0x0000FF);
    draw_begin_image(pair);
    draw_pixel(1, 0, 0xFF0000);
    draw_end();
    ASSERT_EQ(image_scale(pair, 4, 2, IMAGE_SCALE_NEAREST), 1);
    std::uint32_t blue = 0xFFFF0000;
    EXPECT_EQ(pixels_of(pair), (std::vector<std::uint32_t>{OPAQUE_RED, OPAQUE_RED, blue, blue, OPAQUE_RED, OPAQUE_RED, blue, blue}));
    ASSERT_EQ(image_scale(pair, 9, 3, IMAGE_SCALE_SMOOTH), 1);
    for (std::uint32_t pixel : pixels_of(pair))
        EXPECT_NEAR(static_cast<int>((pixel & 0xFF) + ((pixel >> 16) & 0xFF)), 255, 2) << std::hex << pixel;
    EXPECT_EQ(image_scale(pair, 0, 3, IMAGE_SCALE_SMOOTH), 0);
    EXPECT_EQ(image_scale(pair, 100000, 100000, IMAGE_SCALE_SMOOTH), 0);
    EXPECT_EQ(image_width(pair), 9);

    ObjectNumber part = image_crop(GK_ANY, pair, 7, -1, 4, 2);
    ASSERT_NE(part, 0);
    EXPECT_EQ(pixels_of(part), (std::vector<std::uint32_t>{0, 0, 0, 0, blue, blue, 0, 0}));
    EXPECT_EQ(image_crop(GK_ANY, 4242, 0, 0, 2, 2), 0);
    EXPECT_EQ(image_create(GK_ANY, 0, 5, 0), 0);
}

TEST_F(ImageTest, BadFilesGiveZeroAndLeaveNothing)
{
    std::string good = png_file(4, 2, std::vector<std::uint32_t>(8, 0xFF0000FF));
    std::string damaged = good;
    damaged[good.size() - 20] ^= 0x55;
    std::string huge_png = png_file(100000, 100000, {});
    std::vector<std::u16string> paths = {
        folder / u"missing.png", write(u"empty.png", ""), write(u"short.png", good.substr(0, 40)),
        write(u"damaged.png", damaged), write(u"text.png", "This is not an image at all.\r\n"),
        write(u"huge.png", huge_png), write(u"huge.bmp", bmp_file(100000, 100000, {})), folder.path};
    HANDLE big = CreateFileW(reinterpret_cast<LPCWSTR>((folder / u"big.png").c_str()), GENERIC_WRITE, 0, nullptr,
                             CREATE_ALWAYS, 0, nullptr);
    LARGE_INTEGER gib = {};
    gib.QuadPart = std::int64_t{1} << 30;
    ASSERT_TRUE(SetFilePointerEx(big, gib, nullptr, FILE_BEGIN) && SetEndOfFile(big));
    CloseHandle(big);
    paths.push_back(folder / u"big.png");

    DWORD objects = gdi_objects();
    for (const std::u16string& path : paths) {
        EXPECT_EQ(image_load(GK_ANY, path.c_str()), 0) << std::string(path.begin(), path.end());
        EXPECT_EQ(image_load(3, path.c_str()), 0);
        EXPECT_EQ(image_width(3), 0);
    }
    EXPECT_EQ(image_load(GK_ANY, nullptr), 0);
    EXPECT_EQ(image_count(), 0u);
    EXPECT_EQ(gdi_objects(), objects);
}

TEST_F(ImageTest, DrawingChangesOnlyItsPixelsAndClips)
{
    ObjectNumber image = image_create(GK_ANY, 30, 30, 0xFFFFFF);
    auto changed = [&] {
        int count = 0;
        for (std::uint32_t pixel : pixels_of(image))
            count += pixel != OPAQUE_WHITE;
        return count;
    };
    ASSERT_EQ(draw_begin_image(image), 1);
    draw_rectangle(5, 5, 10, 10, 0x0000FF);
    draw_end();
    EXPECT_EQ(changed(), 100);
    draw_begin_image(image);
    draw_rectangle(5, 5, 10, 10, 0xFFFFFF);
    draw_rectangle(-5, -5, 10, 10, 0x0000FF);
    draw_ellipse(20, 20, 40, 40, 0x00FF00);
    draw_line(-100, 29, 100, 29, 0xFF0000);
    draw_round_rectangle(-40, -40, 30, 30, 8, 0xFF0000);
    draw_ellipse(1 << 30, 1 << 30, 1 << 30, 1 << 30, 0xFF0000);
    EXPECT_EQ(draw_pixel(30, 0, 0), 0);
    EXPECT_EQ(draw_read_pixel(4, 4), OPAQUE_RED);
    EXPECT_EQ(draw_read_pixel(-1, 4), 0u);
    draw_end();
    std::vector<std::uint32_t> pixels = pixels_of(image);
    for (int y = 0; y < 30; ++y) {
        for (int x = 0; x < 30; ++x) {
            bool inside = (x < 5 && y < 5) || (x >= 20 && y >= 20) || y == 29;
            EXPECT_TRUE(inside || pixels[y * 30 + x] == OPAQUE_WHITE) << x << "," << y;
        }
    }

    // Shapes drawn on a transparent image come out opaque; the rest stays transparent.
    ObjectNumber clear = image_create(GK_ANY, 20, 20, IMAGE_TRANSPARENT);
    draw_begin_image(clear);
    draw_ellipse(0, 0, 20, 20, 0x000000);
    EXPECT_EQ(draw_read_pixel(10, 10), 0xFF000000u);
    EXPECT_EQ(draw_read_pixel(0, 0), 0u);
    draw_flood_fill(0, 0, 0x00FF00);
    EXPECT_EQ(draw_read_pixel(0, 0), 0xFF00FF00u);
    EXPECT_EQ(draw_read_pixel(10, 10), 0xFF000000u);
    draw_end();
    EXPECT_EQ(draw_pixel(0, 0, 0), 0);
}

TEST_F(ImageTest, TextStaysInsideItsMeasuredBoxAndImagesBlendByAlpha)
{
    ObjectNumber image = image_create(GK_ANY, 200, 60, 0xFFFFFF);
    ASSERT_EQ(draw_begin_image(image), 1);
    int width = draw_text_width(u"Quiet Ag|");
    int height = draw_text_height(u"Quiet Ag|");
    ASSERT_GT(width, 10);
    ASSERT_GT(height, 5);
    ASSERT_EQ(draw_text(7, 9, u"Quiet Ag|", 0x000000), 1);
    draw_end();
    std::vector<std::uint32_t> pixels = pixels_of(image);
    int inked = 0;
    for (int y = 0; y < 60; ++y) {
        for (int x = 0; x < 200; ++x) {
            if (pixels[y * 200 + x] == OPAQUE_WHITE)
                continue;
            ++inked;
            EXPECT_TRUE(x >= 7 && x < 7 + width && y >= 9 && y < 9 + height) << x << "," << y;
        }
    }
    EXPECT_GT(inked, 20);

    // An opaque back fills exactly the measured box.
    ObjectNumber back = image_create(GK_ANY, 200, 60, 0xFFFFFF);
    draw_begin_image(back);
    draw_text(7, 9, u"Quiet Ag|", 0x000000, 0x00FF00);
    draw_end();
    int filled = 0;
    for (std::uint32_t pixel : pixels_of(back))
        filled += pixel != OPAQUE_WHITE;
    EXPECT_EQ(filled, width * height);

    ObjectNumber font = font_load(GK_ANY, u"Verdana", 20);
    draw_begin_image(image);
    ASSERT_EQ(draw_set_font(font), 1);
    EXPECT_GT(draw_text_height(u"A"), height);
    EXPECT_EQ(draw_set_font(987654), 0);
    draw_set_font(GK_ANY);
    EXPECT_EQ(draw_text_height(u"A"), height);

    // Half-transparent red over white, drawn at twice its size.
    ObjectNumber half = image_load(GK_ANY, write(u"h.png", png_file(1, 1, {0xFF000080})).c_str());
    ASSERT_EQ(draw_image(half, 150, 40, 2, 2), 1);
    draw_image(half, -1, -1);
    EXPECT_EQ(draw_read_pixel(151, 41), 0xFF7F7FFFu);
    EXPECT_EQ(draw_read_pixel(152, 41), OPAQUE_WHITE);
    EXPECT_EQ(draw_read_pixel(0, 0), OPAQUE_WHITE);
    draw_end();
    font_free(font);
}

// 10,000 images made, drawn on and freed, and 1,000 failed loads, leave the GDI objects and
// the image records as they were (a leak would also exhaust Wine's handle table and fail).
TEST_F(ImageTest, ThousandsOfImagesAndFailedLoadsLeaveNothingBehind)
{
    std::u16string bad = write(u"bad.png", "\x89PNG\r\n\x1a\nnot really");
    DWORD objects = gdi_objects();
    for (int i = 0; i < 10000; ++i) {
        ObjectNumber image = image_create(i % 2 ? GK_ANY : 5, 16, 16, 0xFFFFFF);
        ASSERT_NE(image, 0) << i;
        ObjectNumber number = i % 2 ? image : 5;
        ASSERT_EQ(draw_begin_image(number), 1);
        draw_ellipse(1, 1, 10, 10, 0xFF00FF);
        draw_text(0, 0, u"x", 0);
        draw_end();
        ASSERT_EQ(image_free(number), 1);
    }
    for (int i = 0; i < 1000; ++i)
        ASSERT_EQ(image_load(i % 2 ? GK_ANY : 6, bad.c_str()), 0);
    EXPECT_EQ(image_count(), 0u);
    EXPECT_EQ(gdi_objects(), objects);
}

}  // namespace
