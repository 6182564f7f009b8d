#include "toolkit/controls/canvas.h"

namespace {

constexpr const char* NAMES[] = {
    "EVENTTYPE_CANVAS_LEFT_DOWN",         "EVENTTYPE_CANVAS_LEFT_UP",   "EVENTTYPE_CANVAS_RIGHT_DOWN",
    "EVENTTYPE_CANVAS_RIGHT_UP",          "EVENTTYPE_CANVAS_LEFT_DOUBLE_CLICK",
    "EVENTTYPE_CANVAS_RIGHT_DOUBLE_CLICK", "EVENTTYPE_CANVAS_MOVE",      "EVENTTYPE_CANVAS_WHEEL",
    "EVENTTYPE_CANVAS_KEY_DOWN",          "EVENTTYPE_CANVAS_KEY_UP",    "EVENTTYPE_CANVAS_CHARACTER",
};

}  // namespace

const char* canvas_event_name(int type)
{
    int index = type - EVENTTYPE_CANVAS_LEFT_DOWN;
    return index >= 0 && index < static_cast<int>(sizeof(NAMES) / sizeof(NAMES[0])) ? NAMES[index] : nullptr;
}
