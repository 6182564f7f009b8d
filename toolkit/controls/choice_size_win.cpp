#include "toolkit/controls/choice_size.h"

#include "toolkit/control_internal.h"
#include "toolkit/scale.h"

namespace {

constexpr int MARK_WIDTH = 20;
constexpr int TEXT_PADDING = 2;
constexpr int MIN_HEIGHT = 20;

}  // namespace

int choice_natural_size(ControlRecord* record, int* width, int* height)
{
    if (!control_measure_text(record, control_window_text(record), false, width, height))
        return 0;
    *width += scale_control_pixels(record, MARK_WIDTH);
    *height += scale_control_pixels(record, TEXT_PADDING);
    if (*height < scale_control_pixels(record, MIN_HEIGHT))
        *height = scale_control_pixels(record, MIN_HEIGHT);
    return 1;
}
