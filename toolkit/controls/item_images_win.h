// The images shown beside the items of the list icon, the tree and the combo box: each
// control owns one platform image list, made on first use, holding a copy of each image's
// pixels with their alpha, so freeing the image later leaves the items as they were.
#pragma once

#include "core/object.h"
#include "toolkit/controls/list_logic.h"

#include <windows.h>

#include <commctrl.h>

struct ItemImages {
    HIMAGELIST list = nullptr;
    ItemImageMap indexes;

    ItemImages() = default;
    ItemImages(const ItemImages&) = delete;
    ItemImages& operator=(const ItemImages&) = delete;
    ~ItemImages();
};

// The index in images->list that shows the image, adding a copy the first time. The list is
// made on the first image, its icons sized by that image, and given to the control's window
// once it holds that image, by sending `attach` with `which` (LVM_SETIMAGELIST and
// LVSIL_SMALL, say). I_IMAGENONE for a value that names no image or when the copy cannot
// be made.
int item_images_index(ItemImages* images, ObjectNumber image, HWND window, UINT attach, WPARAM which);
