// The shortcut entry's value apart from any window. The program's value is a window shortcut's
// key: the virtual key code plus SHORTCUT_SHIFT, SHORTCUT_CONTROL and SHORTCUT_ALT (0 is no
// shortcut). The platform control keeps the key in its low byte and the modifier flags 1
// (Shift), 2 (Control) and 4 (Alt) in the next one.
#pragma once

// The platform control's value for a program's value: the key's low 16 bits with 0x100,
// 0x200 and 0x400 for the three modifiers.
int shortcut_value_to_platform(int shortcut);
// The program's value for a platform control's value: 0 without a key; other flag bits drop.
int shortcut_value_from_platform(int platform);

// Keys that the platform control does not take as a shortcut itself (Tab, Return, Escape,
// Space, Delete): the entry takes them for its value.
bool shortcut_value_takes_key(int key);

// Whether a notification of the platform control raises an event: a focus or change code
// (bit 0x100 or 0x200), while the control holds a key or nothing at all. Modifiers alone,
// whether in the value or only held down, raise nothing.
bool shortcut_value_reported(int code, int platform, bool modifier_held);
