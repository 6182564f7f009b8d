// A click on a combo box built on the platform's extended combo box: that box takes any mouse
// move between press and release, even one that stays on the pressed pixel (the system reports
// such moves when windows change under the pointer), for the start of dragging the item's
// image, and the click then neither takes the focus nor opens the list.
#pragma once

#include <windows.h>

// Keeps moves within the system's drag distance of the press from the extended box `combo_ex`,
// so that a press and release there is a click. Without memory for it the box goes on as the
// platform makes it.
void combo_keep_clicks(HWND combo_ex);
