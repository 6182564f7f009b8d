// What a screen reader learns of a control: the answer to WM_GETOBJECT. A platform control
// whose standard proxy gives a role and a name is left to that proxy; every other control (the
// toolkit's own classes, and any control where the platform's proxies are missing, as under
// Wine) gets an object of its own with a role from its class and a name from its own text or,
// for a field, from the label made just before it, the mnemonic's "&" left out.
#pragma once

#include "toolkit/control.h"

#include <windows.h>

// The answer to WM_GETOBJECT sent to the control's window.
LRESULT accessible_get_object(ControlRecord* record, WPARAM wparam, LPARAM lparam);
