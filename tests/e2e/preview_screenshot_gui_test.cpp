// DialogPreview --screenshot: the example at a fixed size becomes a PNG of that size whose
// pixels, where the engine places the hyperlink and the image, show the link's colour and
// the picture's own pixels. The places come from opening the example here, the same way.
#include "journal_helpers.h"
#include "preview_process.h"

#include "dialog/dialog.h"
#include "images/image.h"
#include "services/file.h"
#include "tests/support/gui_input.h"
#include "tests/support/temp_folder.h"
#include "toolkit/control.h"
#include "toolkit/controls/image_control.h"
#include "toolkit/event.h"
#include "toolkit/event_window.h"
#include "toolkit/geometry.h"
#include "toolkit/window.h"
#include "xml/xml.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>

namespace {

constexpr int WIDTH = 900;
constexpr int HEIGHT = 640;

// Opaque pixels as 0xRRGGBB, read from a loaded image (opaque pixels are not changed by
// the premultiplied alpha).
struct Pixels {
    explicit Pixels(ObjectNumber loaded) : image(loaded)
    {
        DIBSECTION section = {};
        if (image && GetObjectW(image_bitmap(image), sizeof section, &section))
            bits = static_cast<const std::uint8_t*>(section.dsBm.bmBits);
    }
    ~Pixels() { image_free(image); }
    std::uint32_t at(int x, int y) const
    {
        const std::uint8_t* pixel = bits + 4 * (static_cast<std::size_t>(y) * image_width(image) + x);
        return (pixel[3] << 24) | (pixel[2] << 16) | (pixel[1] << 8) | pixel[0];
    }
    // Pixels of the colour (alpha included) inside the rectangle.
    int count(const RECT& area, std::uint32_t colour) const
    {
        int found = 0;
        for (int y = area.top; y < area.bottom; ++y)
            for (int x = area.left; x < area.right; ++x)
                found += at(x, y) == colour;
        return found;
    }
    ObjectNumber image;
    const std::uint8_t* bits = nullptr;
};

// Where the control lies in its window's inner area.
RECT place_of(ObjectNumber dialog, const char16_t* name)
{
    RECT area = {};
    auto* control = static_cast<HWND>(control_os_handle(dialog_control(dialog, name)));
    GetWindowRect(control, &area);
    MapWindowPoints(nullptr, static_cast<HWND>(window_os_handle(dialog_window(dialog))),
                    reinterpret_cast<POINT*>(&area), 2);
    return area;
}

std::u16string beside_preview(const wchar_t* name)
{
    const std::wstring path = build_file(L"demo\\") + name;
    return std::u16string(path.begin(), path.end());
}

TEST(PreviewScreenshot, TheExampleAtAFixedSizeShowsTheLinksColourAndThePicture)
{
    ASSERT_TRUE(event_start() && event_window_start() && file_start() && xml_start() && dialog_start() &&
                control_start() && window_start() && image_start());
    TempFolder folder("qn-shot");
    const std::u16string shot = folder / u"shot.png";
    Preview preview(L"--size " + std::to_wstring(WIDTH) + L"x" + std::to_wstring(HEIGHT) + L" --screenshot \"" +
                    std::wstring(shot.begin(), shot.end()) + L"\" --image image=example_image.png example_dialog.xml");
    ASSERT_TRUE(preview.started());
    ASSERT_EQ(preview.exit_code(30000), 0) << preview.output();

    Pixels picture(image_load(GK_ANY, shot.c_str()));
    ASSERT_NE(picture.bits, nullptr);
    EXPECT_EQ(image_width(picture.image), WIDTH);
    EXPECT_EQ(image_height(picture.image), HEIGHT);

    // The same window here, laid out as the preview lays it out.
    const std::string bytes = raw_read(beside_preview(L"example_dialog.xml"));
    ASSERT_FALSE(bytes.empty());
    const std::u16string text(bytes.begin(), bytes.end());
    ObjectNumber document = xml_parse_string(GK_ANY, text.c_str());
    ObjectNumber dialog = dialog_create(GK_ANY);
    ASSERT_EQ(dialog_open(dialog, document, nullptr), 1);
    Pixels source(image_load(GK_ANY, beside_preview(L"example_image.png").c_str()));
    control_set_attribute(dialog_control(dialog, u"image"), IMAGE_ATTRIBUTE_PICTURE, source.image);
    dialog_refresh(dialog);
    window_resize(dialog_window(dialog), UNCHANGED, UNCHANGED, WIDTH, HEIGHT);

    // The link's colour 16711680 (blue, as the platform writes colours) in its underlined text.
    const RECT link = place_of(dialog, u"link");
    EXPECT_GT(picture.count(link, 0xFF0000FF), 0);
    // Every opaque grass and sun pixel of the picture, where the image control is, and none
    // anywhere else.
    const RECT image = place_of(dialog, u"image");
    const RECT whole_source = {0, 0, image_width(source.image), image_height(source.image)};
    const RECT whole_shot = {0, 0, WIDTH, HEIGHT};
    for (std::uint32_t colour : {0xFF3C963Cu, 0xFFFAC828u}) {
        const int in_file = source.count(whole_source, colour);
        EXPECT_GT(in_file, 10);
        EXPECT_EQ(picture.count(image, colour), in_file) << std::hex << colour;
        EXPECT_EQ(picture.count(whole_shot, colour), in_file) << std::hex << colour;
    }
    dialog_free(dialog);
    xml_free(document);
}

}  // namespace
