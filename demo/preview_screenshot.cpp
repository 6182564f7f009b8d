#include "demo/preview_screenshot.h"

#include "dialog/dialog.h"
#include "images/image.h"
#include "services/text_convert.h"
#include "toolkit/geometry.h"
#include "toolkit/window.h"

#include <windows.h>

#include <cwchar>

namespace {

// How long the window is given to lay out and paint before it is copied.
constexpr ULONGLONG SETTLE_MS = 400;
constexpr int LARGEST_SIDE = 32767;

void settle(HWND window)
{
    RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    const ULONGLONG until = GetTickCount64() + SETTLE_MS;
    while (GetTickCount64() < until)
        event_wait(20);
    RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    GdiFlush();
}

// GDI leaves the alpha of what it copies at 0; the picture is opaque.
void make_opaque(ObjectNumber image)
{
    DIBSECTION section = {};
    if (!GetObjectW(image_bitmap(image), sizeof section, &section) || !section.dsBm.bmBits)
        return;
    auto* bytes = static_cast<unsigned char*>(section.dsBm.bmBits);
    const std::size_t pixels = static_cast<std::size_t>(image_width(image)) * image_height(image);
    for (std::size_t i = 0; i < pixels; ++i)
        bytes[4 * i + 3] = 0xFF;
}

// The window's inner area as drawn, children and all: read from the window's own surface
// (a device context that does not clip the children), so that nothing on the screen over it
// and no part of it off the screen matters.
bool copy_inner_area(HWND window, ObjectNumber image)
{
    HDC source = GetDCEx(window, nullptr, DCX_CACHE);
    HDC memory = CreateCompatibleDC(source);
    HGDIOBJ old = SelectObject(memory, static_cast<HBITMAP>(image_bitmap(image)));
    const bool copied = BitBlt(memory, 0, 0, image_width(image), image_height(image), source, 0, 0, SRCCOPY);
    SelectObject(memory, old);
    DeleteDC(memory);
    ReleaseDC(window, source);
    GdiFlush();
    return copied;
}

}  // namespace

bool preview_parse_size(const wchar_t* argument, PreviewSize* size)
{
    int width = 0;
    int height = 0;
    wchar_t rest = 0;
    if (std::swscanf(argument, L"%dx%d%lc", &width, &height, &rest) != 2)
        return false;
    if (width < 1 || height < 1 || width > LARGEST_SIDE || height > LARGEST_SIDE)
        return false;
    *size = {width, height};
    return true;
}

void preview_size_apply(ObjectNumber dialog, PreviewSize size)
{
    if (size.width > 0)
        window_resize(dialog_window(dialog), UNCHANGED, UNCHANGED, size.width, size.height);
}

bool preview_screenshot(ObjectNumber dialog, const std::u16string& path, std::string* message)
{
    auto* window = static_cast<HWND>(window_os_handle(dialog_window(dialog)));
    SetWindowPos(window, HWND_TOP, 0, 0, 0, 0, SWP_NOSIZE | SWP_SHOWWINDOW);
    SetForegroundWindow(window);
    settle(window);
    RECT inner = {};
    GetClientRect(window, &inner);
    ObjectNumber image = image_create(GK_ANY, inner.right, inner.bottom, 0);
    bool saved = image && copy_inner_area(window, image);
    if (saved) {
        make_opaque(image);
        saved = image_save(image, path.c_str(), IMAGE_PNG) == 1;
    }
    image_free(image);
    if (!saved)
        *message = "The picture could not be written: " + utf16_to_utf8(path.c_str());
    return saved;
}
