// The third check-box state of the list icon and the tree: the platform's state image list
// holds only unchecked and checked, so a greyed check is drawn and added as image 3.
#pragma once

#include <windows.h>

#include <commctrl.h>

// Adds the greyed check as the image at `third_index` when the list holds no image there
// yet (a list view counts its state images from 0, a tree view from 1); false on failure.
bool check_images_add_third(HIMAGELIST list, int third_index);
