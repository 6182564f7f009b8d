// The spin control's arithmetic, apart from any window: where the field and its arrows go,
// and where a step of the arrows leads.
#pragma once

// The arrows are never narrower than this at 96 dots per inch; the control scales it.
constexpr int SPIN_MIN_ARROWS_WIDTH = 18;

struct SpinPlacement {
    int field_x, field_y, field_width, field_height;
    int arrows_x, arrows_y, arrows_width, arrows_height;
};

// The arrows' width for a control of the height: half of it, at least `least`.
int spin_arrows_width(int height, int least = SPIN_MIN_ARROWS_WIDTH);

// How far the field reaches under the arrows: 1 with visual styles, 2 without.
int spin_overlap(bool visual_styles);

// The field at (x, y), width - arrows + overlap wide, and the arrows at the right end of the
// rectangle. Sizes never go below 0 and positions saturate instead of overflowing.
SpinPlacement spin_place(int x, int y, int width, int height, bool visual_styles,
                         int least_arrows = SPIN_MIN_ARROWS_WIDTH);

// The width the whole control reports for its field and arrows widths: the rectangle it was
// placed in.
int spin_width(int field_width, int arrows_width, bool visual_styles);

// The position after a step of the arrows from `position`: moved by `step` and kept within
// the range, whichever of its ends is the larger; no overflow at the int limits.
int spin_step(int position, int step, int minimum, int maximum);
