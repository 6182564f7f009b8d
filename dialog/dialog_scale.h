// A definition's sizes are pixels at 96 dots per inch. The tree keeps what the layout
// reads in device pixels; this remembers the definition's own values, so that the tree can
// be given them for any resolution, again and again, without rounding piling up.
#pragma once

#include "dialog/dialog_element.h"

#include <vector>

// The pixel values of one element as the definition gave them.
struct DesignValues {
    DialogElement* element = nullptr;
    int width = 0;
    int height = 0;
    int spacing[2] = {};                 // box spacing, or the grid's column and row spacing
    int margins[4] = {};                 // top, bottom, left, right
    int expand_limits[2] = {};           // width, height
    int inner[2] = {};                   // scrollarea inner width and height
    int step = 0;
    int bounds[4] = {};                  // window minimum and maximum width and height
    int minimums[2] = {};                // splitter
};

struct DialogScale {
    int dpi = 96;
    std::vector<DesignValues> design;
};

// Remembers the design values of every element of the tree; the tree stands at 96.
void dialog_scale_capture(DialogScale* scale, const DialogTree& tree);

// Writes the design values scaled to the resolution into the tree. A grid's remembered
// column widths and row heights are forgotten when the resolution changes, since they were
// measured at the old one.
void dialog_scale_apply(DialogScale* scale, int dpi);

// The built-in sizes of the layout (label nudge, frame insets, scroll bar room, borders,
// splitter bars) scaled to the resolution, in a host.
void dialog_scale_measures(LayoutHost* host, int dpi);
