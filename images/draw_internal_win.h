// Shared between the Windows files of drawing.
#pragma once

#include "images/draw.h"

#include <windows.h>

struct DrawTarget {
    bool active;
    PixelSurface surface;
    HBITMAP bitmap;             // the target's bitmap, selected into `context` while it is made
    HDC context;                // memory context, made on the first platform drawing
    HGDIOBJ previous_bitmap;    // what `context` held before the target's bitmap
    ObjectNumber font;          // 0: the preset font of draw_set_fonts
    void (*finished)(void*);
    void* finished_context;
};

// The drawing under way, or null.
DrawTarget* draw_target();
// The memory context with the target selected, or null.
HDC draw_context(DrawTarget* state);
