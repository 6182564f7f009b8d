#include "toolkit/controls/shortcut_value.h"

namespace {

// The program's modifier bits, as the window shortcuts use them.
constexpr int SHIFT = 0x10000;
constexpr int CONTROL = 0x20000;
constexpr int ALT = 0x40000;

// The platform control's modifier flags, in the value's second byte.
constexpr int PLATFORM_SHIFT = 0x100;
constexpr int PLATFORM_CONTROL = 0x200;
constexpr int PLATFORM_ALT = 0x400;

constexpr int KEY_TAB = 0x09;
constexpr int KEY_RETURN = 0x0D;
constexpr int KEY_ESCAPE = 0x1B;
constexpr int KEY_SPACE = 0x20;
constexpr int KEY_DELETE = 0x2E;

constexpr int FOCUS_OR_CHANGE_CODES = 0x300;

}  // namespace

int shortcut_value_to_platform(int shortcut)
{
    int platform = shortcut & 0xFFFF;
    if (shortcut & SHIFT)
        platform |= PLATFORM_SHIFT;
    if (shortcut & CONTROL)
        platform |= PLATFORM_CONTROL;
    if (shortcut & ALT)
        platform |= PLATFORM_ALT;
    return platform;
}

int shortcut_value_from_platform(int platform)
{
    int key = platform & 0xFF;
    if (key == 0)
        return 0;
    int flags = (platform >> 8) & 0xFF;
    return key | ((flags & 1) ? SHIFT : 0) | ((flags & 2) ? CONTROL : 0) | ((flags & 4) ? ALT : 0);
}

bool shortcut_value_takes_key(int key)
{
    return key == KEY_TAB || key == KEY_RETURN || key == KEY_ESCAPE || key == KEY_SPACE || key == KEY_DELETE;
}

bool shortcut_value_reported(int code, int platform, bool modifier_held)
{
    if (!(code & FOCUS_OR_CHANGE_CODES))
        return false;
    if (platform & 0xFF)
        return true;
    return (platform & 0xFFFF) == 0 && !modifier_held;
}
