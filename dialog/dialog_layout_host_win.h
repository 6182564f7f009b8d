// The layout's questions answered by the real controls and windows.
#pragma once

#include "dialog/layout.h"

// A host that measures, places and bounds through the controls and windows layers, with
// the system measures and built-in sizes for the resolution.
LayoutHost dialog_layout_host(int dpi);
