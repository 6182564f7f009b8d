// The platform window of a control record, for the Windows files of the control kinds.
#pragma once

#include "toolkit/control.h"

#include <windows.h>

inline HWND control_hwnd(const ControlRecord* record)
{
    return static_cast<HWND>(record->handle);
}

inline LRESULT control_send(const ControlRecord* record, UINT message, WPARAM wparam = 0, LPARAM lparam = 0)
{
    return SendMessageW(control_hwnd(record), message, wparam, lparam);
}
