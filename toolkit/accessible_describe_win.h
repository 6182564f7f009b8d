// A control as a screen reader describes it: role, name, state and keyboard shortcut, read
// from its platform window.
#pragma once

#include <windows.h>

#include <string>

LONG accessible_role(HWND control);
// Its own text for buttons, frames and labels; else the text of the label made just before it;
// else the role's own name, so that no control goes unnamed.
std::u16string accessible_name(HWND control);
LONG accessible_state(HWND control);
// "Alt+S" for a text that marks S, else "".
std::u16string accessible_shortcut(HWND control);
// The platform's text for a role ("push button"), "" when oleacc is missing.
std::u16string accessible_role_text(LONG role);
