#include "toolkit/controls/check_images.h"

namespace {

// Draws the greyed check on a white-backed bitmap of the list's image size.
HBITMAP draw_third(HDC screen, int width, int height)
{
    HDC context = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, width, height);
    if (!context || !bitmap) {
        DeleteDC(context);
        DeleteObject(bitmap);
        return nullptr;
    }
    HGDIOBJ old = SelectObject(context, bitmap);
    RECT all = {0, 0, width, height};
    FillRect(context, &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    RECT box = {1, 1, width - 1, height - 1};
    DrawFrameControl(context, &box, DFC_BUTTON, DFCS_BUTTONCHECK | DFCS_CHECKED | DFCS_INACTIVE | DFCS_FLAT);
    SelectObject(context, old);
    DeleteDC(context);
    return bitmap;
}

}  // namespace

bool check_images_add_third(HIMAGELIST list, int third_index)
{
    if (!list || ImageList_GetImageCount(list) < third_index)
        return false;
    if (ImageList_GetImageCount(list) > third_index)
        return true;
    int width = 0;
    int height = 0;
    ImageList_GetIconSize(list, &width, &height);
    HDC screen = GetDC(nullptr);
    HBITMAP bitmap = draw_third(screen, width, height);
    ReleaseDC(nullptr, screen);
    if (!bitmap)
        return false;
    int added = ImageList_Add(list, bitmap, nullptr);
    DeleteObject(bitmap);
    return added >= 0;
}
