#include "toolkit/controls/choice_size.h"

#include "toolkit/control_internal.h"

namespace {

constexpr int MARK_WIDTH = 20;
constexpr int TEXT_PADDING = 2;
constexpr int MIN_HEIGHT = 20;

}  // namespace

int choice_natural_size(ControlRecord* record, int* width, int* height)
{
    if (!control_measure_text(record, control_window_text(record), false, width, height))
        return 0;
    *width += MARK_WIDTH;
    *height += TEXT_PADDING;
    if (*height < MIN_HEIGHT)
        *height = MIN_HEIGHT;
    return 1;
}
